// The web links of both main windows: every menu command and link label reaches its
// page, the banner choice at start-up, and silence when no browser can be started.
#include "app/DetailsWindow.h"
#include "app/Program.h"
#include "braintest/TestWindow.h"
#include "braintest/quiz.h"
#include "fakes.h"
#include "web/AboutDialog.h"
#include "web/banners.h"
#include "web/pages.h"
#include "widgets.h"

#include <QLineEdit>
#include <QTimer>
#include <QtTest>

namespace {
const QString kBase = QStringLiteral("https://www.talvern.example/brenvo/ssd.php?page=");

bool inFront(const QWidget *a, const QWidget *b)
{
    const QObjectList &siblings = a->parentWidget()->children();
    return siblings.indexOf(const_cast<QWidget *>(a)) > siblings.indexOf(const_cast<QWidget *>(b));
}
} // namespace

class tst_web : public QObject
{
    Q_OBJECT
    fakes::Installed f{};

    QWidget *open(const QString &which)
    {
        DetailsWindow *details = fakes::program().details();
        details->show();
        if (which == QLatin1String("details"))
            return details;
        widgets::type(widgets::find<QLineEdit>(details, "txtName"), QStringLiteral("ann"));
        widgets::find<QRadioButton>(details, "optMale")->setChecked(true);
        QTest::mouseClick(widgets::find<QPushButton>(details, "cmdNext"), Qt::LeftButton);
        TestWindow *d = fakes::program().existingTestWindow();
        if (which == QLatin1String("result")) {
            for (int q = 0; q < 20; ++q) {
                widgets::find<QRadioButton>(d, "optAnswerOne")->setChecked(true);
                QTest::mouseClick(widgets::find<QPushButton>(d, "cmdNext"), Qt::LeftButton);
            }
        }
        return d;
    }

private slots:
    void initTestCase() { fakes::prepareApplication(); }
    void init() { f = fakes::resetProgram(); }
    void cleanup()
    {
        QCOMPARE(f.boxes->unscriptedBoxes, 0);
        fakes::resetProgram();
    }

    void openersHandOverTheirAddress_data()
    {
        QTest::addColumn<int>("link");
        QTest::addColumn<QString>("key");
        QTest::newRow("help") << int(forms::Link::Help) << "help-web-page";
        QTest::newRow("home") << int(forms::Link::Home) << "home-page";
        QTest::newRow("update") << int(forms::Link::Update) << "download-web-page";
        QTest::newRow("donate") << int(forms::Link::Donate) << "donate";
        QTest::newRow("full brand") << int(forms::Link::FullBrand) << "fully-branded";
        QTest::newRow("co-brand") << int(forms::Link::CoBrand) << "co-brand";
        QTest::newRow("softwares") << int(forms::Link::Softwares) << "talvernsoftwares";
    }
    void openersHandOverTheirAddress()
    {
        QFETCH(int, link);
        QFETCH(QString, key);
        pages::open(*f.browser, forms::Link(link));
        pages::open(*f.browser, forms::Link(link));
        QCOMPARE(f.browser->opened, QStringList({kBase + key, kBase + key}));
    }

