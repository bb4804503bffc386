#include "banners.h"

#include "app/DetailsWindow.h"
#include "app/windows.h"
#include "platform/services.h"
#include "ui/forms.h"

#include <QLabel>
#include <cmath>

namespace banners {
namespace {
// Written and read by CoBrand_Randomize only; kept for the run.
std::int16_t intCoBrandRandomNumber = 0;
} // namespace

std::int16_t CoBrandNumber(float r)
{
    const float value = r * 6.0f + 1.0f;
    const float below = std::floor(value);
    const float fraction = value - below;
    float rounded = below;
    if (fraction > 0.5f || (fraction == 0.5f && std::fmod(below, 2.0f) != 0.0f))
        rounded = below + 1.0f;
    if (!(rounded >= 1.0f && rounded <= 7.0f))
        return 7; // outside the generator's promise: keep the load-time order
    return static_cast<std::int16_t>(rounded);
}

std::int16_t lastNumber()
{
    return intCoBrandRandomNumber;
}

void Reset()
{
    intCoBrandRandomNumber = 0;
}

} // namespace banners

void CoBrand_Randomize()
{
    const std::int16_t n = banners::CoBrandNumber(platform::services().random->next());
    banners::intCoBrandRandomNumber = n;
    QWidget *details = Windows::main();
    const char *front = nullptr;
    if (n == 2 || n == 4 || n == 6)
        front = "lblFullBrand";
    else if (n == 1 || n == 3 || n == 5)
        front = "lblCobrand";
    if (!front)
        return;
    if (auto *label = details->findChild<QLabel *>(QString::fromLatin1(front)))
        forms::bringToFront(label);
}
