#include "startup.h"

#include "app/DetailsWindow.h"
#include "app/resume.h"
#include "app/windows.h"
#include "platform/services.h"
#include "web/banners.h"
#include "web/pages.h"

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
        pages::EndProgram();
        return;
    }
    resume::step([&] { s.random->seedFromClock(); });
    resume::step(pages::OfferUpdateCheck);
    resume::step([] { Windows::main()->show(); });
    resume::step(CoBrand_Randomize);
}
