#include "model/Planets.h"

#include "common/Util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace {

// Run mode's defaults after Distance and Sizes are multiplied by Scale 0.04.
constexpr TPlanetScale Defaults = {20.0f, 0.5f * 0.04f, 2.0f * 0.04f};

TEST(PlanetTable, RowsAsStored)
{
    struct Row {
        const char* name;
        float period, distance, radius, rotation, tilt;
        int moons;
    };
    const Row expected[PlanetRows] = {
        {"Sun", 0, 0, 109.1f, 0, 0.126536f, 0},          {"Mercury", 0.241f, 0.887f, 0.38f, 58.65f, 0.122173f, 0},
        {"Venus", 0.615f, 1.223f, 0.95f, 243, 3.089232f, 0}, {"Earth", 1, 1.85f, 1, 0.9973f, 0.409279f, 1},
        {"Mars", 1.881f, 2.324f, 0.53f, 0.9843f, 0.436332f, 2}, {"Jupiter", 11.86f, 4.203f, 6.2f, 0.8097f, 0.054105f, 63},
        {"Saturn", 29.46f, 7.739f, 4.5f, 0.8264f, 0.460767f, 56}, {"Uranus", 84.01f, 13.18f, 2.9f, -0.85f, 1.710423f, 27},
        {"Neptune", 164.8f, 17.06f, 2.9f, 0.7583f, 0.506145f, 13}, {"Pluto", 247.7f, 25.44f, 1.2f, 6.4f, 0, 3},
    };
    for (int i = 0; i < PlanetRows; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(PlanetTable[i].Name, expected[i].name);
        EXPECT_EQ(PlanetTable[i].OrbitPeriod, expected[i].period);
        EXPECT_EQ(PlanetTable[i].OrbitDistance, expected[i].distance);
        EXPECT_EQ(PlanetTable[i].Radius, expected[i].radius);
        EXPECT_EQ(PlanetTable[i].RotationPeriod, expected[i].rotation);
        EXPECT_EQ(PlanetTable[i].AxialTilt, expected[i].tilt);
        EXPECT_EQ(PlanetTable[i].Moons, expected[i].moons);
    }
    EXPECT_EQ(PlanetTable[9].OrbitInclination, 0.296729f);
    EXPECT_EQ(PlanetTable[7].OrbitInclination, 0.01338f);
}

TEST(PlanetValues, EarthAtDefaultSettings)
{
    const TPlanetValues earth = PlanetValues(3, Defaults);
    EXPECT_NEAR(earth.OrbitRadius, 5.55f, 1e-5);
    EXPECT_NEAR(earth.Radius, 0.544f, 1e-6);
    EXPECT_NEAR(earth.OrbitPeriod, 18.25f, 1e-5);
    EXPECT_NEAR(earth.SpinPeriod, 0.049865f, 1e-7);
    EXPECT_NEAR(earth.Tilt, 23.45f, 1e-4);
    EXPECT_EQ(earth.Inclination, 0.0f);
}

TEST(PlanetValues, EachSettingScalesOnlyItsOwnValues)
{
    for (int i = 1; i < PlanetRows; ++i) {
        SCOPED_TRACE(PlanetTable[i].Name);
        const TPlanetValues base = PlanetValues(i, Defaults);
        const TPlanetValues faster = PlanetValues(i, {Defaults.Speed * 2, Defaults.Distance, Defaults.Sizes});
        EXPECT_FLOAT_EQ(faster.OrbitPeriod, base.OrbitPeriod / 2);
        EXPECT_FLOAT_EQ(faster.SpinPeriod, base.SpinPeriod / 2);
        EXPECT_EQ(faster.OrbitRadius, base.OrbitRadius);
        EXPECT_EQ(faster.Radius, base.Radius);

        const TPlanetValues bigger = PlanetValues(i, {Defaults.Speed, Defaults.Distance, Defaults.Sizes * 3});
        EXPECT_FLOAT_EQ(bigger.Radius, base.Radius * 3);
        EXPECT_EQ(bigger.OrbitRadius, base.OrbitRadius);
        EXPECT_EQ(bigger.OrbitPeriod, base.OrbitPeriod);

        const TPlanetValues farther = PlanetValues(i, {Defaults.Speed, Defaults.Distance * 2, Defaults.Sizes});
        EXPECT_FLOAT_EQ(farther.OrbitRadius, base.OrbitRadius * 2);
        EXPECT_EQ(farther.Radius, base.Radius);
    }
}

