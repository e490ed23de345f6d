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
// (the CamRotation setting; 1/100 degree per millisecond per unit), within one turn.
float AdvanceTilt(float tilt, std::int32_t elapsed, float rotation);

// The main loop's frame-rate measurement: frames counted over a little more than
// a second at a time. The caller hands in the tick count, so it runs anywhere.
struct TFrameRateMeter {
    std::int32_t FrameCount = 0;  // frames presented since FpsStart
    std::uint32_t FpsStart = 0;   // tick count when the current measurement began, ms
    std::uint32_t FpsNow = 0;     // tick count after the latest presented frame, ms
    std::int32_t FrameRate = 0;   // frames per second of the last completed measurement

    // Starts a new measurement at `now` (a new window starts one).
    void Restart(std::uint32_t now);
    // Counts one presented frame at `now`; once more than 1000 ms have passed,
    // sets FrameRate, starts the next measurement and returns true.
    bool Count(std::uint32_t now);
};
