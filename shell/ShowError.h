#pragma once

#include "resources/ResourceIds.h"

// The program's one error box: caption and text from the string table, `text`
// in place of a %s in the message, OK button, error icon, task-modal, no owner,
// above every window that is not topmost itself.
void ShowError(const char* text, unsigned messageId, unsigned captionId);

// The same texts, loaded and formatted as ShowError shows them; used by the
// questions that need other buttons.
struct ErrorText {
    char caption[1024];
    char message[1024];
};
void LoadErrorText(const char* text, unsigned messageId, unsigned captionId, ErrorText& out);
