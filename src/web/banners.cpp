#include "banners.h"

#include "platform/services.h"

#include <cmath>

namespace banners {

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

Banner CoBrand_Randomize(platform::RandomSource &random)
{
    const std::int16_t n = CoBrandNumber(random.next());
    if (n == 2 || n == 4 || n == 6)
        return Banner::FullBrand;
    if (n == 1 || n == 3 || n == 5)
        return Banner::CoBrand;
    return Banner::LoadOrder;
}

} // namespace banners
