// The promotional banners: the start-up choice of the banner the details window shows.
#pragma once

#include <cstdint>

class QWidget;
namespace platform {
class RandomSource;
}

namespace banners {

// r * 6 + 1 as a 16-bit whole number, a value exactly halfway going to the even
// neighbour (2.5 gives 2, 3.5 gives 4).
std::int16_t CoBrandNumber(float r);

// Draws a number and brings the details window's co-brand banner (1, 3, 5) or its
// full-brand banner (2, 4, 6) to the front; 7 leaves the load-time order. Returns the
// number drawn.
std::int16_t CoBrand_Randomize(platform::RandomSource &random, QWidget *details);

} // namespace banners
