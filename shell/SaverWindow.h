// The saver's window and the display mode it runs in.
#pragma once

#include "scene/FrameTiming.h"
#include "shell/GlWindow.h"
#include "support/Win.h"

class TPlanetaryModel;

extern DEVMODEA DesktopMode;  // the desktop's display settings when run mode started
extern int DesktopWidth;      // pixels, 0 until queried
extern int DesktopHeight;     // pixels, 0 until queried
extern int DesktopBits;       // bits per pixel, 0 until queried

extern bool FullScreen;       // true while running in the full-screen display mode

extern HWND SaverWindow;      // the saver's window; null when none
extern HDC SaverDC;           // its device context
extern HGLRC SaverRC;         // its OpenGL context
extern RECT WindowRect;       // client rectangle asked for, then the window size

// Input state written by the window procedure and read by the main loop.
extern bool Keys[256];        // true while the virtual key is held down; 27 ends the saver
extern bool WindowActive;     // false while minimised; frames are drawn only while true
extern bool DisplayOff;       // true while Windows reports the display switched off: no frames then
extern int MouseMoves;        // mouse moves counted full screen with MouseMove on
extern TFrameRateMeter FrameMeter;  // restarted by every new window

inline constexpr const char* SaverClassName = "Astrolume";
inline constexpr int MouseMovesAllowed = 20;  // the next one asks to end the saver

// Records the current desktop display mode for full-screen use.
void QueryDesktopMode();

// Registers the window class "Astrolume"; true when it got an atom.
bool RegisterSaverClass();

// How an opening ended. Every failure has torn down what it made and shown its box.
enum class TSceneOpening { Opened, WindowFailed, TexturesFailed };

// Creates the window, its DC, pixel format and current OpenGL context, sets the
// scene state, loads the textures and builds `model`'s display lists; the window
// answers its messages while the textures load. Full screen (FullScreen) uses the
// desktop's size and depth instead.
TSceneOpening OpenSceneWindow(const char* title, int width, int height, int bits, TPlanetaryModel& model);

// Releases whatever OpenSceneWindow created, in reverse order; safe on a partial state.
void CloseSceneWindow();

LRESULT CALLBACK SaverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
