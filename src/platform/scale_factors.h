// The scale factors a user can give Qt in the environment (QT_SCALE_FACTOR, and one for
// each screen in QT_SCREEN_SCALE_FACTORS). One that is not a finite number in a sane
// range makes windows nobody sees (0, 1e-9, NaN, infinity), a window of one pixel (-1)
// or one of millions: such a variable is dropped before Qt starts, and the windows come
// at the desktop's own scale.
#pragma once

#include <QByteArrayView>
#include <QStringList>

namespace platform {

// The scales a window stays usable at: from half the size to eight times it.
inline constexpr double kSmallestScale = 0.5;
inline constexpr double kLargestScale = 8.0;

// True when text is a usable scale factor ("1", "1.5").
bool usableScaleFactor(QByteArrayView text);

// True when every factor of a per-screen list is usable ("1.5;2", "HDMI-1=2;DP-1=1").
bool usableScreenScaleFactors(QByteArrayView list);

// Unsets each of the two variables that holds an unusable factor; returns a line for
// each, saying so.
QStringList dropUnusableScaleFactors();

} // namespace platform
