// Time arithmetic of the frame: tick differences, the frame rate and the camera
// tilt. Nothing here includes <windows.h> or GL, so it is tested natively.
#pragma once

#include <cstdint>

// Milliseconds from `previous` to `current` of a 32-bit tick count; the
// unsigned difference stays right across the wrap after 49.7 days.
inline std::uint32_t TickDifference(std::uint32_t current, std::uint32_t previous) { return current - previous; }

// Frames per second of `frames` frames in `milliseconds` (> 0): the product in
// 32 bits, the division in floating point, rounded to nearest with halves to even.
std::int32_t FrameRateOf(std::int32_t frames, std::uint32_t milliseconds);

// The camera tilt, degrees, after `elapsed` milliseconds at `rotation`
// (the CamRotation setting; 1/100 degree per millisecond per unit).
float AdvanceTilt(float tilt, std::int32_t elapsed, float rotation);
