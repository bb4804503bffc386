// The update prompt: when it asks, what it stores, and that nothing it meets stops
// the program from starting.
#include "app/DetailsWindow.h"
#include "app/Program.h"
#include "fakes.h"
#include "web/pages.h"
#include "web/update_prompt.h"

#include <QtTest>

using platform::BoxAnswer;

class tst_update : public QObject
{
    Q_OBJECT
    fakes::Installed f{};
    const QString key = QStringLiteral("Settings/Duration");
    const QString updatePage = QStringLiteral("https://www.talvern.example/brenvo/ssd.php?page=download-web-page");

private slots:
    void initTestCase() { fakes::prepareApplication(); }
    void init() { f = fakes::resetProgram(); }
    void cleanup()
    {
        QCOMPARE(f.boxes->unscriptedBoxes, 0);
        fakes::resetProgram();
    }

    void prompt_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("answer"); // -1: no prompt expected
        QTest::addColumn<QString>("storedAfter");
        QTest::addColumn<bool>("opens");
        const QDate today(2026, 12, 7);
        const auto iso = [](const QDate &d) { return d.toString(Qt::ISODate); };
        const QString t = iso(today);
        QTest::newRow("first start") << "" << -1 << t << false;
        QTest::newRow("today") << t << -1 << t << false;
        QTest::newRow("14 days before") << iso(today.addDays(-14)) << -1 << iso(today.addDays(-14)) << false;
        QTest::newRow("15 days before, No") << iso(today.addDays(-15)) << int(BoxAnswer::No) << t << false;
        QTest::newRow("15 days before, Yes") << iso(today.addDays(-15)) << int(BoxAnswer::Yes) << t << true;
        QTest::newRow("a year before, Yes") << iso(today.addYears(-1)) << int(BoxAnswer::Yes) << t << true;
        QTest::newRow("14 days after") << iso(today.addDays(14)) << -1 << iso(today.addDays(14)) << false;
        QTest::newRow("15 days after, No") << iso(today.addDays(15)) << int(BoxAnswer::No) << t << false;
        QTest::newRow("not a date") << "not a date" << -1 << "not a date" << false;
        QTest::newRow("impossible date") << "2026-13-45" << -1 << "2026-13-45" << false;
        QTest::newRow("a locale's short date") << "07/11/2026" << -1 << "07/11/2026" << false;
        QTest::newRow("date with a time") << "2025-01-01T10:00:00" << -1 << "2025-01-01T10:00:00" << false;
    }
    void prompt()
    {
        QFETCH(QString, stored);
        QFETCH(int, answer);
        QFETCH(QString, storedAfter);
        QFETCH(bool, opens);
        if (!stored.isEmpty())
            f.settings->values.insert(key, stored);
        if (answer >= 0)
            f.boxes->answers.push_back(BoxAnswer(answer));
        bool openedBeforeAnswer = false;
        f.boxes->whileShown = [&] { openedBeforeAnswer = !f.browser->opened.isEmpty(); };
        updatePrompt::OfferUpdateCheck(fakes::program().services());
        if (answer < 0) {
            QVERIFY(f.boxes->shown.empty());
        } else {
            QCOMPARE(int(f.boxes->shown.size()), 1);
            const platform::BoxRequest &box = f.boxes->shown[0];
            QCOMPARE(box.text, QStringLiteral("There maybe an update to this software available\r"
                                              "Do you want to check for an update?"));
            QCOMPARE(box.buttons, platform::BoxButtons::YesNo);
            QCOMPARE(box.icon, platform::BoxIcon::Information);
            QCOMPARE(box.caption, QStringLiteral("Brenvo"));
            QVERIFY(!openedBeforeAnswer);
        }
        QCOMPARE(f.settings->values.value(key), storedAfter);
        QCOMPARE(f.settings->writes, storedAfter == stored ? 0 : 1);
        QCOMPARE(f.browser->opened, opens ? QStringList{updatePage} : QStringList{});
    }

    void startUpSurvivesTheStore_data()
    {
        QTest::addColumn<bool>("unreadable");
        QTest::addColumn<bool>("unwritable");
        QTest::addColumn<int>("browser");
        QTest::newRow("unreadable") << true << false << int(fakes::Browser::Mode::Opens);
        QTest::newRow("unwritable") << false << true << int(fakes::Browser::Mode::Opens);
        QTest::newRow("prompt, Yes, browser broken") << false << false << int(fakes::Browser::Mode::Broken);
    }
    void startUpSurvivesTheStore()
    {
        QFETCH(bool, unreadable);
        QFETCH(bool, unwritable);
        QFETCH(int, browser);
        f.settings->unreadable = unreadable;
        f.settings->unwritable = unwritable;
        f.browser->mode = fakes::Browser::Mode(browser);
        if (!unreadable && !unwritable) {
            f.settings->values.insert(key, QStringLiteral("2020-01-01"));
            f.boxes->answers.push_back(BoxAnswer::Yes);
        }
        fakes::program().start();
        QVERIFY(fakes::program().existingDetails() && fakes::program().existingDetails()->isVisible());
        QCOMPARE(f.processEnd->ends, 0);
    }

    void promptComesBeforeAnyWindow()
    {
        f.settings->values.insert(key, QStringLiteral("2026-11-01"));
        f.boxes->answers.push_back(BoxAnswer::No);
        bool windowDuringPrompt = true;
        int drawsDuringPrompt = -1;
        f.boxes->whileShown = [&] {
            windowDuringPrompt = fakes::program().existingDetails() != nullptr;
            drawsDuringPrompt = f.random->draws;
        };
        fakes::program().start();
        QVERIFY(!windowDuringPrompt);
        QCOMPARE(drawsDuringPrompt, 0);
        QCOMPARE(f.random->seeds, 1);
        QCOMPARE(f.random->draws, 1); // the banner, after the window is up
        QVERIFY(fakes::program().existingDetails()->isVisible());
    }

    void secondCopyShowsOnlyItsBox()
    {
        f.guard->alone = false;
        f.boxes->answerOk();
        fakes::program().start();
        QCOMPARE(int(f.boxes->shown.size()), 1);
        QCOMPARE(f.boxes->shown[0].text, QStringLiteral("Application is already running"));
        QCOMPARE(f.boxes->shown[0].icon, platform::BoxIcon::Information);
        QCOMPARE(f.boxes->shown[0].buttons, platform::BoxButtons::Ok);
        QCOMPARE(f.processEnd->ends, 1);
        QCOMPARE(f.processEnd->lastStatus, 0);
        QVERIFY(fakes::program().windowsInCreationOrder().empty());
        QCOMPARE(f.settings->writes, 0);
        QCOMPARE(f.random->seeds, 0);
    }
};

QTEST_MAIN(tst_update)
#include "tst_update.moc"
