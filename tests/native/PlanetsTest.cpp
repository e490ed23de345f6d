#include "model/Planets.h"

#include "common/Util.h"
#include "model/Ephemeris.h"
#include "scene/FrameTiming.h"

#include <gtest/gtest.h>

#include <cmath>
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
    EXPECT_EQ(InitialOrbitAngle("Jupiter"), 0.5f);
    std::set<float> seen;
    RandomSeed(12345);
    for (int i = 0; i < 500; ++i) {
        const float angle = InitialOrbitAngle("Mars");
        ASSERT_TRUE(angle >= 0.0f && angle <= 359.99f + 1e-4f) << angle;
        seen.insert(angle);
    }
    EXPECT_GT(seen.size(), 400u);
}

// Heliocentric longitudes of date, degrees, Mercury to Pluto, from a published
// ephemeris at UTC times across the years the elements are made for.
TEST(Ephemeris, LongitudesWithinADegreeOfPublishedOnes)
{
    struct { int year, month, day, hour, minute; double longitude[9]; } const dates[] = {
        {1900, 1, 1, 0, 0, {201.38, 343.13, 100.15, 286.45, 234.54, 266.51, 248.66, 85.70, 75.75}},
        {1935, 7, 4, 0, 0, {306.13, 239.66, 281.10, 238.94, 232.66, 334.96, 32.23, 163.93, 115.57}},
        {1969, 7, 20, 20, 17, {109.19, 2.62, 297.92, 278.23, 190.30, 31.89, 183.52, 237.72, 174.57}},
        {2000, 1, 1, 12, 0, {253.78, 182.60, 100.38, 359.45, 36.29, 45.72, 316.42, 303.93, 250.55}},
        {2024, 4, 8, 18, 0, {191.22, 343.60, 199.39, 317.72, 54.73, 341.07, 52.72, 357.50, 300.37}},
        {2050, 6, 30, 0, 0, {146.55, 210.79, 278.45, 293.63, 132.39, 304.71, 170.16, 56.09, 339.33}},
    };
    for (const auto& d : dates) {
        const double days = DaysSinceJ2000(d.year, d.month, d.day, d.hour, d.minute, 0);
        for (int i = 1; i < PlanetRows; ++i)
            EXPECT_NEAR(std::remainder(HeliocentricLongitude(i, days) - d.longitude[i - 1], 360.0), 0.0, 1.0)
                << PlanetTable[i].Name << " on " << d.year << "-" << d.month << "-" << d.day;
    }
}

// A planet placed by its longitude then moves on the way the animation turns it,
// from an angle within one turn.
TEST(Ephemeris, OrbitAngleGrowsAsThePlanetMovesOn)
{
    const double days = DaysSinceJ2000(2026, 12, 31, 23, 59, 59);
    for (int i = 1; i < PlanetRows; ++i) {
        const float now = OrbitAngleForLongitude(HeliocentricLongitude(i, days));
        const float later = OrbitAngleForLongitude(HeliocentricLongitude(i, days + 30));
        EXPECT_TRUE(now >= 0.0f && now < TurnRadians) << now;
        EXPECT_GT(std::remainder(later - now, TurnRadians), 0.0) << PlanetTable[i].Name;
    }
}

} // namespace
