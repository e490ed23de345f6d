// The configuration dialog: every setting, the defaults switch, the volume
// slider and a picture; OK stores the settings, Cancel leaves them.
#pragma once

#include "support/Win.h"

// Shows the configuration dialog modally (no owner) and returns when it is closed.
void ShowConfigDialog();

// The dialog procedure of the configuration dialog template.
INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
