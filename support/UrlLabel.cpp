#include "support/UrlLabel.h"

// The label itself arrives with the About dialog; start-up and shut-down already
// call these at the points where the class is registered and unregistered.
bool RegisterUrlLabelClass() { return true; }

void UnregisterUrlLabelClass() {}
