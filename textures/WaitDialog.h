// The small "Loading the textures. Wait" dialog, shown by a thread of its own
// while the main thread, which owns the OpenGL context, loads the textures.
#pragma once

#include "support/Handles.h"

#include <functional>

extern HWND WaitDialog;     // the latest wait dialog; set by the dialog itself
extern UniqueKernelHandle WaitThread;  // the dialog's thread while a loading runs

// Runs `load` on this thread while a second thread shows dialog 512, then closes
// the dialog with IDOK or IDCANCEL after the result. The dialog closes even when
// the loading ends before it exists, and is off the screen when this returns;
// its thread, whose handle is closed by then, ends on its own soon after.
bool RunWithWaitDialog(const std::function<bool()>& load);

INT_PTR CALLBACK WaitDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
