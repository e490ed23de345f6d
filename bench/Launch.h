// Start-up timing of the built saver: started full screen ("/s") with the bench
// as its debugger, from CreateProcess to the debug string its main loop sends
// right after the first presented frame.
#pragma once

#include "bench/Memory.h"
#include "support/Win.h"

#include <optional>
#include <string>

inline constexpr const char* FirstFrameMarker = "Astrolume: first frame presented\n";

// The saver's memory at its first frame and, when it was kept drawing, after that.
struct LaunchMemory {
    MemoryFigures loaded;
    std::optional<MemoryFigures> held;  // none when it ended first
};

// Milliseconds from starting `program` (a full Windows path) to its first
// presented frame, on the default settings with the data library beside it.
// Nothing, with `error` saying why, when it could not start, ended before, or
// took longer than `limitMs`. With `memory`, its memory is read at that frame
// and again after `holdMs` more of drawing. The saver is ended either way; the
// settings stored before are put back.
std::optional<double> TimeFirstFrame(const std::string& program, DWORD limitMs, std::string& error,
                                     LaunchMemory* memory = nullptr, DWORD holdMs = 0);
