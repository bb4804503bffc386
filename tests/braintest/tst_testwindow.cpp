// The test window driven as a user drives it: answering, stepping back and forth,
// the verdicts, the repeated evaluation and the return to the details window.
#include "app/DetailsWindow.h"
#include "app/Program.h"
#include "braintest/TestWindow.h"
#include "braintest/quiz.h"
#include "exit/ExitScreen.h"
#include "fakes.h"
#include "widgets.h"

#include <QAccessible>
#include <QLineEdit>
#include <QtTest>

namespace {
const quiz::State &state()
{
    return fakes::program().quiz();
}
} // namespace

namespace {
// Stacking among siblings: the later child is drawn in front.
bool inFront(const QWidget *a, const QWidget *b)
{
    const QObjectList &siblings = a->parentWidget()->children();
    return siblings.indexOf(const_cast<QWidget *>(a)) > siblings.indexOf(const_cast<QWidget *>(b));
}
} // namespace

class tst_testwindow : public QObject
{
    Q_OBJECT
    fakes::Installed f{};
    DetailsWindow *details = nullptr;
    TestWindow *d = nullptr;

    template <typename T = QWidget>
    T *at(const char *name)
    {
        return widgets::find<T>(d, name);
    }
    QString caption() { return at<QPushButton>("cmdNext")->text(); }

    void startTest()
    {
        details = fakes::program().details();
        details->show();
        QVERIFY(QTest::qWaitForWindowActive(details));
        auto *name = widgets::find<QLineEdit>(details, "txtName");
        if (name->text().isEmpty())
            widgets::type(name, QStringLiteral("ann"));
        widgets::find<QRadioButton>(details, "optFemale")->setChecked(true);
        CLICK(details, "cmdNext");
        d = fakes::program().existingTestWindow();
        QVERIFY(d && d->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(d));
    }

    // Selects the keyed option of the question on screen, or the other one.
    void choose(bool keyed)
    {
        const int q = state().CurrentQuestion;
        const QString key = state().KeyedAnswers[q];
        auto *one = at<QRadioButton>("optAnswerOne");
        auto *two = at<QRadioButton>("optAnswerTwo");
        QRadioButton *target = (one->text() == key) == keyed ? one : two;
        // On the round indicator: Qt takes clicks there and on the caption only.
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, target->height() / 2));
    }

    void answer(bool keyed)
    {
        choose(keyed);
        CLICK(d, "cmdNext");
    }

    void answerAll(int matches)
    {
        for (int q = 0; q < 20; ++q)
            answer(q < matches);
    }

