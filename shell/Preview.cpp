#include "shell/Preview.h"

// Preview and password modes are not built yet; both end at once.
void ShowPreview() {}

void ChangePassword() {}