TEST(PlanetValues, TiltsAndSpinDirections)
{
    EXPECT_NEAR(PlanetValues(2, Defaults).Tilt, 177.0f, 1e-3);  // Venus turns the other way
    EXPECT_NEAR(PlanetValues(7, Defaults).Tilt, 98.0f, 1e-3);
    EXPECT_LT(PlanetValues(7, Defaults).SpinPeriod, 0.0f);       // Uranus spins backwards
    EXPECT_EQ(PlanetValues(9, Defaults).Tilt, 0.0f);             // Pluto has no tilt
}

TEST(PlanetValues, SpeedZeroKeepsPlanetsStill)
{
    const TPlanetValues still = PlanetValues(3, {0.0f, Defaults.Distance, Defaults.Sizes});
    EXPECT_EQ(AdvanceAngle(1.0f, 5000, still.OrbitPeriod), 1.0f);
    EXPECT_EQ(AdvanceAngle(2.0f, 5000, still.SpinPeriod), 2.0f);
    EXPECT_NEAR(still.OrbitRadius, 5.55f, 1e-5);  // still drawn where it belongs
}

TEST(AdvanceAngle, ScalesWithElapsedWithoutClamp)
{
    EXPECT_EQ(AdvanceAngle(0.25f, 0, 18.25f), 0.25f);
    EXPECT_FLOAT_EQ(AdvanceAngle(0.0f, 1825, 18.25f), 1.0f);
    EXPECT_FLOAT_EQ(AdvanceAngle(0.0f, 600000, 18.25f), 600000 / 1825.0f);  // a long stall: one large step
    EXPECT_FLOAT_EQ(AdvanceAngle(0.0f, 100, -0.5f), -2.0f);
    // Earth at Speed 20 spins about 200.5 degrees a second.
    EXPECT_NEAR(AdvanceAngle(0.0f, 1000, PlanetValues(3, Defaults).SpinPeriod), 200.5f, 0.05f);
    EXPECT_EQ(AdvanceAngle(3.0f, 10, std::numeric_limits<float>::quiet_NaN()), 3.0f);
}

TEST(InitialOrbitAngle, JupiterFixedOthersRandomInRange)
{
    EXPECT_EQ(InitialOrbitAngle("Jupiter"), 0.5f);
    EXPECT_EQ(InitialOrbitAngle("JUPITER"), 0.5f);
    EXPECT_EQ(InitialOrbitAngle("jupiter"), 0.5f);
    std::set<float> seen;
    RandomSeed(12345);
    for (int i = 0; i < 500; ++i) {
        const float angle = InitialOrbitAngle("Mars");
        ASSERT_GE(angle, 0.0f);
        ASSERT_LE(angle, 359.99f + 1e-4f);
        // Steps of 0.01.
        ASSERT_NEAR(angle * 100, std::round(angle * 100), 0.02);
        seen.insert(angle);
    }
    EXPECT_GT(seen.size(), 400u);
}

TEST(PlanetExtras, OrbitColoursAndHalos)
{
    EXPECT_EQ(&OrbitColorOf(1), &OrbitColorInner);
    EXPECT_EQ(&OrbitColorOf(2), &OrbitColorInner);
    EXPECT_EQ(&OrbitColorOf(3), &OrbitColorEarth);
    for (int i = 4; i <= 9; ++i) EXPECT_EQ(&OrbitColorOf(i), &OrbitColorOuter);

    const float halos[PlanetRows] = {0, 0, 0, 0.075f, 0, 0.2f, 0.15f, 0, 0.1f, 0};
    for (int i = 1; i < PlanetRows; ++i) EXPECT_EQ(HaloThicknessOf(i), halos[i]) << i;

}

} // namespace
