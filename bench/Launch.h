// Start-up timing of the built saver: started full screen ("/s") with the bench
// as its debugger, from CreateProcess to the debug string its main loop sends
// right after the first presented frame; then its memory over a while of run mode.
#pragma once

#include "support/Win.h"

#include <cstdint>
#include <optional>
#include <string>

inline constexpr const char* FirstFrameMarker = "Astrolume: first frame presented\n";

// One start of the saver: milliseconds to its first presented frame, then how
// many bytes of private memory it took on in the half minute after it had run
// for ten seconds (nothing when it ended meanwhile).
struct StartFigures {
    double firstFrameMs = 0;
    std::optional<std::int64_t> privateGrowth;
};

// Starts `program` (a full Windows path) on the default settings with the data
// library beside it. Nothing, with `error` saying why, when it could not start,
// ended before its first frame, or took longer than `limitMs` to show it. The
// saver is ended either way; the settings stored before are put back.
std::optional<StartFigures> Launch(const std::string& program, DWORD limitMs, std::string& error);
