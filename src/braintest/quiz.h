// The questionnaire and the test in progress: its state, with the tables and counters
// the questionnaire names, and the one class that changes it.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <utility>

namespace quiz {

inline constexpr int kQuestionCount = 20;

struct State
{
    // One slot more than the questions: slot 20 stays empty in the bank, and in
    // Answers it catches the answer of a repeated evaluation.
    std::array<QString, 21> Questions;
    std::array<QString, 41> Options;
    std::array<QString, 21> KeyedAnswers;
    std::array<QString, 21> Answers;
    std::int16_t CurrentQuestion = 0;
    std::int16_t RightCount = 0;
    std::int16_t LeftCount = 0;
};

enum class Verdict { Right, Left, Equal };

// The test in progress, which the Program owns and the test window shows and reports
// the user's steps to: it keeps the state and makes every change to it.
class Test
{
public:
    Test() = default;
    // A test that goes on from the given state.
    explicit Test(State state) : m_state(std::move(state)) {}

    const State &state() const { return m_state; }

    // Fills the question bank, the options and the key; nothing else changes.
    void LoadQuestions();
    // Stores the answer at the current question; past the table (repeated evaluations)
    // it is skipped.
    void recordAnswer(const QString &answer);
    // One question on or back, within the 16-bit range.
    void nextQuestion();
    void previousQuestion();
    // On the last question, and on after it: the next step evaluates.
    bool onLastQuestion() const;
    // Position and counts back to nothing; the answers and the bank stay.
    void restart();
    // Counts the twenty answers against the key into RightCount and LeftCount (adding
    // to whatever they hold) and returns the verdict the counts give.
    Verdict evaluate();

private:
    State m_state;
};

inline const QString kVerdictRight = QStringLiteral("Your Right Brain is more Dominant Than Your Left Brain");
inline const QString kVerdictLeft = QStringLiteral("Your Left Brain is more Dominant Than Your Right Brain");
inline const QString kVerdictEqual = QStringLiteral("Your Left Brain And Right Brain Are Both Used Equally");

// Bounds-checked table access: an index outside the table reads as empty text and
// a write there is skipped (returns false).
template <std::size_t N>
QString slot(const std::array<QString, N> &table, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < N ? table[static_cast<std::size_t>(index)] : QString();
}

template <std::size_t N>
bool store(std::array<QString, N> &table, int index, const QString &value)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return false;
    table[static_cast<std::size_t>(index)] = value;
    return true;
}

// Adds delta to a 16-bit counter unless the result would leave its range; returns
// false when the addition was skipped.
bool add(std::int16_t &counter, int delta);

} // namespace quiz