private slots:
    void initTestCase() { fakes::prepareApplication(); }
    void init()
    {
        f = fakes::resetProgram();
        startTest();
    }
    void cleanup()
    {
        QCOMPARE(f.boxes->unscriptedBoxes, 0);
        fakes::resetProgram();
    }

    void firstQuestionComesUpClean()
    {
        QCOMPARE(at<QLabel>("lblQuestion")->text(), QStringLiteral("1.  Do you believe in taking risks?"));
        QCOMPARE(at<QRadioButton>("optAnswerOne")->text(), QStringLiteral("Yes"));
        QCOMPARE(at<QRadioButton>("optAnswerTwo")->text(), QStringLiteral("No"));
        QVERIFY(!at<QRadioButton>("optAnswerOne")->isChecked());
        QVERIFY(!at<QRadioButton>("optAnswerTwo")->isChecked());
        QVERIFY(!at("cmdPrevious")->isEnabled());
        QCOMPARE(caption(), QStringLiteral("&Next"));
        QVERIFY(inFront(at("fraQuestion"), at("fraResult")));
        QVERIFY(!at("cmdLeftBrainResponsible")->isVisibleTo(d));
        QVERIFY(!at("cmdRightBrainResponsible")->isVisibleTo(d));
        QVERIFY(!details->isVisible());
    }

    void nextWithoutAnAnswer_data()
    {
        QTest::addColumn<int>("question");
        QTest::addColumn<bool>("previousEnabled");
        QTest::newRow("question 1") << 1 << false;
        QTest::newRow("question 5") << 5 << true;
        QTest::newRow("question 20, Show My Ability") << 20 << true;
    }
    void nextWithoutAnAnswer()
    {
        QFETCH(int, question);
        QFETCH(bool, previousEnabled);
        for (int q = 1; q < question; ++q)
            answer(true);
        const auto answersBefore = state().Answers;
        f.boxes->answerOk();
        CLICK(d, "cmdNext");
        QCOMPARE(int(f.boxes->shown.size()), 1);
        QCOMPARE(f.boxes->shown[0].text, QStringLiteral("Please choose an answer"));
        QCOMPARE(f.boxes->shown[0].icon, platform::BoxIcon::Critical);
        QCOMPARE(f.boxes->shown[0].caption, QStringLiteral("Brenvo"));
        QCOMPARE(int(state().CurrentQuestion), question - 1);
        QCOMPARE(state().Answers, answersBefore);
        QCOMPARE(at("cmdPrevious")->isEnabled(), previousEnabled);
        QVERIFY(inFront(at("fraQuestion"), at("fraResult")));
    }

    void escAndEnterActAsNext_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("selected");
        QTest::newRow("Esc with an answer") << int(Qt::Key_Escape) << true;
        QTest::newRow("Enter with an answer") << int(Qt::Key_Return) << true;
        QTest::newRow("Esc without") << int(Qt::Key_Escape) << false;
        QTest::newRow("Enter without") << int(Qt::Key_Return) << false;
    }
    void escAndEnterActAsNext()
    {
        QFETCH(int, key);
        QFETCH(bool, selected);
        f.boxes->answerOk(selected ? 0 : 19);
        for (int q = 0; q < 19; ++q) {
            if (selected)
                choose(true);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            QCOMPARE(int(state().CurrentQuestion), selected ? q + 1 : 0);
        }
        QCOMPARE(int(f.boxes->shown.size()), selected ? 0 : 19);
        if (!selected)
            return;
        QCOMPARE(caption(), QStringLiteral("Show My Ability"));
        choose(true);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(at<QLabel>("lblAnswer")->text(), quiz::kVerdictRight);
        // Once the result is up, both keys still reach Next and evaluate again.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(int(state().RightCount), 40);
        QCOMPARE(int(state().CurrentQuestion), 21);
    }

    // A screen reader speaks only what the focus comes to: every question that comes up
    // moves the focus to a panel that reads it out, never to where it already is; the
    // keys that choose an answer go on from there to the first answer.
    void everyQuestionMovesTheFocus_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("selects");
        QTest::newRow("Down") << int(Qt::Key_Down) << false;
        QTest::newRow("Up") << int(Qt::Key_Up) << false;
        QTest::newRow("Right") << int(Qt::Key_Right) << false;
        QTest::newRow("Space") << int(Qt::Key_Space) << true;
    }
    void everyQuestionMovesTheFocus()
    {
        QFETCH(int, key);
        QFETCH(bool, selects);
        // The focused panel is read as the question at hand with its two answers, and no
        // other panel as the question.
        const auto reads = [this](QWidget *w) {
            static const std::pair<const char *, const char *> shown[] = {
                {"1.  Do you believe in taking risks?", "Yes, No"},
                {"2.  Do you remember people by their names or faces?", "Names, Faces"},
                {"3.  Are you good at reading maps or understanding directions from a person?",
                 "Directions from a person, Maps"},
                {"4.  Do you believe in the details or the bigger picture?", "Bigger Picture, Details"}};
            const auto &[question, answers] = shown[state().CurrentQuestion];
            QWidget *other = w == at("Frame1") ? at("Frame3") : at("Frame1");
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
            return iface->text(QAccessible::Name) == QLatin1String(question)
                   && QAccessible::queryAccessibleInterface(other)->text(QAccessible::Name) != QLatin1String(question)
                   && iface->text(QAccessible::Description) == QLatin1String(answers);
        };
        QWidget *before = QApplication::focusWidget();
        QVERIFY(reads(before));
        // Answered from the keyboard, the focus on the answer: Enter moves it on.
        for (int q = 0; q < 3; ++q) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QVERIFY(at<QRadioButton>("optAnswerOne")->isChecked());
            before = QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(int(state().CurrentQuestion), q + 1);
            QVERIFY(QApplication::focusWidget() != before);
            QVERIFY(reads(QApplication::focusWidget()));
        }
        before = QApplication::focusWidget();
        // Previous pressed as a screen reader presses it, the focus staying on the
        // panel: the focus still moves, to the other panel.
        for (int q = 2; q >= 1; --q) {
            at<QPushButton>("cmdPrevious")->click();
            QCOMPARE(int(state().CurrentQuestion), q);
            QVERIFY(QApplication::focusWidget() != before);
            QVERIFY(reads(QApplication::focusWidget()));
            before = QApplication::focusWidget();
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), at("optAnswerOne"));
        QCOMPARE(at<QRadioButton>("optAnswerOne")->isChecked(), selects);
        QVERIFY(!at<QRadioButton>("optAnswerTwo")->isChecked());
    }

    // The result moves the focus to the list in front, which reads out its lines in
    // order under the verdict; Enter, evaluating again, and each tie button move it again.
    void resultMovesTheFocusToItsList_data()
    {
        QTest::addColumn<int>("matches");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("list");
        QTest::newRow("right") << 20 << quiz::kVerdictRight << "fraRightBrainResponsible";
        QTest::newRow("left") << 0 << quiz::kVerdictLeft << "fraLeftBrainResponsible";
        QTest::newRow("tie") << 10 << quiz::kVerdictEqual << "fraRightBrainResponsible";
    }
    void resultMovesTheFocusToItsList()
    {
        QFETCH(int, matches);
        QFETCH(QString, verdict);
        QFETCH(QString, list);
        const auto description = [](QWidget *w) {
            return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
        };
        const auto lines = [this](const QString &name) {
            QList<QLabel *> labels = at(qPrintable(name))->findChildren<QLabel *>();
            std::sort(labels.begin(), labels.end(), [](QLabel *a, QLabel *b) { return a->y() < b->y(); });
            QStringList texts;
            for (QLabel *l : labels)
                texts << l->text();
            return texts.join(QStringLiteral(", "));
        };
        // A screen reader names every control the focus passes: it goes to the list alone.
        QWidgetList passed;
        const QMetaObject::Connection recording =
            connect(qApp, &QApplication::focusChanged, this, [&passed](QWidget *, QWidget *now) { passed << now; });
        answerAll(matches);
        disconnect(recording);
        QVERIFY(!passed.contains(at("cmdBack")));
        QCOMPARE(QApplication::focusWidget(), at(qPrintable(list)));
        QCOMPARE(description(at(qPrintable(list))), lines(list));
        QCOMPARE(QAccessible::queryAccessibleInterface(at("fraResult"))->text(QAccessible::Name), verdict);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), at("fraResult"));
        QVERIFY(description(at("fraResult")).endsWith(lines(list)));
        if (matches != 10)
            return;
        CLICK(d, "cmdLeftBrainResponsible");
        QCOMPARE(QApplication::focusWidget(), at("fraLeftBrainResponsible"));
        QCOMPARE(description(at("fraLeftBrainResponsible")), lines(QStringLiteral("fraLeftBrainResponsible")));
        CLICK(d, "cmdRightBrainResponsible");
        QCOMPARE(QApplication::focusWidget(), at("fraRightBrainResponsible"));
    }

    void captionFollowsTheLastQuestion()
    {
        for (int q = 0; q < 18; ++q)
            answer(true);
        QCOMPARE(caption(), QStringLiteral("&Next"));
        answer(true);
        QCOMPARE(caption(), QStringLiteral("Show My Ability"));
        QCOMPARE(at<QLabel>("lblQuestion")->text(),
                 QStringLiteral("20. Do you remember the music of a song more than the lyrics?"));
        CLICK(d, "cmdPrevious");
        QCOMPARE(caption(), QStringLiteral("&Next"));
        QCOMPARE(int(state().CurrentQuestion), 18);
        answer(false);
        QCOMPARE(caption(), QStringLiteral("Show My Ability"));
    }

    void previousAsksAgainAndTheLastAnswerCounts()
    {
        answer(false);
        answer(false);
        QVERIFY(at("cmdPrevious")->isEnabled());
        CLICK(d, "cmdPrevious");
        QVERIFY(!at<QRadioButton>("optAnswerOne")->isChecked() && !at<QRadioButton>("optAnswerTwo")->isChecked());
        CLICK(d, "cmdPrevious");
        QVERIFY(!at("cmdPrevious")->isEnabled());
        QCOMPARE(int(state().CurrentQuestion), 0);
        // Answered anew, now as keyed; question 3 keeps its old answer until passed again.
        answer(true);
        QVERIFY(at("cmdPrevious")->isEnabled());
        answer(true);
        for (int q = 2; q < 20; ++q)
            answer(q < 9);
        QCOMPARE(at<QLabel>("lblAnswer")->text(), quiz::kVerdictLeft); // 9 matches
        QCOMPARE(int(state().RightCount), 9);
    }

    void answerIsTheOptionText()
    {
        for (int q = 0; q < 14; ++q)
            answer(true);
        QTest::mouseClick(at<QRadioButton>("optAnswerTwo"), Qt::LeftButton, {}, QPoint(8, 10));
        CLICK(d, "cmdNext");
        QCOMPARE(state().Answers[14], QStringLiteral("No, I do not feel they work"));
    }

    void verdicts_data()
    {
        QTest::addColumn<int>("matches");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("front");
        QTest::addColumn<bool>("listButtons");
        QTest::newRow("20 matches") << 20 << quiz::kVerdictRight << "fraRightBrainResponsible" << false;
        QTest::newRow("11 matches") << 11 << quiz::kVerdictRight << "fraRightBrainResponsible" << false;
        QTest::newRow("10 matches") << 10 << quiz::kVerdictEqual << "fraRightBrainResponsible" << true;
        QTest::newRow("9 matches") << 9 << quiz::kVerdictLeft << "fraLeftBrainResponsible" << false;
        QTest::newRow("no match") << 0 << quiz::kVerdictLeft << "fraLeftBrainResponsible" << false;
    }
    void verdicts()
    {
        QFETCH(int, matches);
        QFETCH(QString, verdict);
        QFETCH(QString, front);
        QFETCH(bool, listButtons);
        answerAll(matches);
        QCOMPARE(at<QLabel>("lblAnswer")->text(), verdict);
        QVERIFY(inFront(at("fraResult"), at("fraQuestion")));
        QWidget *right = at("fraRightBrainResponsible");
        QWidget *left = at("fraLeftBrainResponsible");
        QVERIFY(front == QLatin1String("fraRightBrainResponsible") ? inFront(right, left) : inFront(left, right));
        QCOMPARE(at("cmdRightBrainResponsible")->isVisible(), listButtons);
        QCOMPARE(at("cmdLeftBrainResponsible")->isVisible(), listButtons);
        QCOMPARE(int(state().RightCount + state().LeftCount), 20);
        // The verdict is shown whole.
        auto *label = at<QLabel>("lblAnswer");
        QVERIFY(label->geometry().left() >= 0);
        QVERIFY(label->geometry().right() < at("Frame4")->width());
        QVERIFY(label->width() >= label->sizeHint().width());
    }

    void tieButtonsBringTheirListForward()
    {
        answerAll(10);
        QWidget *right = at("fraRightBrainResponsible");
        QWidget *left = at("fraLeftBrainResponsible");
        CLICK(d, "cmdLeftBrainResponsible");
        QVERIFY(inFront(left, right));
        QVERIFY(left->isVisible() && !right->isVisible()); // the covered list is not read out
        CLICK(d, "cmdRightBrainResponsible");
        QVERIFY(inFront(right, left));
        QVERIFY(right->isVisible() && !left->isVisible());
        CLICK(d, "cmdLeftBrainResponsible");
        QVERIFY(inFront(left, right));
        QCOMPARE(at<QLabel>("lblAnswer")->text(), quiz::kVerdictEqual);
    }

    void repeatedEvaluationKeepsTheVerdict_data()
    {
        QTest::addColumn<int>("matches");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("right") << 15 << quiz::kVerdictRight;
        QTest::newRow("left") << 3 << quiz::kVerdictLeft;
        QTest::newRow("tie") << 10 << quiz::kVerdictEqual;
    }
    void repeatedEvaluationKeepsTheVerdict()
    {
        QFETCH(int, matches);
        QFETCH(QString, verdict);
        answerAll(matches);
        const QString lastOption = state().Answers[19];
        if (matches == 10)
            CLICK(d, "cmdLeftBrainResponsible");
        const bool leftInFront = inFront(at("fraLeftBrainResponsible"), at("fraRightBrainResponsible"));
        QTest::keyClick(d->windowHandle(), Qt::Key_Escape);
        // The spare slot takes the repeated answer; the next ones go nowhere.
        QCOMPARE(state().Answers[20], lastOption);
        QCOMPARE(int(state().CurrentQuestion), 21);
        for (int i = 0; i < 5000; ++i)
            QTest::keyClick(d->windowHandle(), i % 2 ? Qt::Key_Escape : Qt::Key_Return);
        QCOMPARE(at<QLabel>("lblAnswer")->text(), verdict);
        QCOMPARE(inFront(at("fraLeftBrainResponsible"), at("fraRightBrainResponsible")), leftInFront);
        QCOMPARE(caption(), QStringLiteral("Show My Ability"));
        // Counters stop below their limit instead of wrapping.
        QVERIFY(state().RightCount >= 0 && state().LeftCount >= 0);
        QVERIFY(state().RightCount + matches > 32767 || state().LeftCount + 20 - matches > 32767);
        QCOMPARE(int(state().RightCount) * (20 - matches), int(state().LeftCount) * matches);
        QCOMPARE(int(state().CurrentQuestion), 5021);
        QVERIFY(f.boxes->shown.empty());
    }

    void coveredQuestionPanelIsOutOfReach()
    {
        answerAll(20);
        QTest::keyClick(d->windowHandle(), Qt::Key_P, Qt::AltModifier); // delivered before it returns
        QCOMPARE(int(state().CurrentQuestion), 20);
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(d->windowHandle(), Qt::Key_Tab);
            QWidget *focus = QApplication::focusWidget();
            QVERIFY(focus);
            QVERIFY2(!at("fraQuestion")->isAncestorOf(focus), qPrintable(focus->objectName()));
        }
    }

    // A screen reader reads what is on screen now, and never what lies behind it.
    void screenReaderReadsWhatIsShown()
    {
        const auto name = [this](const char *control) {
            return QAccessible::queryAccessibleInterface(at(control))->text(QAccessible::Name);
        };
        const auto exposed = [this](const char *control) {
            return !QAccessible::queryAccessibleInterface(at(control))->state().invisible;
        };
        for (int q = 0; q < 20; ++q) {
            QCOMPARE(name("lblQuestion"), at<QLabel>("lblQuestion")->text());
            QCOMPARE(name("optAnswerOne"), at<QRadioButton>("optAnswerOne")->text());
            QCOMPARE(name("optAnswerTwo"), at<QRadioButton>("optAnswerTwo")->text());
            QVERIFY(exposed("fraQuestion"));
            for (const char *covered :
                 {"fraResult", "lblAnswer", "fraRightBrainResponsible", "fraLeftBrainResponsible"})
                QVERIFY2(!exposed(covered), covered);
            answer(q < 15);
        }
        QCOMPARE(name("lblAnswer"), quiz::kVerdictRight);
        QVERIFY(exposed("fraRightBrainResponsible"));
        for (const char *covered : {"fraQuestion", "lblQuestion", "optAnswerOne", "fraLeftBrainResponsible"})
            QVERIFY2(!exposed(covered), covered);
    }

    void backReturnsToTheDetails_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Back") << "cmdBack";
        QTest::newRow("result OK") << "Command1";
        QTest::newRow("File > Back") << "mnuFileBack";
    }
    void backReturnsToTheDetails()
    {
        QFETCH(QString, how);
        const QByteArray control = how.toLatin1();
        if (how == QLatin1String("Command1")) {
            answerAll(10);
        } else {
            answerAll(0);
            CLICK(d, "cmdBack");
            startTest();
            answer(true);
        }
        QPointer<TestWindow> old = d;
        if (how == QLatin1String("mnuFileBack"))
            TRIGGER(d, control.constData());
        else
            CLICK(d, control.constData());
        fakes::flushDeletes();
        QVERIFY(old.isNull());
        QVERIFY(details->isVisible());
        QCOMPARE(widgets::find<QLineEdit>(details, "txtName")->text(), QStringLiteral("ANN"));
        QVERIFY(widgets::find<QRadioButton>(details, "optFemale")->isChecked());
        // Closing the test window brought the exit screen up; Back took it away again.
        QVERIFY(fakes::program().existingExitScreen());
        QVERIFY(!fakes::program().existingExitScreen()->isVisible());
        QCOMPARE(int(state().CurrentQuestion), 0);
        QCOMPARE(int(state().RightCount), 0);
        QCOMPARE(int(state().LeftCount), 0);

        startTest();
        firstQuestionComesUpClean();
    }

    void accessKeysOfTheResultPanel()
    {
        answerAll(10);
        QTest::keyClick(d->windowHandle(), Qt::Key_O, Qt::AltModifier);
        QTRY_VERIFY(details->isVisible());
        QVERIFY(!fakes::program().existingTestWindow());
    }

    void manyTestsLeaveNothingBehind()
    {
        const auto cycle = [this] {
            for (int q = 0; q < 20; ++q) {
                at<QRadioButton>(q % 2 ? "optAnswerOne" : "optAnswerTwo")->click();
                at<QPushButton>("cmdNext")->click();
            }
            at<QPushButton>("Command1")->click();
            // As the event loop would between two tests: paint, then delete the closed window.
            QCoreApplication::processEvents();
            fakes::flushDeletes();
            widgets::find<QPushButton>(details, "cmdNext")->click();
            d = fakes::program().existingTestWindow();
        };
        for (int i = 0; i < 100; ++i)
            cycle();
        const qsizetype windows = QApplication::topLevelWidgets().size();
        for (int i = 0; i < 900; ++i)
            cycle();
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
    }
};

QTEST_MAIN(tst_testwindow)
#include "tst_testwindow.moc"
