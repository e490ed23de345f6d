#include "dialogs/ConfigDialog.h"

#include "shell/Main.h"

void ShowConfigDialog()
{
    // The dialog itself is not built yet: configuration mode ends at once.
    EndProcess();
}