    void everyLinkReachesItsPage_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("key");
        for (const char *w : {"details", "test"}) {
            QTest::addRow("%s Online Help", w) << w << "mnuOnline"
                                               << "help-web-page";
            QTest::addRow("%s Visit Us", w) << w << "mnuVisit"
                                            << "home-page";
            QTest::addRow("%s update", w) << w << "mnuUpdate"
                                          << "download-web-page";
            QTest::addRow("%s Donate", w) << w << "mnuDonate"
                                          << "donate";
            QTest::addRow("%s board banner", w) << w << "Label61"
                                                << "home-page";
        }
        QTest::newRow("details full-brand banner") << "details"
                                                   << "lblFullBrand"
                                                   << "fully-branded";
        QTest::newRow("test window banner") << "test"
                                            << "lblFullBrand"
                                            << "fully-branded";
        QTest::newRow("result list entry") << "result"
                                           << "Label19"
                                           << "co-brand";
    }
    void everyLinkReachesItsPage()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, key);
        QWidget *w = open(window);
        const QByteArray name = control.toLatin1();
        if (control.startsWith(QLatin1String("mnu")))
            TRIGGER(w, name.constData());
        else
            CLICK_LABEL(w, name.constData());
        QCOMPARE(f.browser->opened, QStringList{kBase + key});
        QVERIFY(f.boxes->shown.empty());
    }

    void bannerRectangleOpensTheBannerInFront_data()
    {
        QTest::addColumn<float>("draw");
        QTest::addColumn<QString>("key");
        QTest::newRow("co-brand drawn") << 0.0f << "co-brand";
        QTest::newRow("full brand drawn") << 0.5f << "fully-branded";
    }
    void bannerRectangleOpensTheBannerInFront()
    {
        QFETCH(float, draw);
        QFETCH(QString, key);
        f.random->values = {draw};
        QWidget *details = open(QStringLiteral("details"));
        fakes::program().chooseBanner();
        auto *banner = widgets::find<QLabel>(details, "lblFullBrand");
        const QPoint centre = banner->mapTo(details, banner->rect().center());
        QTest::mouseClick(details->windowHandle(), Qt::LeftButton, {},
                          details->windowHandle()->mapFromGlobal(details->mapToGlobal(centre)));
        QCOMPARE(f.browser->opened, QStringList{kBase + key});
    }

    void menusAreLaidOutAsDesigned_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("bar");
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QStringList>("help");
        const QStringList bar{"&File", "&Help", "&Donate"};
        QTest::newRow("details") << "details" << bar << QStringList{"Take The &Brain Test Now", "E&xit"}
                                 << QStringList{
                                        "&Online Help",   "&Visit Us Online", "-", "Check for Software &Update", "-",
                                        "&About Software"};
        QTest::newRow("test") << "test" << bar << QStringList{"&Back", "E&xit"}
                              << QStringList{
                                     "&Online Help",   "&Visit Us Online", "-", "&Check for Software Update", "-",
                                     "&About Software"};
    }
    void menusAreLaidOutAsDesigned()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, bar);
        QFETCH(QStringList, file);
        QFETCH(QStringList, help);
        auto *w = static_cast<QMainWindow *>(open(window));
        const auto captions = [](const QList<QAction *> &actions) {
            QStringList out;
            for (QAction *a : actions) {
                out << (a->isSeparator() ? QStringLiteral("-") : a->text());
                if (!a->isSeparator()) {
                    if (!a->shortcut().isEmpty() || a->isCheckable())
                        out << QStringLiteral("<shortcut or check>");
                }
            }
            return out;
        };
        QCOMPARE(captions(w->menuBar()->actions()), bar);
        QCOMPARE(captions(widgets::find<QMenu>(w, "mnuFile")->actions()), file);
        QCOMPARE(captions(widgets::find<QMenu>(w, "mnuHelp")->actions()), help);
        QVERIFY(!widgets::find<QAction>(w, "mnuDonate")->menu());
        QVERIFY(widgets::find<QAction>(w, "mnuDonate")->isEnabled());

        // Make Money Online can never be chosen, so it is not on the bar at all.
        QAction *money = widgets::find<QAction>(w, "mnuMakeMoneyOnline");
        QVERIFY(money);
        QCOMPARE(money->text(), QStringLiteral("Make Money &Online"));
        QVERIFY(!money->isEnabled());
        QVERIFY(!w->menuBar()->actions().contains(money));
        // Alt+O reaches nothing; Alt+D right after shows that the keys do arrive.
        QTest::keyClick(w->windowHandle(), Qt::Key_O, Qt::AltModifier);
        QTest::keyClick(w->windowHandle(), Qt::Key_D, Qt::AltModifier);
        QCOMPARE(f.browser->opened, QStringList{kBase + QStringLiteral("donate")});
    }

    void noBrowserLeavesEveryWindowUsable_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("browser refuses") << int(fakes::Browser::Mode::Refuses);
        QTest::newRow("opener broken") << int(fakes::Browser::Mode::Broken);
    }
    void noBrowserLeavesEveryWindowUsable()
    {
        QFETCH(int, mode);
        f.browser->mode = fakes::Browser::Mode(mode);
        QWidget *details = open(QStringLiteral("details"));
        for (const char *name : {"mnuOnline", "mnuVisit", "mnuUpdate", "mnuDonate"})
            TRIGGER(details, name);
        for (const char *name : {"Label61", "lblFullBrand", "lblCobrand"})
            CLICK_LABEL(details, name);
        QTimer::singleShot(0, this, [] {
            QWidget *about = QApplication::activeModalWidget();
            if (!about)
                return;
            for (const char *name : {"Label5", "lblHomePage"})
                QTest::mouseClick(about->findChild<QLabel *>(QString::fromLatin1(name)), Qt::LeftButton);
            QTest::keyClick(about, Qt::Key_Escape);
        });
        TRIGGER(details, "mnuAbout");
        QVERIFY(details->isVisible());
        QWidget *result = open(QStringLiteral("result"));
        for (const char *name : {"mnuOnline", "mnuVisit", "mnuUpdate", "mnuDonate"})
            TRIGGER(result, name);
        for (const char *name : {"Label61", "lblFullBrand", "Label19"})
            CLICK_LABEL(result, name);
        QVERIFY(result->isVisible());
        QVERIFY(f.boxes->shown.empty());
        QVERIFY(f.browser->opened.isEmpty());
        // Every link did ask (7 + the about window's 2 + 7), and each failure was silent.
        QCOMPARE(f.browser->requests, 16);
        CLICK(result, "Command1");
        QVERIFY(details->isVisible());
    }

    void bannerChoice_data()
    {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("coBrandInFront");
        QTest::newRow("r = 0") << 0.0f << 1 << true;
        QTest::newRow("r just below 1/12") << 0.08f << 1 << true;
        QTest::newRow("r = 1/4 gives 2.5, even neighbour 2") << 0.25f << 2 << false;
        QTest::newRow("r = 0.4 gives 3") << 0.4f << 3 << true;
        QTest::newRow("r = 5/12 gives 3.5, even neighbour 4") << (2.5f / 6.0f) << 4 << false;
        QTest::newRow("r = 0.6 gives 4.6 so 5") << 0.6f << 5 << true;
        QTest::newRow("r = 3/4 gives 5.5, even neighbour 6") << 0.75f << 6 << false;
        QTest::newRow("r just above 11/12") << 0.92f << 7 << false;
        QTest::newRow("r near 1") << 0.99999994f << 7 << false;
    }
    void bannerChoice()
    {
        QFETCH(float, r);
        QFETCH(int, number);
        QFETCH(bool, coBrandInFront);
        QCOMPARE(int(banners::CoBrandNumber(r)), number);
        f.random->values = {r};
        QWidget *details = open(QStringLiteral("details"));
        fakes::program().chooseBanner();
        QCOMPARE(inFront(widgets::find<QLabel>(details, "lblCobrand"), widgets::find<QLabel>(details, "lblFullBrand")),
                 coBrandInFront);
        // Only the banner in front is there for a screen reader.
        QCOMPARE(widgets::find<QLabel>(details, "lblCobrand")->isVisible(), coBrandInFront);
        QCOMPARE(widgets::find<QLabel>(details, "lblFullBrand")->isVisible(), !coBrandInFront);
    }

    void testWindowKeepsItsFullBrandBanner()
    {
        f.random->values = {0.0f};
        QWidget *details = open(QStringLiteral("details"));
        fakes::program().chooseBanner();
        QWidget *test = open(QStringLiteral("test"));
        QVERIFY(inFront(widgets::find<QLabel>(test, "lblFullBrand"), widgets::find<QLabel>(test, "lblCobrand")));
        CLICK(test, "cmdBack");
        QVERIFY(inFront(widgets::find<QLabel>(details, "lblCobrand"), widgets::find<QLabel>(details, "lblFullBrand")));
    }

    void coBrandTextShowsOneAmpersand()
    {
        QWidget *details = open(QStringLiteral("details"));
        const QString shown = widgets::find<QLabel>(details, "lblCobrand")->text();
        QVERIFY(shown.contains(
            QStringLiteral("Put your site's name &  link here. See \"Help\" for details.    Click Here")));
        QVERIFY(shown.startsWith(QStringLiteral("Co-brand this software for your site.  Increase loyalty")));
        QVERIFY(!shown.contains(QStringLiteral("&&")));
    }

    void linkCursors_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("hand");
        for (const char *w : {"details", "result"}) {
            QTest::addRow("%s board", w) << w << "Label61" << true;
            QTest::addRow("%s full brand", w) << w << "lblFullBrand" << true;
            QTest::addRow("%s co-brand", w) << w << "lblCobrand" << true;
        }
        QTest::newRow("result entry that links") << "result"
                                                 << "Label19" << false;
        QTest::newRow("result entry that does not") << "result"
                                                    << "Label18" << false;
    }
    void linkCursors()
    {
        QFETCH(QString, window);
        QFETCH(QString, label);
        QFETCH(bool, hand);
        QWidget *w = open(window);
        auto *l = w->findChild<QLabel *>(label);
        QVERIFY(l);
        QCOMPARE(l->cursor().shape() == Qt::PointingHandCursor, hand);
        if (label == QLatin1String("Label18")) {
            QTest::mouseClick(l, Qt::LeftButton);
            QVERIFY(f.browser->opened.isEmpty());
        }
    }
};

QTEST_MAIN(tst_web)
#include "tst_web.moc"
