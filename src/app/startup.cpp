#include "startup.h"

#include "app/frmMain.h"
#include "app/resume.h"
#include "app/windows.h"
#include "platform/services.h"
#include "web/banners.h"
#include "web/modHelp.h"

namespace {
const QString kAlreadyRunning = QStringLiteral("Application is already running");
}

void StartProgram()
{
    platform::Services &s = platform::services();
    bool alone = true;
    resume::step([&] { alone = s.instanceGuard->claim(); });
    if (!alone) {
        // The running copy is left alone: nothing is sent to it.
        resume::step([] { platform::messageBox(kAlreadyRunning, platform::BoxIcon::Information); });
        modHelp::EndProgram();
        return;
    }
    resume::step([&] { s.random->seedFromClock(); });
    resume::step(modHelp::OfferUpdateCheck);
    resume::step([] { Windows::main()->show(); });
    resume::step(CoBrand_Randomize);
}
