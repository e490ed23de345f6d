#include "model/Planets.h"

#include "common/SafeSettings.h"
#include "common/Util.h"

#include <cmath>
#include <cstring>

// clang-format off
const TPlanetDescription PlanetTable[PlanetRows] = {
    {"Sun",     0.0f,   0.0f,   0.0f,      109.1f, 0.0f,    0.126536f, 0},
    {"Mercury", 0.241f, 0.887f, 0.122173f, 0.38f,  58.65f,  0.122173f, 0},
    {"Venus",   0.615f, 1.223f, 0.059341f, 0.95f,  243.0f,  3.089232f, 0},
    {"Earth",   1.0f,   1.85f,  0.0f,      1.0f,   0.9973f, 0.409279f, 1},
    {"Mars",    1.881f, 2.324f, 0.032289f, 0.53f,  0.9843f, 0.436332f, 2},
    {"Jupiter", 11.86f, 4.203f, 0.022689f, 6.2f,   0.8097f, 0.054105f, 63},
    {"Saturn",  29.46f, 7.739f, 0.043342f, 4.5f,   0.8264f, 0.460767f, 56},
    {"Uranus",  84.01f, 13.18f, 0.01338f,  2.9f,   -0.85f,  1.710423f, 27},
    {"Neptune", 164.8f, 17.06f, 0.030834f, 2.9f,   0.7583f, 0.506145f, 13},
    {"Pluto",   247.7f, 25.44f, 0.296729f, 1.2f,   6.4f,    0.0f,      3},
};
// clang-format on

namespace {
constexpr long double Pi = 3.14159265358979323846264338327950288L;

bool SameTextIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        const char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        const char y = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (x != y) return false;
    }
    return *a == *b;
}
} // namespace

const TColor4& OrbitColorOf(int index)
{
    if (index == 1 || index == 2) return OrbitColorInner;
    if (index == 3) return OrbitColorEarth;
    return OrbitColorOuter;
}

float HaloThicknessOf(int index)
{
    switch (index) {
    case 3: return 0.075f;  // Earth
    case 5: return 0.2f;    // Jupiter
    case 6: return 0.15f;   // Saturn
    case 8: return 0.1f;    // Neptune
    default: return 0.0f;
    }
}

TPlanetValues PlanetValues(int index, const TPlanetScale& scale)
{
    const TPlanetDescription& row = PlanetTable[index];
    TPlanetValues v{};
    // Speed 0 makes both periods infinite; AdvanceAngle then keeps the planet still.
    v.OrbitPeriod = static_cast<float>(static_cast<long double>(PeriodAtSpeed(row.OrbitPeriod, scale.Speed)) * PeriodScale);
    v.OrbitRadius = static_cast<float>(static_cast<long double>(scale.Distance) * row.OrbitDistance * DistanceScale);
    v.Inclination = row.OrbitInclination;
    v.Radius = static_cast<float>(static_cast<long double>(scale.Sizes) * row.Radius * RadiusScale);
    v.SpinPeriod = PeriodAtSpeed(row.RotationPeriod, scale.Speed);
    v.Tilt = static_cast<float>(row.AxialTilt / Pi * 180.0L);
    return v;
}

float InitialOrbitAngle(const char* name)
{
    if (SameTextIgnoringCase(name, "Jupiter")) return 0.5f;
    return static_cast<float>(RandomInt(36000) / 100.0L);
}

float AdvanceAngle(float angle, std::int32_t elapsed, float period, double turn)
{
    if (period == 0.0f || !std::isfinite(period)) return angle;
    return AdvanceWithinTurn(angle, static_cast<double>(elapsed / (100.0L * period)), turn);
}

float AdvanceSunAngle(float angle, std::int32_t elapsed)
{
    return AdvanceWithinTurn(angle, 0.05 * elapsed, TurnDegrees);
}
