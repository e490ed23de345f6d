// Smooth edges through a multisampled framebuffer object: the frame is drawn
// into it and resolved into the window's back buffer. Works wherever the
// context has framebuffer objects with samples, which a multisampled pixel
// format of the window does not guarantee to show (Mesa under Xvfb draws such a
// format with one sample).
#pragma once

inline constexpr int SmoothEdgeSamples = 4;  // samples per pixel

// True when the current context names extension `name`.
bool HasGlExtension(const char* name);
// True when the current context has framebuffer objects with samples.
bool HasFramebufferSamples();

// In the current context: true when it can draw through a multisampled
// framebuffer object. The object itself is made by the first frame.
bool OpenSmoothFrame();
// Deletes the framebuffer object; the context must still be current.
void CloseSmoothFrame();
// True while frames are drawn through the framebuffer object.
bool SmoothFrameOpen();
// Binds the framebuffer object of `width` x `height` pixels (made or remade
// at that size) for a frame; false, drawing into the window, when it cannot.
bool BeginSmoothFrame(int width, int height);
// Resolves the frame into the window's back buffer and binds the window again.
void EndSmoothFrame();
