#pragma once

// Preview mode: draws the preview picture into the host's window (second argument).
void ShowPreview();
// Password mode: the system's change-password dialog, owned by the second argument.
void ChangePassword();
