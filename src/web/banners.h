// The promotional banners: the start-up choice of the banner the details window shows.
#pragma once

#include <cstdint>

namespace platform {
class RandomSource;
}

namespace banners {

enum class Banner {
    LoadOrder, // as the window loaded: nothing brought forward
    CoBrand,
    FullBrand,
};

// r * 6 + 1 as a 16-bit whole number, a value exactly halfway going to the even
// neighbour (2.5 gives 2, 3.5 gives 4).
std::int16_t CoBrandNumber(float r);

// Draws a number: the co-brand banner for 1, 3 and 5, the full-brand banner for 2, 4
// and 6, the load-time order for 7.
Banner CoBrand_Randomize(platform::RandomSource &random);

} // namespace banners
