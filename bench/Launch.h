// Start-up timing of the built saver: started full screen ("/s") with the bench
// as its debugger, from CreateProcess to the debug string its main loop sends
// right after the first presented frame.
#pragma once

#include "support/Win.h"

#include <optional>
#include <string>

inline constexpr const char* FirstFrameMarker = "Astrolume: first frame presented\n";

// Milliseconds from starting `program` (a full Windows path) to its first
// presented frame, on the default settings with the data library beside it.
// Nothing, with `error` saying why, when it could not start, ended before, or
// took longer than `limitMs`. The saver is ended either way; the settings
// stored before are put back.
std::optional<double> TimeFirstFrame(const std::string& program, DWORD limitMs, std::string& error);
