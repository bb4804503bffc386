// The promotional banners: the texts shared by both main windows and the start-up
// choice of the banner the details window shows.
#pragma once

#include <QString>
#include <cstdint>

namespace banners {

// r * 6 + 1 as a 16-bit whole number, a value exactly halfway going to the even
// neighbour (2.5 gives 2, 3.5 gives 4).
std::int16_t CoBrandNumber(float r);

// The number drawn by the last CoBrand_Randomize.
std::int16_t lastNumber();
void Reset();

} // namespace banners

// Draws a number and brings the details window's co-brand banner (1, 3, 5) or its
// full-brand banner (2, 4, 6) to the front; 7 leaves the load-time order.
void CoBrand_Randomize();
