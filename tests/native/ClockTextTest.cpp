#include "scene/ClockText.h"

#include <gtest/gtest.h>

// The day's edges in both modes: noon and midnight show 12 on the twelve-hour
// clock, whose mark makes it a glyph longer, 22 units further left, both ending at 785.
TEST(ClockText, DayEdgesInBothModes)
{
    struct { int hour, minute, second; const char *full, *twelve; } const cases[] = {
        {23, 59, 59, "23:59:59", "11:59:59<"}, {12, 0, 0, "12:00:00", "12:00:00<"},
        {0, 0, 0, "00:00:00", "12:00:00;"},
        {13, 5, 0, "13:05:00", "01:05:00<"},   {11, 59, 59, "11:59:59", "11:59:59;"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClockText(c.hour, c.minute, c.second, false), (TOverlayText{c.full, 609})) << c.full;
        EXPECT_EQ(ClockText(c.hour, c.minute, c.second, true), (TOverlayText{c.twelve, 587})) << c.twelve;
    }
}

// No leading zeros; one unit further right per digit.
TEST(ClockText, FrameRateText)
{
    const std::pair<int, TOverlayText> cases[] = {{0, {"0", 6}}, {60, {"60", 7}}, {100, {"100", 8}}};
    for (const auto& [rate, counter] : cases) EXPECT_EQ(FrameRateText(rate), counter) << rate;
}
