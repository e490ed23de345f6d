#include "scene/ClockText.h"

#include <cstdio>

namespace {
constexpr std::int32_t GlyphAdvance = 22;  // number-font pen step, overlay units
constexpr std::int32_t ClockRight = 785;   // where the clock's pen ends
}

TOverlayText ClockText(int hour, int minute, int second, bool twelveHour)
{
    // No twelve-hour clock shows 00: noon and midnight are 12.
    const int shown = twelveHour ? (hour + 11) % 12 + 1 : hour;
    char text[72];  // room for any int, so no format warning
    std::snprintf(text, sizeof text, "%d%d:%d%d:%d%d", shown / 10, shown % 10, minute / 10, minute % 10,
                  second / 10, second % 10);
    TOverlayText result{text};
    // The glyphs after ":" in the number font are the two twelve-hour marks.
    if (twelveHour) result.text += hour < 12 ? ';' : '<';
    result.x = ClockRight - GlyphAdvance * static_cast<std::int32_t>(result.text.size());
    return result;
}

TOverlayText FrameRateText(std::int32_t rate)
{
    TOverlayText result{std::to_string(rate)};
    result.x = static_cast<std::int32_t>(result.text.size()) + 5;
    return result;
}
