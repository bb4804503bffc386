// The details window: the name box's key filter, the checks before a test starts, the
// start action and its keys, and the rules by which windows come and go.
#include "app/DetailsWindow.h"
#include "app/Program.h"
#include "braintest/TestWindow.h"
#include "exit/ExitScreen.h"
#include "fakes.h"
#include "widgets.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using platform::BoxIcon;

class tst_details : public QObject
{
    Q_OBJECT
    fakes::Installed f{};
    DetailsWindow *w = nullptr;
    QLineEdit *name() { return widgets::find<QLineEdit>(w, "txtName"); }

    void showDetails()
    {
        w = fakes::program().details();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

private slots:
    void initTestCase() { fakes::prepareApplication(); }
    void init()
    {
        f = fakes::resetProgram();
        showDetails();
    }
    void cleanup()
    {
        QCOMPARE(f.boxes->unscriptedBoxes, 0);
        fakes::resetProgram();
    }

    void nameBoxFirstHasTheFocus() { QCOMPARE(QApplication::focusWidget(), name()); }

    void keyFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("refusals");
        QTest::newRow("small letters become capitals") << "ann lee"
                                                       << "ANN LEE" << 0;
        QTest::newRow("capitals pass") << "ZOE"
                                       << "ZOE" << 0;
        QTest::newRow("blanks only") << "   "
                                     << "   " << 0;
        QTest::newRow("digit") << "7"
                               << "" << 1;
        QTest::newRow("hyphen") << "-"
                                << "" << 1;
        QTest::newRow("apostrophe inside a name") << "o'neil"
                                                  << "ONEIL" << 1;
        QTest::newRow("accented letter") << QStringLiteral("é") << "" << 1;
        QTest::newRow("non-Latin letter") << QStringLiteral("ж") << "" << 1;
        QTest::newRow("code just above z") << "{"
                                           << "" << 1;
        QTest::newRow("code just below a") << "`"
                                           << "" << 1;
        QTest::newRow("code just above Z") << "["
                                           << "" << 1;
        QTest::newRow("code just below A") << "@"
                                           << "" << 1;
    }
    void keyFilter()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, refusals);
        f.boxes->answerOk(refusals);
        widgets::type(name(), typed);
        QCOMPARE(name()->text(), shown);
        QCOMPARE(int(f.boxes->shown.size()), refusals);
        for (const auto &box : f.boxes->shown) {
            QCOMPARE(box.text, QStringLiteral("Please Enter only Letters"));
            QCOMPARE(box.icon, BoxIcon::Information);
            QCOMPARE(box.caption, QStringLiteral("Brenvo"));
        }
    }

    void clipboardShortcutsAreRefused_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Ctrl+V") << int(Qt::Key_V);
        QTest::newRow("Ctrl+C") << int(Qt::Key_C);
        QTest::newRow("Ctrl+X") << int(Qt::Key_X);
        QTest::newRow("Ctrl+A") << int(Qt::Key_A);
    }
    void clipboardShortcutsAreRefused()
    {
        QFETCH(int, key);
        QGuiApplication::clipboard()->setText(QStringLiteral("123"));
        widgets::type(name(), QStringLiteral("AB"));
        f.boxes->answerOk();
        QTest::keyClick(name(), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(name()->text(), QStringLiteral("AB"));
        QCOMPARE(int(f.boxes->shown.size()), 1);
        QCOMPARE(f.boxes->shown[0].text, QStringLiteral("Please Enter only Letters"));
    }

    // Text that is pasted rather than typed: the same rule, silently. (The middle
    // button's paste is tried on a real X server, in the desktop layer.)
    void pastedTextFollowsTheRule_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("result"); // typed "AB", cursor between A and B
        QTest::newRow("Shift+Insert") << "shift+insert"
                                      << "ann-marie 2\n"
                                      << "AANNMARIE B";
        QTest::newRow("context menu") << "menu"
                                      << "Zoë O'Neil\t<b>x</b>\r"
                                      << "AZO ONEILBXBB";
        QTest::newRow("nothing left") << "shift+insert"
                                      << "123 ;-)"
                                      << "A B";
        // A whole file: the box takes 100 characters, the 98 first of it, at once.
        const QString words = QStringLiteral("ann ").repeated(256 * 1024);
        QTest::newRow("a mebibyte") << "shift+insert" << words
                                    << QStringLiteral("A") + words.left(98).toUpper() + QStringLiteral("B");
        const QString lines = QStringLiteral("ann\n").repeated(256 * 1024);
        QTest::newRow("a mebibyte of lines")
            << "menu" << lines << QStringLiteral("A") + lines.left(98).toUpper().remove(u'\n') + QStringLiteral("B");
    }
    void pastedTextFollowsTheRule()
    {
        QFETCH(QString, how);
        QFETCH(QString, pasted);
        QFETCH(QString, result);
        widgets::type(name(), QStringLiteral("AB"));
        QTest::keyClick(name(), Qt::Key_Left);
        if (how == QLatin1String("shift+insert")) {
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keyClick(name(), Qt::Key_Insert, Qt::ShiftModifier);
        } else {
            QGuiApplication::clipboard()->setText(pasted);
            std::unique_ptr<QMenu> menu(name()->createStandardContextMenu());
            QAction *paste = nullptr;
            for (QAction *a : menu->actions())
                if (a->text().contains(QStringLiteral("Paste")))
                    paste = a;
            QVERIFY(paste && paste->isEnabled());
            paste->trigger();
        }
        QCOMPARE(name()->text(), result);
        QVERIFY(f.boxes->shown.empty());
    }

    void editingKeysPassSilently()
    {
        widgets::type(name(), QStringLiteral("abc"));
        QTest::keyClick(name(), Qt::Key_Backspace);
        QTest::keyClick(name(), Qt::Key_Left);
        QTest::keyClick(name(), Qt::Key_Delete);
        QTest::keyClick(name(), Qt::Key_Home);
        widgets::type(name(), QStringLiteral("x"));
        QCOMPARE(name()->text(), QStringLiteral("XA"));
        QVERIFY(f.boxes->shown.empty());
    }

    void oddKeyEventsNeverSlipThrough_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::newRow("Alt with a digit") << int(Qt::Key_1) << int(Qt::AltModifier) << "1";
        QTest::newRow("Meta with a letter") << int(Qt::Key_X) << int(Qt::MetaModifier) << "x";
        QTest::newRow("Alt with private-use text")
            << 0xf4f4 << int(Qt::AltModifier | Qt::KeypadModifier) << QStringLiteral("\uf4f4");
        QTest::newRow("Esc carrying text") << int(Qt::Key_Escape) << 0 << "a";
        QTest::newRow("Delete carrying text") << int(Qt::Key_Delete) << 0 << "7";
        QTest::newRow("letter and backspace in one event") << int(Qt::Key_C) << 0 << "c\b";
        QTest::newRow("Ctrl+M is no letter") << int(Qt::Key_M) << int(Qt::ControlModifier | Qt::KeypadModifier) << "e";
        QTest::newRow("Ctrl+H is no letter") << int(Qt::Key_H) << int(Qt::ControlModifier) << "h";
        QTest::newRow("blank and backspace in one event") << 0x2001 << 0 << " \b";
    }
    void oddKeyEventsNeverSlipThrough()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QApplication::sendEvent(name(), &press);
        for (const QChar c : name()->text())
            QVERIFY2((c >= u'A' && c <= u'Z') || c == u' ', qPrintable(name()->text()));
        QVERIFY(w->isVisible());
    }

    void inputMethodCommits_data()
    {
        QTest::addColumn<QString>("commit");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("refusals");
        QTest::newRow("letters") << "ab"
                                 << "AB" << 0;
        QTest::newRow("composed accent") << QStringLiteral("ñ") << "" << 1;
        QTest::newRow("CJK") << QStringLiteral("日本") << "" << 1;
        QTest::newRow("mixed") << QStringLiteral("añb") << "" << 1;
        QTest::newRow("backspace is no text") << "a\bb"
                                              << "AB" << 0;
    }
    void inputMethodCommits()
    {
        QFETCH(QString, commit);
        QFETCH(QString, shown);
        QFETCH(int, refusals);
        f.boxes->answerOk(refusals);
        QInputMethodEvent event;
        event.setCommitString(commit);
        QApplication::sendEvent(name(), &event);
        QCOMPARE(name()->text(), shown);
        QCOMPARE(int(f.boxes->shown.size()), refusals);
    }

    void validation_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::addColumn<bool>("focusInName");
        QTest::newRow("nothing given: name first") << ""
                                                   << ""
                                                   << "Please Enter Your Name" << int(BoxIcon::Information) << true;
        QTest::newRow("no name, sex given") << ""
                                            << "optFemale"
                                            << "Please Enter Your Name" << int(BoxIcon::Information) << true;
        QTest::newRow("name, no sex") << "ann"
                                      << ""
                                      << "Plese Select Your Sex" << int(BoxIcon::None) << false;
        QTest::newRow("blanks count as a name") << "  "
                                                << "optMale"
                                                << "" << 0 << false;
        QTest::newRow("complete") << "ann"
                                  << "optFemale"
                                  << "" << 0 << false;
    }
    void validation()
    {
        QFETCH(QString, typed);
        QFETCH(QString, sex);
        QFETCH(QString, message);
        QFETCH(int, icon);
        QFETCH(bool, focusInName);
        f.boxes->answerOk(message.isEmpty() ? 0 : 1);
        widgets::type(name(), typed);
        if (!sex.isEmpty())
            CLICK(w, sex.toLatin1().constData());
        CLICK(w, "cmdNext");
        if (message.isEmpty()) {
            QVERIFY(f.boxes->shown.empty());
            QVERIFY(fakes::program().existingTestWindow() && fakes::program().existingTestWindow()->isVisible());
            QVERIFY(!w->isVisible());
            return;
        }
        QCOMPARE(int(f.boxes->shown.size()), 1);
        QCOMPARE(f.boxes->shown[0].text, message);
        QCOMPARE(int(f.boxes->shown[0].icon), icon);
        QCOMPARE(f.boxes->shown[0].owner, w); // in front of this window, not behind it
        QVERIFY(w->isVisible());
        QVERIFY(!fakes::program().existingTestWindow());
        // The name message sends the user back to the name box; the sex message leaves
        // the focus on the button that was pressed.
        QCOMPARE(QApplication::focusWidget() == name(), focusInName);
    }

    void enterAndEscPressStart_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("starts");
        QTest::newRow("Enter in the name box") << int(Qt::Key_Return) << "txtName" << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << "txtName" << true;
        QTest::newRow("Esc in the name box") << int(Qt::Key_Escape) << "txtName" << true;
        QTest::newRow("Enter on an option button") << int(Qt::Key_Return) << "optMale" << true;
        QTest::newRow("Esc on the Exit button") << int(Qt::Key_Escape) << "cmdExit" << true;
        QTest::newRow("Enter on the Exit button presses Exit") << int(Qt::Key_Return) << "cmdExit" << false;
    }
    void enterAndEscPressStart()
    {
        QFETCH(int, key);
        QFETCH(QString, focus);
        QFETCH(bool, starts);
        widgets::type(name(), QStringLiteral("ann"));
        CLICK(w, "optMale");
        auto *target = w->findChild<QWidget *>(focus);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        if (starts) {
            QVERIFY(fakes::program().existingTestWindow() && fakes::program().existingTestWindow()->isVisible());
            QVERIFY(!w->isVisible());
        } else {
            QVERIFY(!fakes::program().existingTestWindow());
            QVERIFY(fakes::program().existingExitScreen() && fakes::program().existingExitScreen()->isVisible());
        }
    }

    void enterRunsTheChecksToo()
    {
        f.boxes->answerOk();
        QTest::keyClick(name(), Qt::Key_Return);
        QCOMPARE(int(f.boxes->shown.size()), 1);
        QCOMPARE(f.boxes->shown[0].text, QStringLiteral("Please Enter Your Name"));
    }

    void menuCommandBehavesLikeTheButton()
    {
        f.boxes->answerOk();
        TRIGGER(w, "mnuNext");
        QCOMPARE(int(f.boxes->shown.size()), 1);
        QCOMPARE(f.boxes->shown[0].text, QStringLiteral("Please Enter Your Name"));
        widgets::type(name(), QStringLiteral("ann"));
        CLICK(w, "optFemale");
        TRIGGER(w, "mnuNext");
        QVERIFY(fakes::program().existingTestWindow() && fakes::program().existingTestWindow()->isVisible());
        QVERIFY(!w->isVisible());
    }

    void accessKeysPressButtons()
    {
        widgets::type(name(), QStringLiteral("ann"));
        CLICK(w, "optMale");
        // A button's access key presses it with a short visible press, not at once.
        QTest::keyClick(w->windowHandle(), Qt::Key_B, Qt::AltModifier);
        QTRY_VERIFY(fakes::program().existingTestWindow() && fakes::program().existingTestWindow()->isVisible());
    }

    // Assistive software that types (dictation, voice control) fills the box through its
    // accessible interface: the same rule as for a paste.
    void assistiveSoftwareTypesByTheRule_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("shown");
        QTest::newRow("value set") << "value"
                                   << "ann-marie 2"
                                   << "ANNMARIE ";
        QTest::newRow("inserted past the end") << "insert"
                                               << "lee"
                                               << "BOBLEE";
        QTest::newRow("replaced") << "replace"
                                  << "x1y"
                                  << "BXYB";
        QTest::newRow("deleted, offsets reversed") << "delete"
                                                   << ""
                                                   << "BOB";
        QTest::newRow("a whole file") << "value" << QStringLiteral("ab").repeated(100000)
                                      << QStringLiteral("AB").repeated(50);
    }
    void assistiveSoftwareTypesByTheRule()
    {
        QFETCH(QString, how);
        QFETCH(QString, given);
        QFETCH(QString, shown);
        widgets::type(name(), QStringLiteral("bob"));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(name());
        QAccessibleEditableTextInterface *edit = iface->editableTextInterface();
        QVERIFY(edit);
        if (how == QLatin1String("value"))
            iface->setText(QAccessible::Value, given);
        else if (how == QLatin1String("insert"))
            edit->insertText(1000000, given);
        else if (how == QLatin1String("replace"))
            edit->replaceText(1, 2, given);
        else
            edit->deleteText(3, 1);
        QCOMPARE(name()->text(), shown);
        QVERIFY(f.boxes->shown.empty());
    }

    void altReachesTheMenusOnceWithAScreenReader()
    {
        // Alt pressed and let go: the menu bar takes the keyboard. With a screen reader
        // Qt then also hands the window a late copy of both key events, made as the
        // X11 plug-in makes them (the press carrying the Alt it sets).
        QTest::keyClick(w, Qt::Key_Alt);
        QCOMPARE(QApplication::focusWidget(), w->menuBar());
        QCoreApplication::postEvent(w->windowHandle(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier));
        QCoreApplication::postEvent(w->windowHandle(), new QKeyEvent(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(QApplication::focusWidget(), w->menuBar());
        QVERIFY(w->menuBar()->activeAction());
    }

    void startHidesTheExitScreen()
    {
        ExitScreen *exitScreen = fakes::program().exitScreen();
        exitScreen->show();
        widgets::type(name(), QStringLiteral("ann"));
        CLICK(w, "optMale");
        CLICK(w, "cmdNext");
        QVERIFY(!exitScreen->isVisible());
        QCOMPARE(fakes::program().existingExitScreen(), exitScreen);
        QVERIFY(fakes::program().existingTestWindow()->isVisible());
    }

    void windowModel()
    {
        // One window of a kind; hiding keeps what the user typed.
        QCOMPARE(fakes::program().details(), w);
        widgets::type(name(), QStringLiteral("ann"));
        CLICK(w, "optFemale");
        w->hide();
        QCOMPARE(fakes::program().details(), w);
        w->show();
        QCOMPARE(name()->text(), QStringLiteral("ANN"));
        QVERIFY(widgets::find<QRadioButton>(w, "optFemale")->isChecked());

        // Closing destroys it; the next use builds a fresh one in its initial state.
        QPointer<DetailsWindow> old = w;
        CLICK(w, "cmdExit");
        QVERIFY(!fakes::program().existingDetails());
        fakes::flushDeletes();
        QVERIFY(old.isNull());
        w = fakes::program().details();
        QVERIFY(w != nullptr);
        QVERIFY(name()->text().isEmpty());
        QVERIFY(!widgets::find<QRadioButton>(w, "optFemale")->isChecked());
        QVERIFY(!w->isVisible());

        // The order of creation is kept for the program end.
        ExitScreen *exitScreen = fakes::program().existingExitScreen();
        QVERIFY(exitScreen);
        const std::vector<QWidget *> order = fakes::program().windowsInCreationOrder();
        QCOMPARE(order.size(), size_t(2));
        QCOMPARE(order[0], static_cast<QWidget *>(exitScreen));
        QCOMPARE(order[1], static_cast<QWidget *>(w));
    }

    void screenReadersFindEveryControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("accessibleName");
        QTest::newRow("name box") << "txtName"
                                  << "Name";
        QTest::newRow("start") << "cmdNext"
                               << "Take The Brain Test Now";
        QTest::newRow("exit") << "cmdExit"
                              << "Exit";
        QTest::newRow("male") << "optMale"
                              << "Male";
        QTest::newRow("female") << "optFemale"
                                << "Female";
    }
    void screenReadersFindEveryControl()
    {
        QFETCH(QString, control);
        QFETCH(QString, accessibleName);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w->findChild<QWidget *>(control));
        QVERIFY(iface);
        QCOMPARE(iface->text(QAccessible::Name), accessibleName);
    }
};

QTEST_MAIN(tst_details)
#include "tst_details.moc"
