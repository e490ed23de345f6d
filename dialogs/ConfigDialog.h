// The configuration dialog: every setting, the defaults switch, the volume
// slider and a picture; OK stores the settings, Cancel leaves them.
#pragma once

#include "support/Win.h"

// Shows the configuration dialog modally and returns when it is closed. With a
// live `owner` (the settings window that asked for it) the dialog belongs to it:
// above it, centred on it, and the owner waits for it; otherwise it has none.
void ShowConfigDialog(HWND owner = nullptr);

// The dialog procedure of the configuration dialog template.
INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
