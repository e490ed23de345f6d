// The hyperlink label of the dialogs, a child window of class "UrlLabel".
#pragma once

inline constexpr const char* UrlLabelClassName = "UrlLabel";

// Registered once at start-up, unregistered at the end of the process.
bool RegisterUrlLabelClass();
void UnregisterUrlLabelClass();
