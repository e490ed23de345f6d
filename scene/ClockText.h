// The texts of the clock and the frame-rate counter and where they stand in the
// 800 x 600 overlay screen. No <windows.h>, no GL: tested natively.
#pragma once

#include <cstdint>
#include <string>

// A text of the number font and the overlay x of its first glyph's left edge.
struct TOverlayText {
    std::string text;
    std::int32_t x = 0;
    bool operator==(const TOverlayText&) const = default;
};

// "hh:mm:ss" from a local hour 0-23; a twelve-hour clock shows noon and midnight
// both as 00 and adds ";" (morning mark) before noon or "<" (afternoon mark).
// Placed so that the pen ends 15 units from the right edge.
TOverlayText ClockText(int hour, int minute, int second, bool twelveHour);

// The rate in decimal, near the top left, one unit further right per digit.
TOverlayText FrameRateText(std::int32_t rate);
