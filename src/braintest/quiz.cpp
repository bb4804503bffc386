#include "quiz.h"

#include <limits>

namespace quiz {
namespace {

struct Item
{
    const char16_t *question;
    const char16_t *first;
    const char16_t *second;
    bool keyIsFirst;
};

// Texts exactly as shown, including the double blanks after some numbers, the
// trailing blank of question 5 and "Own ?" in question 13.
constexpr Item kBank[kQuestionCount] = {
    {u"1.  Do you believe in taking risks?", u"Yes", u"No", true},
    {u"2.  Do you remember people by their names or faces?", u"Names", u"Faces", false},
    {u"3.  Are you good at reading maps or understanding directions from a person?", u"Directions from a person",
     u"Maps", false},
    {u"4.  Do you believe in the details or the bigger picture?", u"Bigger Picture", u"Details", true},
    {u"5.  Do you believe in planning your activities for the day or go about it as and when you have to do them? ",
     u"Plan in advance", u"Do not think in advance", false},
    {u"6.  Are you organized by nature?", u"Yes", u"No", false},
    {u"7.  Do you believe in preparing yourself for the unexpected or face things as they happen?",
     u"Cross the bridge when I come to it", u"Prepare for the worst", true},
    {u"8.  Do you have a good imagination?", u"Yes", u"No", true},
    {u"9.  Are you good at creative writing?", u"Yes", u"No", true},
    {u"10. How good are you at memorizing things?", u"Good", u"Bad", false},
    {u"11. Do you day dream?", u"Yes", u"No", true},
    {u"12. Are you considered to be a consistent person or unpredictable by nature?", u"Consistent", u"Unpredictable",
     false},
    {u"13.  Do you ask for help in implementing new tasks or find out how to go about it on your Own ?",
     u"Ask for help", u"Find out ways on my own", false},
    {u"14. When faced with a situation do you analyze it before coming to a decision or do what you feel is best at "
     u"that moment?",
     u"Analyze the situation thoroughly", u"Act on my instincts", false},
    {u"15. I keep a To Do List for my daily jobs.", u"Yes", u"No, I do not feel they work", false},
    {u"16.  Do you follow what others follow or make an attempt to find out simpler solutions?",
     u"Find new solutions to old problems", u"Follow the path made by others", true},
    {u"17.  Do you prefer to work in groups or alone?", u"Groups", u"Alone", true},
    {u"18. Do you have a general idea of time without looking at the watch?", u"Yes", u"No", false},
    {u"19. Did you prefer algebra or geometry in school?", u"Algebra", u"Geometry", false},
    {u"20. Do you remember the music of a song more than the lyrics?", u"Music", u"Lyrics", true},
};

} // namespace

void Test::LoadQuestions()
{
    State &s = m_state;
    for (int i = 0; i < kQuestionCount; ++i) {
        const Item &item = kBank[i];
        const QString first = QString::fromUtf16(item.first);
        const QString second = QString::fromUtf16(item.second);
        store(s.Questions, i, QString::fromUtf16(item.question));
        store(s.Options, 2 * i, first);
        store(s.Options, 2 * i + 1, second);
        store(s.KeyedAnswers, i, item.keyIsFirst ? first : second);
    }
}

void Test::recordAnswer(const QString &answer)
{
    store(m_state.Answers, m_state.CurrentQuestion, answer);
}

void Test::nextQuestion()
{
    add(m_state.CurrentQuestion, 1);
}

void Test::previousQuestion()
{
    add(m_state.CurrentQuestion, -1);
}

bool Test::onLastQuestion() const
{
    return m_state.CurrentQuestion >= kQuestionCount - 1;
}

void Test::restart()
{
    m_state.CurrentQuestion = 0;
    m_state.RightCount = 0;
    m_state.LeftCount = 0;
}

bool add(std::int16_t &counter, int delta)
{
    const int sum = counter + delta;
    if (sum > std::numeric_limits<std::int16_t>::max() || sum < std::numeric_limits<std::int16_t>::min())
        return false;
    counter = static_cast<std::int16_t>(sum);
    return true;
}

Verdict Test::evaluate()
{
    State &s = m_state;
    int right = 0;
    for (int i = 0; i < kQuestionCount; ++i) {
        // Exact, case-sensitive text match; an unanswered (empty) slot never matches.
        if (slot(s.KeyedAnswers, i) == slot(s.Answers, i) && !slot(s.KeyedAnswers, i).isEmpty())
            ++right;
    }
    const int left = kQuestionCount - right;
    // Repeated evaluations add up; once one more would overflow either counter, the
    // counts stay as they are, so the verdict they give never changes.
    std::int16_t newRight = s.RightCount;
    std::int16_t newLeft = s.LeftCount;
    if (add(newRight, right) && add(newLeft, left)) {
        s.RightCount = newRight;
        s.LeftCount = newLeft;
    }
    if (s.RightCount > s.LeftCount)
        return Verdict::Right;
    if (s.RightCount < s.LeftCount)
        return Verdict::Left;
    return Verdict::Equal;
}

} // namespace quiz
