// Runs a step of a forgiving handler: a step that can fail (a platform call, a file)
// and whose failure must not stop the steps after it.
#pragma once

#include <QtGlobal>
#include <exception>

namespace resume {

// Each such step goes through here, so one failing call skips only itself; a try
// around the whole handler would skip everything after the failure. The skip is
// logged, never shown.
template <typename Step>
void step(Step &&fn) noexcept
{
    try {
        fn();
    } catch (const std::exception &e) {
        qWarning("Brenvo: a step failed and was skipped: %s", e.what());
    } catch (...) {
        qWarning("Brenvo: a step failed and was skipped");
    }
}

} // namespace resume
