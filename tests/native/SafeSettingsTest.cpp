#include "common/SafeSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(SafeSettings, QualityStaysDrawable)
{
    const struct {
        std::int32_t stored;
        std::int32_t used;
    } cases[] = {
        {30, 30},        {3, 3},      {256, 256},    // the usable range is kept
        {2, 3},          {1, 3},      {0, 3},        // too few slices for a disk
        {-5, 3},         {INT32_MIN, 3},             // unparsable or hostile text
        {257, 256},      {100000, 256}, {INT32_MAX, 256},
    };
    for (const auto& c : cases) EXPECT_EQ(SafeQuality(c.stored), c.used) << c.stored;
}

TEST(SafeSettings, PeriodDividedBySpeed)
{
    EXPECT_FLOAT_EQ(PeriodAtSpeed(365.0f, 20.0f), 18.25f);
    EXPECT_FLOAT_EQ(PeriodAtSpeed(-0.72f, 20.0f), -0.036f);  // backwards spin keeps its sign
    EXPECT_FLOAT_EQ(PeriodAtSpeed(365.0f, -20.0f), -18.25f); // a negative speed runs backwards
}

TEST(SafeSettings, ZeroOrOverflowingSpeedStopsTheAnimation)
{
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(PeriodAtSpeed(365.0f, 0.0f), infinity);
    EXPECT_EQ(PeriodAtSpeed(-0.72f, -0.0f), infinity);
    EXPECT_EQ(PeriodAtSpeed(365.0f, 1e-40f), infinity);  // denormal speed: quotient beyond float
    EXPECT_EQ(PeriodAtSpeed(-365.0f, 1e-40f), -infinity);

    // What the planets do with the period: advance by elapsed / (100 x period).
    // A stopped animation leaves the angle finite and unchanged.
    for (float speed : {0.0f, 1e-40f}) {
        float angle = 1.5f;
        for (std::int32_t elapsed : {0, 16, 100000}) angle += static_cast<float>(elapsed) / (100.0f * PeriodAtSpeed(365.0f, speed));
        EXPECT_FLOAT_EQ(angle, 1.5f) << speed;
    }
}

TEST(SafeSettings, CameraStaysInFrontOfTheScene)
{
    EXPECT_FLOAT_EQ(SafeCamDistance(25.0f), 25.0f);
    EXPECT_FLOAT_EQ(SafeCamDistance(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(SafeCamDistance(-25.0f), 25.0f);
    EXPECT_FLOAT_EQ(SafeCamDistance(std::numeric_limits<float>::infinity()), 25.0f);
    EXPECT_FLOAT_EQ(SafeCamDistance(-std::numeric_limits<float>::infinity()), 25.0f);
    EXPECT_FLOAT_EQ(SafeCamDistance(std::numeric_limits<float>::quiet_NaN()), 25.0f);
}

} // namespace
