// Smooth edges: a pixel format with several samples per pixel, which only the
// driver's pixel-format extension can name.
#pragma once

#include "scene/SmoothFrame.h"
#include "support/Win.h"

// A pixel format of `dc` for the scene (double-buffered RGBA with a depth
// buffer, drawn by OpenGL into a window, `colorBits` deep) with
// SmoothEdgeSamples samples per pixel; 0 where the driver offers none, or
// where its contexts have framebuffer objects with samples instead. The
// extension is reached through a context on a hidden window of its own, torn
// down before this returns; `dc`'s format is not set.
int ChooseMultisampleFormat(HDC dc, int colorBits);
