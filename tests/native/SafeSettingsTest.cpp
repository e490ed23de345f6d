#include "common/SafeSettings.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr float Infinity = std::numeric_limits<float>::infinity();

TEST(SafeSettings, QualityStaysDrawable)
{
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {30, 30},  {3, 3},      {256, 256},                    // the usable range is kept
        {2, 3},    {0, 3},      {-5, 3},      {INT32_MIN, 3},  // too few slices for a disk
        {257, 256}, {INT32_MAX, 256},                          // tessellation without end
    };
    for (const auto& [stored, used] : cases) EXPECT_EQ(SafeQuality(stored), used) << stored;
}

// A speed of 0 or a quotient beyond a float stops the animation instead of
// dividing by zero: an angle advanced by elapsed / period stays where it is.
TEST(SafeSettings, PeriodAtSpeed)
{
    const struct {
        float period, speed, expected;
    } cases[] = {
        {365.0f, 20.0f, 18.25f},  {-0.72f, 20.0f, -0.036f},  {365.0f, -20.0f, -18.25f},
        {365.0f, 0.0f, Infinity}, {-0.72f, -0.0f, Infinity}, {365.0f, 1e-40f, Infinity},
        {-365.0f, 1e-40f, -Infinity},
    };
    for (const auto& c : cases) EXPECT_FLOAT_EQ(PeriodAtSpeed(c.period, c.speed), c.expected) << c.period << " / " << c.speed;
}

TEST(SafeSettings, CameraStaysInFrontOfTheScene)
{
    const std::pair<float, float> cases[] = {
        {25.0f, 25.0f}, {0.0f, 0.0f}, {-25.0f, 25.0f}, {Infinity, 25.0f}, {-Infinity, 25.0f},
        {std::numeric_limits<float>::quiet_NaN(), 25.0f},
    };
    for (const auto& [stored, used] : cases) EXPECT_FLOAT_EQ(SafeCamDistance(stored), used) << stored;
}

} // namespace
