// The About dialog: title and version in drawn, shadowed lettering, credits, and
// three links opened through the shell.
#pragma once

#include "support/Win.h"

#include <string>

// Shows the dialog modally over `Owner` and returns when it is closed.
void ShowAboutDialog(HWND Owner);

// The dialog procedure of the About dialog template.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What a click on a link does with the link's text. The program asks the shell
// to open it; a test puts a recorder here so that no mail client or browser
// starts. Returns the opener that was installed before.
using LinkOpener = void (*)(const std::string& Link);
LinkOpener SetLinkOpener(LinkOpener Opener);
void OpenLink(const std::string& Link);
