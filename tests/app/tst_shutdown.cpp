// How the program ends: a main window's close brings up the exit screen, and the
// exit screen's close closes every window once, in creation order, and ends once.
#include "app/DetailsWindow.h"
#include "app/Program.h"
#include "braintest/TestWindow.h"
#include "exit/ExitScreen.h"
#include "fakes.h"
#include "web/pages.h"
#include "widgets.h"

#include <QLineEdit>
#include <QtTest>

namespace {
// Counts the close events each window receives and the times it is shown.
class Watcher : public QObject
{
public:
    QMap<QString, int> closes;
    QMap<QString, int> shows;
    QStringList closeOrder;
    void watch(QWidget *w) { w->installEventFilter(this); }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Close) {
            closes[o->objectName()]++;
            closeOrder << o->objectName();
        } else if (e->type() == QEvent::Show) {
            shows[o->objectName()]++;
        }
        return false;
    }
};
} // namespace

class tst_shutdown : public QObject
{
    Q_OBJECT
    fakes::Installed f{};
    DetailsWindow *details = nullptr;

    void startTest()
    {
        details = fakes::program().details();
        details->show();
        auto *name = widgets::find<QLineEdit>(details, "txtName");
        if (name->text().isEmpty())
            widgets::type(name, QStringLiteral("ann"));
        CLICK(details, "optMale");
        CLICK(details, "cmdNext");
        QVERIFY(fakes::program().existingTestWindow());
    }

    static QStringList visibleWindows()
    {
        QStringList names;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible())
                names << w->objectName();
        return names;
    }

private slots:
    void initTestCase() { fakes::prepareApplication(); }
    void init() { f = fakes::resetProgram(); }
    void cleanup() { fakes::resetProgram(); }

    void closingTheDetailsWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Exit button") << "cmdExit";
        QTest::newRow("File > Exit") << "mnuExit";
        QTest::newRow("close box") << "close";
    }
    void closingTheDetailsWindow()
    {
        QFETCH(QString, how);
        details = fakes::program().details();
        details->show();
        QPointer<DetailsWindow> old = details;
        if (how == QLatin1String("close"))
            details->close();
        else if (how == QLatin1String("mnuExit"))
            TRIGGER(details, "mnuExit");
        else
            CLICK(details, "cmdExit");
        fakes::flushDeletes();
        QVERIFY(old.isNull());
        QVERIFY(!fakes::program().existingDetails());
        QCOMPARE(visibleWindows(), QStringList{"frmExitScreen"});
        QCOMPARE(f.processEnd->ends, 0);
    }

    void leavingATestWithExit_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Exit button") << "cmdExit";
        QTest::newRow("File > Exit") << "mnuExit";
        QTest::newRow("close box") << "close";
    }
    void leavingATestWithExit()
    {
        QFETCH(QString, how);
        startTest();
        Watcher watcher;
        watcher.watch(details);
        TestWindow *test = fakes::program().existingTestWindow();
        if (how == QLatin1String("close"))
            test->close();
        else if (how == QLatin1String("mnuExit"))
            TRIGGER(test, "mnuExit");
        else
            CLICK(test, "cmdExit");
        fakes::flushDeletes();
        QCOMPARE(visibleWindows(), QStringList{"frmExitScreen"});
        QVERIFY(fakes::program().existingDetails()); // hidden, with its contents
        QCOMPARE(f.processEnd->ends, 0);

        // Closing the exit screen closes the hidden details window too; it never reappears.
        fakes::program().existingExitScreen()->close();
        fakes::flushDeletes();
        QCOMPARE(watcher.shows.value(QStringLiteral("frmMain")), 0);
        QCOMPARE(watcher.closes.value(QStringLiteral("frmMain")), 1);
        QCOMPARE(f.processEnd->ends, 1);
        QCOMPARE(f.processEnd->lastStatus, 0);
        QVERIFY(fakes::program().windowsInCreationOrder().empty());
        QVERIFY(visibleWindows().isEmpty());
    }

    void endProgramClosesEachWindowOnce_data()
    {
        QTest::addColumn<QString>("scene");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("details only, EndProgram") << "details"
                                                  << "EndProgram" << QStringList{"frmMain"};
        QTest::newRow("details hidden and test window, EndProgram")
            << "test"
            << "EndProgram" << QStringList{"frmMain", "frmDisplay"};
        for (const char *how : {"EndProgram", "exit button", "exit close box"}) {
            if (qstrcmp(how, "EndProgram") != 0) {
                QTest::addRow("details and exit screen, %s", how)
                    << "details" << how << QStringList{"frmMain", "frmExitScreen"};
                QTest::addRow("details hidden, test window and exit screen, %s", how)
                    << "test" << how << QStringList{"frmMain", "frmDisplay", "frmExitScreen"};
            }
            QTest::addRow("exit screen only, %s", how) << "exit" << how << QStringList{"frmExitScreen"};
            QTest::addRow("exit screen before the test window, %s", how)
                << "all" << how << QStringList{"frmMain", "frmExitScreen", "frmDisplay"};
        }
    }
    void endProgramClosesEachWindowOnce()
    {
        QFETCH(QString, scene);
        QFETCH(QString, how);
        QFETCH(QStringList, order);
        if (scene == QLatin1String("details")) {
            fakes::program().details()->show();
        } else if (scene == QLatin1String("test")) {
            startTest();
        } else if (scene == QLatin1String("exit")) {
            fakes::program().exitScreen();
        } else {
            startTest();
            CLICK(fakes::program().existingTestWindow(), "cmdBack"); // leaves the exit screen loaded, hidden
            startTest();
        }
        if (how != QLatin1String("EndProgram") && !fakes::program().existingExitScreen())
            fakes::program().exitScreen();
        // The exit screen is the last window only when nothing created it earlier.
        QStringList created;
        for (QWidget *w : fakes::program().windowsInCreationOrder())
            created << w->objectName();
        QCOMPARE(created, order);

        Watcher watcher;
        for (QWidget *w : fakes::program().windowsInCreationOrder())
            watcher.watch(w);
        if (how == QLatin1String("EndProgram"))
            fakes::program().end();
        else if (how == QLatin1String("exit button"))
            CLICK(fakes::program().existingExitScreen(), "cmdClose");
        else
            fakes::program().existingExitScreen()->close();
        fakes::flushDeletes();

        QCOMPARE(f.processEnd->ends, 1);
        QCOMPARE(f.processEnd->lastStatus, 0);
        for (const QString &name : order)
            QCOMPARE(watcher.closes.value(name), 1);
        if (how == QLatin1String("EndProgram"))
            QCOMPARE(watcher.closeOrder, order);
        QVERIFY(fakes::program().windowsInCreationOrder().empty());
        QVERIFY(visibleWindows().isEmpty());

        // Anything after the end does nothing more.
        fakes::program().end();
        QCOMPARE(f.processEnd->ends, 1);
    }

    void endWithNoWindow()
    {
        fakes::program().end();
        QCOMPARE(f.processEnd->ends, 1);
        QVERIFY(fakes::program().windowsInCreationOrder().empty());
    }
};

QTEST_MAIN(tst_shutdown)
#include "tst_shutdown.moc"
