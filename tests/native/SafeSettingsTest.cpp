#include "common/SafeSettings.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr float Infinity = std::numeric_limits<float>::infinity();

// Quality within what a disk needs and a frame affords; a speed of 0 or a quotient beyond a float
// stops the animation, not divides by zero; the camera never behind the scene, 25 for no number.
TEST(SafeSettings, ValuesTheRendererCanUse)
{
    for (const auto& [stored, used] : {std::pair{30, 30}, {3, 3}, {256, 256}, {2, 3}, {-5, 3}, {INT32_MIN, 3},
                                       {257, 256}, {INT32_MAX, 256}})
        EXPECT_EQ(SafeQuality(stored), used) << stored;
    const float periods[][3] = {{365.0f, 20.0f, 18.25f},  {-0.72f, 20.0f, -0.036f},  {365.0f, -20.0f, -18.25f},
                                {365.0f, 0.0f, Infinity}, {-0.72f, -0.0f, Infinity}, {365.0f, 1e-40f, Infinity},
                                {-365.0f, 1e-40f, -Infinity}};
    for (const auto& [period, speed, expected] : periods)
        EXPECT_FLOAT_EQ(PeriodAtSpeed(period, speed), expected) << period << " / " << speed;
    for (const auto& [stored, used] : {std::pair{25.0f, 25.0f}, {0.0f, 0.0f}, {-25.0f, 25.0f}, {Infinity, 25.0f},
                                       {-Infinity, 25.0f}, {std::numeric_limits<float>::quiet_NaN(), 25.0f}})
        EXPECT_FLOAT_EQ(SafeCamDistance(stored), used) << stored;
}

} // namespace
