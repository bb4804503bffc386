// The exit screen's handlers trap nothing: an unexpected failure is reported once and
// the program ends.
#pragma once

#include "platform/services.h"

#include <exception>

namespace fatal {

// Runs fn; a failure is reported in a box of owner's, then end() ends the program.
template <typename Handler, typename End>
void run(platform::MessageBoxService &boxes, QWidget *owner, Handler &&fn, End &&end)
{
    QString what;
    try {
        fn();
        return;
    } catch (const std::exception &e) {
        what = QString::fromLocal8Bit(e.what());
    } catch (...) {
        what = QStringLiteral("unknown error");
    }
    try {
        platform::messageBox(boxes, owner,
                             QStringLiteral("Brenvo has met an unexpected error and will close.\n") + what,
                             platform::BoxIcon::Critical);
    } catch (...) {
    }
    end();
}

} // namespace fatal
