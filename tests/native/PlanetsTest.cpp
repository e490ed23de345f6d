#include "model/Planets.h"

#include "common/Util.h"
#include "scene/FrameTiming.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace {

// Run mode's defaults after Distance and Sizes are multiplied by Scale 0.04: three
// values far apart, so a value scaled by the wrong setting shows in every row.
constexpr TPlanetScale Defaults = {20.0f, 0.5f * 0.04f, 2.0f * 0.04f};

// Where a body circles, how big it is and how fast it goes round and turns at the
// default settings: model units, periods in 1/100 s of angle, degrees.
TEST(PlanetValues, PlanetsAtDefaultSettings)
{
    struct { int index; float orbitRadius, radius, orbitPeriod, spinPeriod, tilt; } const expected[] = {
        {2, 3.669f, 0.5168f, 11.2238f, 12.15f, 177.0f}, {3, 5.55f, 0.544f, 18.25f, 0.049865f, 23.45f},
        {7, 39.54f, 1.5776f, 1533.18f, -0.0425f, 98.0f},  // turning backwards
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(PlanetTable[e.index].Name);
        const TPlanetValues v = PlanetValues(e.index, Defaults);
        EXPECT_NEAR(v.OrbitRadius, e.orbitRadius, e.orbitRadius * 1e-5);
        EXPECT_NEAR(v.Radius, e.radius, e.radius * 1e-5);
        EXPECT_NEAR(v.OrbitPeriod, e.orbitPeriod, e.orbitPeriod * 1e-5);
        EXPECT_NEAR(v.SpinPeriod, e.spinPeriod, std::fabs(e.spinPeriod) * 1e-5);
        EXPECT_NEAR(v.Tilt, e.tilt, 1e-3);
    }
}

// A planet that spins backwards goes down from a full turn, not below zero.
TEST(AdvanceAngle, BackwardsFromZeroWrapsToATurn)
{
    EXPECT_FLOAT_EQ(AdvanceAngle(1.0f, 100, -0.5f, TurnDegrees), 359.0f);
}

// A week of 60 Hz frames (16 or 17 ms, as the tick count gives them) at the
// default and at a fifty times faster speed and camera: each frame moves every
// fastest angle by its own step, within float rounding, and every angle stays
// within one turn. An angle left to grow loses its steps after a day or so.
TEST(AdvanceAngle, AWeekOfFramesKeepsEveryStep)
{
    for (const float fast : {1.0f, 50.0f}) {
        const TPlanetScale scale{Defaults.Speed * fast, Defaults.Distance, Defaults.Sizes};
        float fastestSpin = PlanetValues(1, scale).SpinPeriod;
        for (int i = 2; i < PlanetRows; ++i) {
            const float spin = PlanetValues(i, scale).SpinPeriod;
            if (std::fabs(spin) < std::fabs(fastestSpin)) fastestSpin = spin;
        }
        const float mercury = PlanetValues(1, scale).OrbitPeriod, rotation = 0.2f * fast;
        struct Angle { double turn, perMs; float value; int badFrames; } angles[] = {
            {TurnRadians, 1 / (100.0 * mercury), 0.0f, 0}, {TurnDegrees, 1 / (100.0 * fastestSpin), 0.0f, 0},
            {TurnDegrees, 0.05, 0.0f, 0}, {TurnDegrees, rotation / 100.0, 0.0f, 0}};
        for (std::int64_t frame = 0; frame < 7 * 24 * 3600 * 60LL; ++frame) {
            const std::int32_t elapsed = frame % 3 == 2 ? 16 : 17;
            const float next[] = {AdvanceAngle(angles[0].value, elapsed, mercury, TurnRadians),
                                  AdvanceAngle(angles[1].value, elapsed, fastestSpin, TurnDegrees),
                                  AdvanceSunAngle(angles[2].value, elapsed), AdvanceTilt(angles[3].value, elapsed, rotation)};
            for (int i = 0; i < 4; ++i) {
                Angle& a = angles[i];
                const double moved = std::remainder(next[i] - a.value - elapsed * a.perMs, a.turn);
                a.badFrames += !(next[i] >= 0.0f && next[i] < a.turn) || std::fabs(moved) > a.turn * 0x1p-22;
                a.value = next[i];
            }
        }
        for (const Angle& a : angles) EXPECT_EQ(a.badFrames, 0) << "speed x" << fast << ", " << a.perMs << " per ms";
    }
}

TEST(InitialOrbitAngle, JupiterFixedOthersRandomInRange)
{
    for (const char* jupiter : {"Jupiter", "JUPITER", "jupiter"}) EXPECT_EQ(InitialOrbitAngle(jupiter), 0.5f);
    std::set<float> seen;
    RandomSeed(12345);
    for (int i = 0; i < 500; ++i) {
        const float angle = InitialOrbitAngle("Mars");
        ASSERT_TRUE(angle >= 0.0f && angle <= 359.99f + 1e-4f) << angle;
        ASSERT_NEAR(angle * 100, std::round(angle * 100), 0.02);  // steps of 0.01
        seen.insert(angle);
    }
    EXPECT_GT(seen.size(), 400u);
}

} // namespace
