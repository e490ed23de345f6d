// The saver's real frame drawn again and again in a window of a given size,
// each frame advanced by the same fixed step, so that every run draws the same.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>

struct FrameOptions {
    int warmUpFrames = 60;
    int measuredFrames = 300;
    std::int32_t stepMs = 20;  // animation step of every frame
    std::string shot;          // where to write one more frame, its clock at noon, as a PPM; empty for none
};

// NaN where the system gave no figure.
struct FrameFigures {
    double openMs = 0;           // OpenSceneWindow: context, textures and display lists
    double framesPerSecond = 0;  // measured frames over their wall time
    double medianMs = 0;         // per frame: messages, frame and buffer swap
    double p95Ms = 0;
    double cpuPerSecond = 0;     // process CPU seconds per wall second
    double allocationsPerFrame = 0;
    // Per plain frame, after the measured ones and the shot: each step (backdrop,
    // planets, Sun, overlays) to the end of its GL work, the mean of StepFrames.
    // NaN for smooth edges and for revisions without the steps' hook.
    std::array<double, 4> stepMs;
    FrameFigures() { stepMs.fill(std::numeric_limits<double>::quiet_NaN()); }
};

inline constexpr int StepFrames = 60;

// True when the frame is handed its step; false for revisions whose frame took
// its step from the tick count, where the bench sets the count before each frame.
extern const bool StepHandedIn;

// True when the settings have smooth edges; revisions without them draw plainly.
extern const bool SmoothEdgesKnown;

// Opens the saver's window with a client area of `width` x `height` pixels over
// the data library in DataLibrary, with smooth edges on or off where they are
// known, then draws and times. False, with `error` saying why, when the window
// could not be opened or sized or a frame failed.
bool MeasureFrames(int width, int height, bool smoothEdges, const FrameOptions& options, FrameFigures& figures,
                   std::string& error);
