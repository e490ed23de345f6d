#include "scene/FrameTiming.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

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
        ASSERT_TRUE(meter.Count(start + 1001));
        EXPECT_EQ(meter.FrameRate, 51);
        EXPECT_FALSE(meter.Count(start + 1500));
        ASSERT_TRUE(meter.Count(start + 2002));
        EXPECT_EQ(meter.FrameRate, 2);
        EXPECT_FALSE(meter.Count(start + 2500));
        meter.Restart(start + 2600);  // a new window: the frames so far are forgotten
        EXPECT_TRUE(meter.Count(start + 3700));
        EXPECT_EQ(meter.FrameRate, 1);
    }
}

} // namespace
