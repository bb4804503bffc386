// The exit screen: what its loading shows, its links, the placeholder boxes, the
// space filter, the referral checks and the failures it cannot carry on from.
#include "app/DetailsWindow.h"
#include "app/Program.h"
#include "braintest/TestWindow.h"
#include "exit/ExitScreen.h"
#include "exit/referral.h"
#include "fakes.h"
#include "widgets.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUrlQuery>
#include <QtTest>
#include <qpa/qwindowsysteminterface.h>

namespace {
const QString kBoard = QStringLiteral("https://www.talvern.example/board");

// A window manager's report that a window got the focus, handed to Qt as the platform
// plug-in hands it (Qt 6.7 renamed the call).
void reportFocused(QWidget *window)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    QWindowSystemInterface::handleFocusWindowChanged<QWindowSystemInterface::SynchronousDelivery>(
        window->windowHandle(), Qt::ActiveWindowFocusReason);
#else
    QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(
        window->windowHandle(), Qt::ActiveWindowFocusReason);
#endif
}
} // namespace

class tst_exitscreen : public QObject
{
    Q_OBJECT
    fakes::Installed f{};
    ExitScreen *x = nullptr;

    template <typename T = QWidget>
    T *at(const char *name)
    {
        return widgets::find<T>(x, name);
    }
    QLineEdit *box(const char *name) { return at<QLineEdit>(name); }

    void load()
    {
        x = fakes::program().exitScreen();
        x->show();
        x->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(x));
    }

