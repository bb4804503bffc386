// Every state a window shows, made as a user makes it: the details window with each
// banner in front, a question, each verdict with its list, a tie with the left list
// brought forward, the about window, and the exit screen with each support message.
#pragma once

#include "fakes.h"

#include <QString>
#include <QWidget>

namespace states {

// "details-cobrand", "details-fullbrand", "question", "result-right", "result-left",
// "result-tie", "result-tie-left", "about", "exit-0" ... "exit-3".
QStringList all();

// Shows the window in that state, made with the doubles given; null for a state that
// is none of the above.
QWidget *show(fakes::Installed &f, const QString &state);

} // namespace states
