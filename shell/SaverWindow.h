// The saver's window and the display mode it runs in.
#pragma once

#include "support/Win.h"

extern DEVMODEA DesktopMode;  // the desktop's display settings when run mode started
extern int DesktopWidth;      // pixels, 0 until queried
extern int DesktopHeight;     // pixels, 0 until queried
extern int DesktopBits;       // bits per pixel, 0 until queried

// Input state written by the window procedure and read by the main loop.
extern bool Keys[256];        // true while the virtual key is held down; 27 ends the saver

// Records the current desktop display mode for full-screen use.
void QueryDesktopMode();
