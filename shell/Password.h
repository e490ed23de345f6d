// The system's screen-saver password services, loaded at run time when present.
#pragma once

#include "support/Win.h"

// True when the saver may end: no password in use, no password service, or the
// right password given in the service's dialog owned by `owner`. Sets
// `mouseMoves` back to 0 after asking the user.
bool VerifyPassword(HWND owner, int& mouseMoves);

// Password mode: the system's change-password dialog, owned by `owner`.
void ChangePassword(HWND owner);
