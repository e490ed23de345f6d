#pragma once

#include "support/Win.h"

// Preview mode: once the host shows its window `host`, puts a child window
// over it that paints the preview picture at every repaint, and returns when
// the host has gone. Returns at once when `host` names no window, and without
// a window when the picture cannot be loaded.
void ShowPreview(HWND host);
