// The questionnaire and the state of the test in progress, which the Program owns and
// the test window works on.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

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

// Fills the question bank, the options and the key.
void LoadQuestions(State &state);

// The test in progress: the answer to the question on screen, moving between the
// questions, and starting again.

// Stores the answer at the current question; past the table (repeated evaluations) it
// is skipped.
void recordAnswer(State &state, const QString &answer);
// One question on or back, within the 16-bit range.
void nextQuestion(State &state);
void previousQuestion(State &state);
// On the last question, and on after it: the next step evaluates.
bool onLastQuestion(const State &state);
// Position and counts back to nothing; the answers and the bank stay.
void restart(State &state);

enum class Verdict { Right, Left, Equal };

// Counts the twenty answers against the key into RightCount and LeftCount (adding to
// whatever they hold) and returns the verdict the counts give.
Verdict evaluate(State &state);

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
