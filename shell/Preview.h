#pragma once

#include "support/Win.h"

// Preview mode: draws the preview picture into the host's window `host` once
// the host shows it; returns at once when `host` names no window.
void ShowPreview(HWND host);
