#include "model/Planets.h"

#include "common/Util.h"

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

TEST(AdvanceAngle, ScalesWithElapsedWithoutClamp)
{
    EXPECT_EQ(AdvanceAngle(0.25f, 0, 18.25f), 0.25f);
    EXPECT_FLOAT_EQ(AdvanceAngle(0.0f, 1825, 18.25f), 1.0f);
    EXPECT_FLOAT_EQ(AdvanceAngle(0.0f, 600000, 18.25f), 600000 / 1825.0f);  // a long stall: one large step
    EXPECT_FLOAT_EQ(AdvanceAngle(0.0f, 100, -0.5f), -2.0f);
    EXPECT_EQ(AdvanceAngle(3.0f, 10, std::numeric_limits<float>::quiet_NaN()), 3.0f);
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
