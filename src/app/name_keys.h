// The name box accepts letters and blanks only, and turns small letters into capitals.
#pragma once

#include <QString>
#include <QValidator>

namespace nameKeys {

struct Outcome
{
    QString text;         // what the box receives
    bool refused = false; // true: nothing is inserted and the user is told
};

// Filters characters as typed (one key press or one input-method commit). Letters A-Z
// pass, a-z become capitals, backspace, carriage return and blank pass unchanged;
// anything else refuses the whole input.
Outcome filter(const QString &typed);

// Holds the box to the same rule for text that arrives other than by typing (pasted
// with Shift+Insert, the middle button or the context menu, or dropped): small letters
// become capitals and everything but letters and blanks is dropped, without a word.
class NameValidator final : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

inline const QString kRefusedMessage = QStringLiteral("Please Enter only Letters");

// The most letters the box takes: more than any name, and a paste of a whole file is cut
// to it at once.
constexpr int kMaxLength = 100;

} // namespace nameKeys
