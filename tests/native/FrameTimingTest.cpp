#include "scene/FrameTiming.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(FrameTiming, FrameRateRoundsHalvesToEven)
{
    // Frames, milliseconds, rate: 2.5 -> 2, 7.5 -> 8, 12.5 -> 12.
    const struct { std::int32_t frames; std::uint32_t ms; std::int32_t rate; } cases[] = {
        {60, 1001, 60}, {61, 1001, 61}, {3, 1200, 2},   {9, 1200, 8},     {15, 1200, 12},
        {1, 1001, 1},   {0, 1500, 0},   {100, 2000, 50}, {5000, 1001, 4995}};
    for (auto c : cases) EXPECT_EQ(FrameRateOf(c.frames, c.ms), c.rate) << c.frames << "/" << c.ms;
    EXPECT_EQ(FrameRateOf(10, 0), 0);
}

// The main loop's measurement: nothing until more than a second has passed,
// then the rate of that span and a fresh start, right across the wrap of the
// 32-bit tick count.
TEST(FrameTiming, MeterCompletesAfterMoreThanASecond)
{
    for (std::uint32_t start : {1000u, 0xFFFFFE00u}) {
        SCOPED_TRACE(start);
        TFrameRateMeter meter;
        meter.Restart(start);
        for (std::uint32_t t = 20; t <= 1000; t += 20) ASSERT_FALSE(meter.Count(start + t)) << t;
        EXPECT_EQ(meter.FrameRate, 0);
        ASSERT_TRUE(meter.Count(start + 1001));
        EXPECT_EQ(meter.FrameRate, 51);
        EXPECT_EQ(meter.FrameCount, 0);
        EXPECT_FALSE(meter.Count(start + 1500));
        meter.Restart(start + 1600);  // a new window: the frames so far are forgotten
        EXPECT_TRUE(meter.Count(start + 2700));
        EXPECT_EQ(meter.FrameRate, 1);
    }
}

} // namespace
