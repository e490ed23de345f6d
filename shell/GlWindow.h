// The saver's window as OpenGL draws into it: the window, its DC with the
// scene's pixel format, and a context current on this thread, owned together.
#pragma once

#include "support/Win.h"

// True when pixel format `format` of `dc` is one the scene can be drawn in:
// double-buffered RGBA with a depth buffer, drawn by OpenGL into a window.
bool IsSceneFormat(HDC dc, int format);

class TGlWindow {
public:
    // Makes a window of class `className` over `frame` (desktop pixels), takes
    // its DC, sets a pixel format `bits` deep (with samples where Settings asks
    // for smooth edges and the driver offers them) and makes a context current.
    // Stops at the first step that fails; Failure() names it.
    TGlWindow(const char* className, const char* title, DWORD exStyle, DWORD style, const RECT& frame, int bits);
    // Releases what was made in reverse order, each refusal in its shutdown box.
    ~TGlWindow();
    TGlWindow(const TGlWindow&) = delete;
    TGlWindow& operator=(const TGlWindow&) = delete;

    // The message of the step that failed; 0 when the whole window was made.
    unsigned Failure() const { return failure_; }
    HWND Window() const { return window_; }
    HDC DC() const { return dc_; }
    HGLRC Context() const { return context_; }

private:
    unsigned Open(const char* className, const char* title, DWORD exStyle, DWORD style, const RECT& frame, int bits);

    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
    unsigned failure_ = 0;
};
