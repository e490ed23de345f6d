#pragma once

// Shows the configuration dialog modally, then ends the process. Never returns.
[[noreturn]] void ShowConfigDialog();
