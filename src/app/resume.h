// Runs a step of a handler whose failure must not stop the steps after it.
#pragma once

#include <exception>

namespace resume {

// Each step of a forgiving handler goes through here, so one failing call skips only
// itself; a try around the whole handler would skip everything after the failure.
template <typename Step>
void step(Step &&fn) noexcept
{
    try {
        fn();
    } catch (...) {
    }
}

} // namespace resume
