// The main loop of run mode: one window message or one frame per pass, the
// frame-rate measurement, the full-screen toggle and the ways the saver ends.
#pragma once

#include <cstdint>

extern std::int32_t FrameCount;  // frames presented since FpsStart
extern std::uint32_t FpsStart;   // tick count when the current measurement second began
extern std::uint32_t FpsNow;     // tick count after the latest presented frame
extern std::int32_t FrameRate;   // frames per second of the last completed measurement
extern bool Done;                // the loop ends after the pass that sets it

inline constexpr const char* FpsCaptionFormat = "Astrolume - FPS = %d";

// Starts a new measurement second now (a new window starts one).
void RestartFrameRate();

// Counts one presented frame; once more than a second has passed, sets FrameRate,
// the window caption and the panel's calibration, and starts a new second.
void MeasureFrameRate();

// Runs until Esc, space, a granted mouse request or WM_QUIT. `width`, `height`
// and `bits` are given to OpenSceneWindow on an F4 toggle. On return the window
// is torn down and Model is freed, except after a failed toggle.
void RunMainLoop(int width, int height, int bits);
