// The name box accepts letters and blanks only, and turns small letters into capitals.
#pragma once

#include <QString>

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

inline const QString kRefusedMessage = QStringLiteral("Please Enter only Letters");

} // namespace nameKeys
