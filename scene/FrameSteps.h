// The steps each view of a frame is drawn in, and the hook after every step
// through which the bench times them.
#pragma once

enum class TFrameStep { Backdrop, Planets, Sun, Overlays };
inline constexpr int FrameStepCount = 4;

// Runs after each step of every view while set. The saver sets none: a frame
// then pays one test of a null pointer per step.
extern void (*FrameStepDrawn)(TFrameStep step);
