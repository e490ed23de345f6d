// The screen-saver password check of run mode.
#pragma once

// True when the saver may end: no password in use, no password service, or
// the right password given. Sets MouseMoves back to 0 after asking the user.
bool VerifyPassword();
