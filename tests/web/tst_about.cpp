// The about window: modal over the window that opened it, built afresh each time,
// closed by OK, Enter and Esc, with its two links.
#include "app/DetailsWindow.h"
#include "app/Program.h"
#include "braintest/TestWindow.h"
#include "fakes.h"
#include "web/AboutDialog.h"
#include "widgets.h"

#include <QAccessible>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

class tst_about : public QObject
{
    Q_OBJECT
    fakes::Installed f{};

    // Opens the about window from the given main window and runs check inside it.
    template <typename Check>
    bool openAbout(QWidget *owner, Check check)
    {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto *about = qobject_cast<AboutDialog *>(QApplication::activeModalWidget());
            if (!about)
                return;
            ran = true;
            check(about);
            if (about->isVisible())
                about->close();
        });
        QByteArray why;
        if (!widgets::trigger(owner, "mnuAbout", &why))
            return false;
        fakes::flushDeletes();
        return ran;
    }

private slots:
    void initTestCase() { fakes::prepareApplication(); }
    void init() { f = fakes::resetProgram(); }
    void cleanup() { fakes::resetProgram(); }

    void showsModalWithItsTexts()
    {
        DetailsWindow *details = fakes::program().details();
        details->show();
        QPointer<AboutDialog> shown;
        QVERIFY(openAbout(details, [&](AboutDialog *about) {
            shown = about;
            QCOMPARE(about->windowTitle(), QStringLiteral("Brenvo v1.20"));
            QCOMPARE(about->findChild<QLabel *>(QStringLiteral("Label2"))->text(), QStringLiteral("Brenvo v1.20"));
            QVERIFY(about->findChild<QLabel *>(QStringLiteral("Label1"))
                        ->text()
                        .startsWith(QStringLiteral("Brenvo helps us know which part of our brain is more active")));
            QCOMPARE(about->findChild<QLabel *>(QStringLiteral("lblHomePage"))->text(),
                     QStringLiteral("Click here to visit https://www.talvern.example"));
            QCOMPARE(about->findChild<QLabel *>(QStringLiteral("Label5"))->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(about->findChild<QLabel *>(QStringLiteral("lblHomePage"))->cursor().shape(),
                     Qt::PointingHandCursor);
            QVERIFY(about->findChild<QFrame *>(QStringLiteral("Line2")));
            // Modal over the details window, which takes no input meanwhile.
            QVERIFY(about->isModal());
            QCOMPARE(about->parentWidget(), details);
            QVERIFY(about->windowFlags().testFlag(Qt::Dialog));
            QVERIFY(QApplication::activeModalWidget() == about);
            // A real click on the details window's Exit button is held back by the modal window.
            auto *exit = widgets::find<QPushButton>(details, "cmdExit");
            const QPoint at = details->windowHandle()->mapFromGlobal(exit->mapToGlobal(exit->rect().center()));
            QTest::mouseClick(details->windowHandle(), Qt::LeftButton, {}, at);
            QTest::keyClick(details->windowHandle(), Qt::Key_Escape);
            QVERIFY(details->isVisible());
        }));
        QVERIFY(shown.isNull());
        QVERIFY(details->isVisible());
    }

    void closesByOkEnterEscAndCloseBox_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK clicked") << "click";
        QTest::newRow("Enter") << "enter";
        QTest::newRow("Esc") << "esc";
        QTest::newRow("access key") << "alt";
        QTest::newRow("close box") << "close";
    }
    void closesByOkEnterEscAndCloseBox()
    {
        QFETCH(QString, how);
        DetailsWindow *details = fakes::program().details();
        details->show();
        QPointer<AboutDialog> first;
        QVERIFY(openAbout(details, [&](AboutDialog *about) {
            first = about;
            if (how == QLatin1String("click"))
                QTest::mouseClick(about->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
            else if (how == QLatin1String("enter"))
                QTest::keyClick(about, Qt::Key_Return);
            else if (how == QLatin1String("esc"))
                QTest::keyClick(about, Qt::Key_Escape);
            else if (how == QLatin1String("alt")) {
                QTest::keyClick(about->windowHandle(), Qt::Key_O, Qt::AltModifier);
                QTRY_VERIFY(!about->isVisible());
            } else
                about->close();
            QVERIFY(!about->isVisible());
        }));
        QVERIFY(first.isNull());
        // The next one is built afresh.
        QPointer<AboutDialog> second;
        QVERIFY(openAbout(details, [&](AboutDialog *about) { second = about; }));
        QVERIFY(first.isNull() && second.isNull());
    }

    void linksOpenTheirPages_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("key");
        QTest::newRow("more details") << "Label5"
                                      << "fully-branded";
        QTest::newRow("home page") << "lblHomePage"
                                   << "home-page";
    }
    void linksOpenTheirPages()
    {
        QFETCH(QString, label);
        QFETCH(QString, key);
        DetailsWindow *details = fakes::program().details();
        details->show();
        QVERIFY(openAbout(details, [&](AboutDialog *about) {
            QTest::mouseClick(about->findChild<QLabel *>(label), Qt::LeftButton);
            QVERIFY(about->isVisible());
        }));
        QCOMPARE(f.browser->opened,
                 QStringList{QStringLiteral("https://www.talvern.example/brenvo/ssd.php?page=") + key});
    }

    void opensFromTheTestWindowToo()
    {
        TestWindow *test = fakes::program().testWindow();
        test->startTest();
        test->show();
        QVERIFY(openAbout(test, [&](AboutDialog *about) { QCOMPARE(about->parentWidget(), test); }));
        QVERIFY(test->isVisible());
    }
};

QTEST_MAIN(tst_about)
#include "tst_about.moc"