private slots:
    void initTestCase() { fakes::prepareApplication(); }
    void init() { f = fakes::resetProgram(); }
    void cleanup()
    {
        QCOMPARE(f.boxes->unscriptedBoxes, 0);
        fakes::resetProgram();
    }

    void loadShowsOneSupportMessage_data()
    {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("k");
        QTest::newRow("0") << 0.0f << 0;
        QTest::newRow("just below 1/4") << 0.2499f << 0;
        QTest::newRow("1/4") << 0.25f << 1;
        QTest::newRow("1/2") << 0.5f << 2;
        QTest::newRow("3/4") << 0.75f << 3;
        QTest::newRow("just below 1") << 0.99999994f << 3;
    }
    void loadShowsOneSupportMessage()
    {
        QFETCH(float, r);
        QFETCH(int, k);
        f.random->values = {r};
        x = fakes::program().exitScreen();
        QCOMPARE(f.random->seeds, 1);
        QCOMPARE(at<QLabel>("Label2")->text(), ExitScreen::SupportMessages()[k]);
        QCOMPARE(x->windowTitle(), QStringLiteral("Brenvo v1.20"));
        QCOMPARE(at<QLabel>("lblExitScreenCaption")->text(), QStringLiteral("Brenvo v1.20"));
        QVERIFY(!x->windowIcon().isNull());
        QVERIFY(!at<QLabel>("picExitScreenIcon")->pixmap().isNull());
        QVERIFY(x->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(x->testAttribute(Qt::WA_ShowWithoutActivating));
        // Loaded hidden; Exit has the focus once it shows.
        QVERIFY(!x->isVisible());
        x->show();
        QCOMPARE(x->focusWidget(), at("cmdClose"));
    }

    void supportMessagesNameTheBoard()
    {
        const int lengths[] = {227, 211, 160, 196};
        for (int k = 0; k < 4; ++k) {
            const QString &m = ExitScreen::SupportMessages()[k];
            QVERIFY2(m.contains(kBoard), qPrintable(m));
            QVERIFY2(qAbs(m.size() - lengths[k]) <= 10, qPrintable(QString::number(m.size())));
        }
    }

    void allFourMessagesAppearOverManyLoads()
    {
        // The real generator, seeded from the clock at every load.
        QSet<QString> seen;
        for (int i = 0; i < 200 && seen.size() < 4; ++i) {
            f = fakes::resetProgram();
            fakes::program().services().random = std::move(platform::realServices().random);
            x = fakes::program().exitScreen();
            seen.insert(at<QLabel>("Label2")->text());
        }
        QCOMPARE(seen.size(), 4);
    }

    // Back from the test shows the screen a moment and hides it; Exit shows it again.
    void laterShowKeepsTheMessageAndGivesExitTheFocus()
    {
        f.random->values = {0.6f, 0.1f};
        DetailsWindow *details = fakes::program().details();
        details->show();
        widgets::type(widgets::find<QLineEdit>(details, "txtName"), QStringLiteral("ann"));
        CLICK(details, "optMale");
        CLICK(details, "cmdNext");
        CLICK(fakes::program().existingTestWindow(), "cmdBack");
        x = fakes::program().existingExitScreen();
        QVERIFY(x && !x->isVisible());
        const QString message = at<QLabel>("Label2")->text();
        QCOMPARE(message, ExitScreen::SupportMessages()[2]);
        // A window manager that focused the screen in its moment on screen reports it
        // late, once it is hidden again, after the details window: each such report
        // makes Qt hand the focus of the hidden screen on to the next control.
        for (QWidget *active : {static_cast<QWidget *>(x), static_cast<QWidget *>(details), static_cast<QWidget *>(x),
                                static_cast<QWidget *>(details)})
            reportFocused(active);
        CLICK(details, "cmdExit");
        QCOMPARE(fakes::program().existingExitScreen(), x);
        QVERIFY(x->isVisible());
        QCOMPARE(at<QLabel>("Label2")->text(), message);
        QCOMPARE(f.random->seeds, 1);
        x->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(x));
        QCOMPARE(QApplication::focusWidget(), at("cmdClose"));
    }

    void linksOpenTheirPagesOnce()
    {
        load();
        auto *check = at<QPushButton>("Check1");
        QVERIFY(check->isCheckable());
        QCOMPARE(check->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(at<QLabel>("lblGoToHome")->cursor().shape(), Qt::PointingHandCursor);
        CLICK(x, "Check1");
        QVERIFY(!check->isChecked());
        CLICK_LABEL(x, "lblGoToHome");
        const QString base = QStringLiteral("https://www.talvern.example/brenvo/ssd.php?page=");
        QCOMPARE(f.browser->opened,
                 QStringList({base + QStringLiteral("home-page"), base + QStringLiteral("talvernsoftwares")}));
        QVERIFY(x->isVisible());
    }

    void tabOrder()
    {
        load();
        QStringList order;
        for (int i = 0; i < 8; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, QStringList({"cmdClose", "Check1", "txtName", "cmdSubmit", "txtEmail", "txtFriendEmail",
                                     "txtFriendName", "cmdClose"}));
        // The message box lies outside its frame, where no one sees it: hidden, so no
        // tab stop, but enabled, and its text goes with the referral.
        QWidget *message = at("txtMessage");
        QVERIFY(message->isEnabled());
        QVERIFY(message->y() >= at("Frame2")->height());
        QVERIFY(message->isHidden());
    }

    void placeholders_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("tabs");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("whileIn");
        QTest::addColumn<QString>("afterLeaving");
        QTest::newRow("name emptied, restored") << "txtName" << 2 << ""
                                                << ""
                                                << "Your Name";
        QTest::newRow("name of blanks restored") << "txtName" << 2 << "   "
                                                 << "   "
                                                 << "Your Name";
        QTest::newRow("name kept") << "txtName" << 2 << "Bob"
                                   << "Bob"
                                   << "Bob";
        QTest::newRow("own address emptied") << "txtEmail" << 4 << ""
                                             << ""
                                             << "Your Email Address";
        QTest::newRow("friend's address") << "txtFriendEmail" << 5 << ""
                                          << ""
                                          << "Friend's Email Address";
        QTest::newRow("friend's name") << "txtFriendName" << 6 << "Al"
                                       << "Al"
                                       << "Al";
    }
    void placeholders()
    {
        QFETCH(QString, box);
        QFETCH(int, tabs);
        QFETCH(QString, typed);
        QFETCH(QString, whileIn);
        QFETCH(QString, afterLeaving);
        load();
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto *edit = x->findChild<QLineEdit *>(box);
        QCOMPARE(QApplication::focusWidget(), edit);
        QCOMPARE(edit->text(), QString());
        widgets::type(edit, typed);
        QCOMPARE(edit->text(), whileIn);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(edit->text(), afterLeaving);
    }

    void placeholderComparisonTrimsBlanksOnly()
    {
        load();
        box("txtName")->setText(QStringLiteral("  Your Name "));
        box("txtName")->setFocus(Qt::TabFocusReason);
        QCOMPARE(box("txtName")->text(), QString());
        // The message box's first text ends in a line break: not the placeholder.
        QCOMPARE(x->messageText(), QStringLiteral("Your Message\r\n"));
    }

    void emailBoxesRefuseBlanks_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("refusals");
        QTest::newRow("own address") << "txtEmail"
                                     << "ab@c.d" << 1;
        QTest::newRow("friend's address") << "txtFriendEmail"
                                          << "ab@c.d" << 1;
        QTest::newRow("name takes blanks") << "txtName"
                                           << "ab @c.d" << 0;
    }
    void emailBoxesRefuseBlanks()
    {
        QFETCH(QString, box);
        QFETCH(QString, shown);
        QFETCH(int, refusals);
        load();
        auto *edit = x->findChild<QLineEdit *>(box);
        edit->setFocus(Qt::TabFocusReason);
        f.boxes->answerOk(refusals);
        widgets::type(edit, QStringLiteral("ab @c.d"));
        QCOMPARE(edit->text(), shown);
        QCOMPARE(int(f.boxes->shown.size()), refusals);
        if (refusals) {
            QCOMPARE(f.boxes->shown[0].text, QStringLiteral("Email Address Cannot Contain Space"));
            QCOMPARE(f.boxes->shown[0].icon, platform::BoxIcon::Critical);
        }
        QCOMPARE(QApplication::focusWidget(), edit);
        // Pasted text is not filtered.
        QGuiApplication::clipboard()->setText(QStringLiteral(" x y"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(edit->text().endsWith(QStringLiteral(" x y")));
    }

    // A whole file pasted into a box is cut at once to what the box takes (a long line
    // laid out first froze the window for minutes), with line breaks or without.
    void pasteIsCutToWhatTheBoxTakes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("unit"); // repeated to a mebibyte
        using referral::Field;
        const std::pair<const char *, Field> boxes[] = {{"txtName", Field::ReferrerName},
                                                        {"txtEmail", Field::ReferrerEmail},
                                                        {"txtFriendName", Field::FriendName},
                                                        {"txtFriendEmail", Field::FriendEmail},
                                                        {"txtMessage", Field::Message}};
        for (const auto &[name, field] : boxes) {
            QTest::addRow("%s, one line", name) << name << referral::maxLength(field) << QStringLiteral("x");
            QTest::addRow("%s, lines", name) << name << referral::maxLength(field) << QStringLiteral("ab\n");
        }
    }
    void pasteIsCutToWhatTheBoxTakes()
    {
        QFETCH(QString, name);
        QFETCH(int, limit);
        QFETCH(QString, unit);
        load();
        QWidget *target = at(name.toLatin1().constData());
        auto *line = qobject_cast<QLineEdit *>(target);
        const auto text = [&] { return line ? line->text() : static_cast<QPlainTextEdit *>(target)->toPlainText(); };
        target->setFocus();
        const QString pasted = unit.repeated(1024 * 1024 / unit.size());
        QGuiApplication::clipboard()->setText(pasted);
        // Over the whole placeholder, selected: what it replaces makes room.
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        QVERIFY2(text().size() <= limit, qPrintable(QString::number(text().size())));
        if (line) // a one-line box keeps the text up to its first line break
            QVERIFY(pasted.startsWith(text()) && !text().isEmpty());
        else
            QCOMPARE(text(), pasted.left(limit));
        // A key more is not taken either; Backspace still is.
        if (text().size() == limit) {
            QTest::keyClick(target, Qt::Key_Z);
            QCOMPARE(text().size(), limit);
        }
        QTest::keyClick(target, Qt::Key_Backspace);
        QVERIFY(text().size() < limit);
    }

    // A cut at a box's limit never splits a character: the pair of an emoji, or a
    // letter and its accent, goes whole or not at all; what is sent is what is shown.
    void cutsKeepCharactersWhole_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("last"); // after limit - 1 letters
        using referral::Field;
        const std::pair<const char *, Field> boxes[] = {
            {"txtName", Field::ReferrerName}, {"txtFriendName", Field::FriendName}, {"txtMessage", Field::Message}};
        for (const auto &[name, field] : boxes) {
            QTest::addRow("%s, an emoji", name) << name << referral::maxLength(field) << QStringLiteral("\U0001F600");
            QTest::addRow("%s, an accent", name) << name << referral::maxLength(field) << QStringLiteral("e\u0301");
        }
    }
    void cutsKeepCharactersWhole()
    {
        QFETCH(QString, name);
        QFETCH(int, limit);
        QFETCH(QString, last);
        load();
        QWidget *target = at(name.toLatin1().constData());
        auto *line = qobject_cast<QLineEdit *>(target);
        const auto text = [&] { return line ? line->text() : static_cast<QPlainTextEdit *>(target)->toPlainText(); };
        target->setFocus();
        const QString letters(limit - 1, u'x');
        QGuiApplication::clipboard()->setText(letters + last + QStringLiteral("yz"));
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(text(), letters);
        if (line) { // the referral carries it as shown
            for (QLineEdit *box : x->findChildren<QLineEdit *>())
                if (box != line)
                    box->setText(box == at("txtEmail")         ? QStringLiteral("a@b.c")
                                 : box == at("txtFriendEmail") ? QStringLiteral("d@e.f")
                                                               : QStringLiteral("Bob"));
            CLICK(x, "cmdSubmit");
            QCOMPARE(f.browser->opened.size(), 1);
            const QUrlQuery query(QUrl(f.browser->opened[0]).query());
            const QString key = QString::fromLatin1(name == QLatin1String("txtName") ? "taf1" : "taf4");
            QCOMPARE(query.queryItemValue(key, QUrl::FullyDecoded), letters);
        }
    }

    // Every box at its longest, in characters that take the most room in an address,
    // still makes an address a browser can be handed, and it carries every value whole.
    void theLongestReferralReachesTheBrowser()
    {
        load();
        const QString euro(1, QChar(0x20AC)); // three bytes, nine characters encoded
        const std::pair<const char *, QString> boxes[] = {
            {"txtName", euro.repeated(5000)},
            {"txtEmail", QStringLiteral("a@x.org") + euro.repeated(5000)},
            {"txtFriendName", euro.repeated(5000)},
            {"txtFriendEmail", QStringLiteral("b@y.org") + euro.repeated(5000)},
            {"txtMessage", euro.repeated(5000)}};
        for (const auto &[name, value] : boxes) {
            QWidget *target = at(name);
            target->setFocus();
            QGuiApplication::clipboard()->setText(value);
            QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        }
        CLICK(x, "cmdSubmit");
        QVERIFY(f.boxes->shown.empty());
        QCOMPARE(f.browser->opened.size(), 1);
        const QString address = f.browser->opened[0];
        QVERIFY2(address.toUtf8().size() < 128 * 1024, qPrintable(QString::number(address.size())));
        const QUrlQuery query(QUrl(address).query());
        const auto sent = [&](const char *key) { return query.queryItemValue(QLatin1String(key), QUrl::FullyDecoded); };
        QCOMPARE(sent("taf1"), box("txtName")->text());
        QCOMPARE(sent("taf2"), box("txtEmail")->text());
        QCOMPARE(sent("taf3"), at<QPlainTextEdit>("txtMessage")->toPlainText());
        QCOMPARE(sent("taf4"), box("txtFriendName")->text());
        QCOMPARE(sent("taf5"), box("txtFriendEmail")->text());
        QCOMPARE(sent("taf3").size(), referral::maxLength(referral::Field::Message));
    }

    void keyboardGoesRoundWithoutTyping_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Tab") << int(Qt::Key_Tab);
        QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab);
    }
    void keyboardGoesRoundWithoutTyping()
    {
        QFETCH(int, key);
        load();
        const QString placeholder = QStringLiteral("Your Message\r\n");
        QStringList visited;
        for (int i = 0; i < 15; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                            key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        }
        // Twice round the seven stops and back to the start, in either direction.
        QCOMPARE(visited.first(), QStringLiteral("cmdClose"));
        QCOMPARE(visited.last(), QStringLiteral("cmdClose"));
        QCOMPARE(QSet<QString>(visited.cbegin(), visited.cend()).size(), 7);
        // No tab went into a box: the message still holds its first text.
        QCOMPARE(x->messageText(), placeholder);
    }

    void enterLeavesTheCheckBoxAlone()
    {
        load();
        at("Check1")->setFocus();
        QTest::keyClick(at("Check1"), Qt::Key_Return);
        QTest::keyClick(at("Check1"), Qt::Key_Enter);
        QVERIFY(f.browser->opened.isEmpty());
        // Space is how a check box is used from the keyboard.
        QTest::keyClick(at("Check1"), Qt::Key_Space);
        QCOMPARE(f.browser->opened.size(), 1);
    }

    void referralChecks_data()
    {
        QTest::addColumn<QStringList>("form"); // name, email, friend's name, friend's email; "-" untouched
        QTest::addColumn<QString>("message");
        const QStringList valid{"Ann", "ann@example.org", "Bob", "bob@example.org"};
        // The checks themselves are the referral's; here, what the screen hands over.
        QTest::newRow("untouched form") << QStringList{"-", "-", "-", "-"} << "Please Enter Proper Email Address";
        QTest::newRow("blanks around the same address")
            << QStringList{"Ann", " a@b.c ", "Bob", "a@b.c"} << "Please Enter Distinct Email Addresses";
        QTest::newRow("friend's name placeholder")
            << QStringList{"Ann", "a@b.c", "-", "x@y.z"} << "Please Enter Your Friend's Name";
        QTest::newRow("valid") << QStringList{"Ann", "ann@example.org", "Bob", "bob@example.org"} << "";
    }
    void referralChecks()
    {
        QFETCH(QStringList, form);
        QFETCH(QString, message);
        load();
        const char *boxes[] = {"txtName", "txtEmail", "txtFriendName", "txtFriendEmail"};
        for (int i = 0; i < 4; ++i)
            if (form[i] != QLatin1String("-"))
                box(boxes[i])->setText(form[i]);
        f.boxes->answerOk(message.isEmpty() ? 0 : 1);
        CLICK(x, "cmdSubmit");
        if (message.isEmpty()) {
            QVERIFY(f.boxes->shown.empty());
            QCOMPARE(f.browser->opened.size(), 1);
            const QUrlQuery query(QUrl(f.browser->opened[0]).query());
            QCOMPARE(query.queryItemValue(QStringLiteral("taf1"), QUrl::FullyDecoded), form[0]);
            QCOMPARE(query.queryItemValue(QStringLiteral("taf3"), QUrl::FullyDecoded),
                     QStringLiteral("Your Message\r\n"));
        } else {
            QCOMPARE(int(f.boxes->shown.size()), 1);
            QCOMPARE(f.boxes->shown[0].text, message);
            QCOMPARE(f.boxes->shown[0].icon, platform::BoxIcon::Critical);
            // The box belongs to the topmost exit screen, so it comes up in front of it.
            QCOMPARE(f.boxes->shown[0].owner, x);
            QVERIFY(f.browser->opened.isEmpty());
        }
        // The form keeps what was typed, and the window stays.
        for (int i = 0; i < 4; ++i)
            if (form[i] != QLatin1String("-"))
                QCOMPARE(box(boxes[i])->text(), form[i]);
        QVERIFY(x->isVisible());
    }

    void messageTypedAsThePlaceholderIsRefused()
    {
        load();
        box("txtName")->setText(QStringLiteral("Ann"));
        box("txtEmail")->setText(QStringLiteral("a@b.c"));
        box("txtFriendName")->setText(QStringLiteral("Bob"));
        box("txtFriendEmail")->setText(QStringLiteral("x@y.z"));
        at<QPlainTextEdit>("txtMessage")->setPlainText(QStringLiteral("  Your Message "));
        f.boxes->answerOk();
        CLICK(x, "cmdSubmit");
        QCOMPARE(int(f.boxes->shown.size()), 1);
        QCOMPARE(f.boxes->shown[0].text, QStringLiteral("Please Enter Your Message"));
    }

    void failureIsReportedAndEndsTheProgram()
    {
        load();
        f.browser->mode = fakes::Browser::Mode::Broken;
        f.boxes->answerOk();
        CLICK(x, "Check1");
        QCOMPARE(int(f.boxes->shown.size()), 1);
        QCOMPARE(f.boxes->shown[0].icon, platform::BoxIcon::Critical);
        QVERIFY(f.boxes->shown[0].text.contains(QStringLiteral("no browser service")));
        QCOMPARE(f.processEnd->ends, 1);
        QVERIFY(!fakes::program().existingExitScreen());
    }
};

QTEST_MAIN(tst_exitscreen)
#include "tst_exitscreen.moc"
