// The exit screen's handlers trap nothing: an unexpected failure is reported once and
// the program ends.
#pragma once

#include "platform/services.h"
#include "web/pages.h"

#include <exception>

namespace fatal {

// A failure is reported in a box of owner's.
template <typename Handler>
void run(QWidget *owner, Handler &&fn)
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
        platform::messageBox(owner, QStringLiteral("Brenvo has met an unexpected error and will close.\n") + what,
                             platform::BoxIcon::Critical);
    } catch (...) {
    }
    pages::EndProgram();
}

} // namespace fatal
