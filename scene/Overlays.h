// The last drawing step of a frame: the clock in the lower right corner, the
// frame rate in the upper left, then the description panel.
#pragma once

#include "descriptions/ShowMsg.h"
#include "support/Win.h"

#include <cstdint>

// Where the clock reads the local time; a test may point it at a fixed time.
using TLocalTimeSource = void(WINAPI*)(LPSYSTEMTIME);
extern TLocalTimeSource LocalTimeSource;

// Draws what Settings asks for over the scene, then the panel once it is active.
// Leaves the OpenGL state as it found it.
void DrawOverlays(std::int32_t frameRate, TDrawMsg* panel);
// Parts of DrawOverlays; each draws nothing when its setting is off.
void DrawClock();
void DrawFrameRate(std::int32_t frameRate);
