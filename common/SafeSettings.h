// Values of the settings as the renderer may use them. The settings keep what the
// user typed or stored (the dialog shows it back unchanged); whoever turns a
// setting into geometry or motion asks here first, so that no typed value can
// divide by zero, tessellate forever or put the camera behind the scene.
// No <windows.h> and no GL: built and tested natively too.
#pragma once

#include <cstdint>

// Slices and stacks the quadrics can draw: a disk needs 3 slices, and beyond a
// few hundred the cost per frame grows without any visible gain.
inline constexpr std::int32_t MinQuality = 3;
inline constexpr std::int32_t MaxQuality = 256;

// `Quality` limited to [MinQuality, MaxQuality].
std::int32_t SafeQuality(std::int32_t quality);

// `period` divided by the animation speed. A speed of 0 stops the animation
// instead of dividing by zero: the period is then infinite, and an angle that
// advances by elapsed / period stays where it is. A quotient too large for a
// float is infinite too.
float PeriodAtSpeed(float period, float speed);

// The camera's distance from the centre of the system: a negative distance is
// taken by its size (the camera would otherwise stand behind the scene and
// show nothing); a value that is not a finite number gives the default 25.
float SafeCamDistance(float distance);
