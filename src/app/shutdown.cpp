// The program end: every window closes in the order it was created, then the process
// ends once.
#include "app/resume.h"
#include "app/windows.h"
#include "platform/services.h"
#include "web/pages.h"

#include <QPointer>

namespace pages {
namespace {
bool s_ended = false;
bool s_ending = false;
} // namespace

bool IsEnding()
{
    return s_ending || s_ended;
}

void EndProgram()
{
    // The exit screen's close handling calls back in here while the pass below closes
    // it. That inner call closes what is left and ends the process itself; with the
    // real platform it never returns, and with a test's double the outer pass finds
    // the end done and stops.
    if (s_ended)
        return;
    s_ending = true;
    std::vector<QPointer<QWidget>> pass;
    for (QWidget *w : Windows::inCreationOrder())
        pass.emplace_back(w);
    for (const QPointer<QWidget> &window : pass) {
        if (s_ended)
            return;
        if (window.isNull() || Windows::isClosing(window.data()))
            continue;
        resume::step([&window] { window->close(); });
    }
    if (s_ended)
        return;
    s_ended = true;
    resume::step([] { platform::services().processEnd->end(0); });
}

void ResetEndProgram()
{
    s_ended = false;
    s_ending = false;
}

} // namespace pages
