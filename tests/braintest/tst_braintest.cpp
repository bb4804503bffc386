// The question bank and the counting of answers against the key.
#include "braintest/quiz.h"

#include <QtTest>
#include <limits>

using namespace quiz;

class tst_braintest : public QObject
{
    Q_OBJECT
    Test t;
    const State &state() const { return t.state(); }
    // Goes on from the present state with one change made to it.
    template <typename Change>
    void set(Change change)
    {
        State s = t.state();
        change(s);
        t = Test(s);
    }

private slots:
    void init() { t = Test{}; }

    void bankHoldsTheQuestionnaireExactly_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("keyed");
        QTest::newRow("1: two blanks after the number") << 0 << "1.  Do you believe in taking risks?"
                                                        << "Yes";
        QTest::newRow("4: capital P") << 3 << "4.  Do you believe in the details or the bigger picture?"
                                      << "Bigger Picture";
        QTest::newRow("5: trailing blank") << 4
                                           << "5.  Do you believe in planning your activities for the day or go about "
                                              "it as and when you have to do them? "
                                           << "Do not think in advance";
        QTest::newRow("6: No is keyed") << 5 << "6.  Are you organized by nature?"
                                        << "No";
        QTest::newRow("10: one blank") << 9 << "10. How good are you at memorizing things?"
                                       << "Bad";
        QTest::newRow("13: Own and a blank before ?")
            << 12 << "13.  Do you ask for help in implementing new tasks or find out how to go about it on your Own ?"
            << "Find out ways on my own";
        QTest::newRow("15: a statement") << 14 << "15. I keep a To Do List for my daily jobs."
                                         << "No, I do not feel they work";
        QTest::newRow("18: No is keyed") << 17 << "18. Do you have a general idea of time without looking at the watch?"
                                         << "No";
        QTest::newRow("20") << 19 << "20. Do you remember the music of a song more than the lyrics?"
                            << "Music";
    }
    void bankHoldsTheQuestionnaireExactly()
    {
        QFETCH(int, slot);
        QFETCH(QString, question);
        QFETCH(QString, keyed);
        t.LoadQuestions();
        QCOMPARE(state().Questions[slot], question);
        QCOMPARE(state().KeyedAnswers[slot], keyed);
    }

    void everyKeyIsOneOfItsOwnOptions()
    {
        t.LoadQuestions();
        int keyedFirst = 0;
        for (int i = 0; i < kQuestionCount; ++i) {
            const QString &key = state().KeyedAnswers[i];
            const bool first = key == state().Options[2 * i];
            const bool second = key == state().Options[2 * i + 1];
            QVERIFY2(first != second, qPrintable(QString::number(i)));
            keyedFirst += first;
        }
        QCOMPARE(keyedFirst, 9);
        QVERIFY(state().Questions[20].isEmpty());
        QVERIFY(state().Options[40].isEmpty());
        QVERIFY(state().KeyedAnswers[20].isEmpty());
    }

    void loadingAgainChangesNothingElse()
    {
        t.LoadQuestions();
        const State before = t.state();
        set([](State &s) {
            s.Answers[3] = QStringLiteral("Details");
            s.CurrentQuestion = 7;
            s.RightCount = 2;
            s.LeftCount = 5;
        });
        t.LoadQuestions();
        QCOMPARE(state().Questions, before.Questions);
        QCOMPARE(state().Options, before.Options);
        QCOMPARE(state().KeyedAnswers, before.KeyedAnswers);
        QCOMPARE(state().Answers[3], QStringLiteral("Details"));
        QCOMPARE(state().CurrentQuestion, std::int16_t(7));
        QCOMPARE(state().RightCount, std::int16_t(2));
        QCOMPARE(state().LeftCount, std::int16_t(5));
    }

    void evaluation_data()
    {
        QTest::addColumn<int>("matches");
        QTest::addColumn<int>("verdict");
        QTest::newRow("20") << 20 << int(Verdict::Right);
        QTest::newRow("11") << 11 << int(Verdict::Right);
        QTest::newRow("10") << 10 << int(Verdict::Equal);
        QTest::newRow("9") << 9 << int(Verdict::Left);
        QTest::newRow("0") << 0 << int(Verdict::Left);
    }
    void evaluation()
    {
        QFETCH(int, matches);
        QFETCH(int, verdict);
        t.LoadQuestions();
        for (int i = 0; i < kQuestionCount; ++i) {
            const QString key = state().KeyedAnswers[i];
            const QString other = key == state().Options[2 * i] ? state().Options[2 * i + 1] : state().Options[2 * i];
            set([&](State &s) { s.Answers[i] = i < matches ? key : other; });
        }
        QCOMPARE(int(t.evaluate()), verdict);
        QCOMPARE(int(state().RightCount), matches);
        QCOMPARE(int(state().LeftCount), 20 - matches);
    }

    void comparisonIsExactAndUnansweredCountsLeft()
    {
        t.LoadQuestions();
        set([](State &s) {
            s.Answers[0] = QStringLiteral("yes"); // keyed "Yes"
            s.Answers[3] = QStringLiteral("Bigger picture");
            s.Answers[1] = QStringLiteral("Faces ");
        });
        t.evaluate();
        QCOMPARE(int(state().RightCount), 0);
        QCOMPARE(int(state().LeftCount), 20);
    }

    void tablesAndCountersNeverOverrun()
    {
        std::array<QString, 21> table;
        QVERIFY(store(table, 20, QStringLiteral("x")));
        QVERIFY(!store(table, 21, QStringLiteral("x")));
        QVERIFY(!store(table, -1, QStringLiteral("x")));
        QVERIFY(slot(table, 32767).isEmpty());
        std::int16_t counter = std::numeric_limits<std::int16_t>::max() - 1;
        QVERIFY(add(counter, 1));
        QVERIFY(!add(counter, 1));
        QCOMPARE(counter, std::numeric_limits<std::int16_t>::max());
        counter = std::numeric_limits<std::int16_t>::min();
        QVERIFY(!add(counter, -1));
    }

    // Next evaluates from the last question on, however often; past the table the
    // answer is not kept and the position stops at the end of its range.
    void positionAndRestart()
    {
        QVERIFY(!t.onLastQuestion());
        for (int i = 0; i < 19; ++i)
            t.nextQuestion();
        QVERIFY(t.onLastQuestion());
        t.previousQuestion();
        QVERIFY(!t.onLastQuestion());
        set([](State &s) { s.CurrentQuestion = 20; });
        t.recordAnswer(QStringLiteral("Yes"));
        QCOMPARE(state().Answers[20], QStringLiteral("Yes"));
        set([](State &s) { s.CurrentQuestion = std::numeric_limits<std::int16_t>::max(); });
        t.recordAnswer(QStringLiteral("No"));
        t.nextQuestion();
        QCOMPARE(state().CurrentQuestion, std::numeric_limits<std::int16_t>::max());
        QVERIFY(t.onLastQuestion());
        set([](State &s) {
            s.RightCount = 7;
            s.LeftCount = 13;
        });
        t.restart();
        QCOMPARE(int(state().CurrentQuestion) + state().RightCount + state().LeftCount, 0);
        QCOMPARE(state().Answers[20], QStringLiteral("Yes"));
    }
};

QTEST_GUILESS_MAIN(tst_braintest)
#include "tst_braintest.moc"
