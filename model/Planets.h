// The planet table and the values the planets derive from it and from the
// settings. Nothing here includes <windows.h> or GL, so it is tested natively.
#pragma once

#include <cstdint>

// One row of the astronomical table the scene is scaled from.
struct TPlanetDescription {
    const char* Name;
    float OrbitPeriod;       // sidereal period, Earth years
    float OrbitDistance;     // distance from the Sun, table units (Earth 1.85)
    float OrbitInclination;  // radians; carried, not drawn
    float Radius;            // Earth radii
    float RotationPeriod;    // days; negative spins backwards
    float AxialTilt;         // radians
    std::int32_t Moons;      // carried, not drawn
};

inline constexpr int PlanetRows = 10;  // row 0 is the Sun, rows 1 to 9 the planets
extern const TPlanetDescription PlanetTable[PlanetRows];

inline constexpr float RadiusScale = 6.8f;      // model units per Earth radius
inline constexpr float DistanceScale = 150.0f;  // model units per table distance unit
inline constexpr float PeriodScale = 365.0f;    // days per year

struct TColor4 {
    float R, G, B, A;
};
inline constexpr TColor4 OrbitColorInner = {0.75f, 0.0f, 0.0f, 0.5f};  // Mercury, Venus
inline constexpr TColor4 OrbitColorEarth = {0.0f, 0.75f, 0.0f, 0.5f};
inline constexpr TColor4 OrbitColorOuter = {0.0f, 0.0f, 0.75f, 0.5f};  // Mars and beyond
inline constexpr TColor4 HaloColor = {0.67451f, 0.85882f, 0.99216f, 0.15f};

// The orbit-line colour of a planet row (1 to 9).
const TColor4& OrbitColorOf(int index);

// Thickness of the translucent shell around a planet row, 0 when it has none.
float HaloThicknessOf(int index);

// The settings the derived values depend on, as they stand in memory at creation
// (run mode has already multiplied Distance and Sizes by Scale).
struct TPlanetScale {
    float Speed;
    float Distance;
    float Sizes;
};

// What a planet derives from its table row, once, at creation.
struct TPlanetValues {
    float OrbitPeriod;  // OrbitPeriod / Speed * PeriodScale
    float OrbitRadius;  // model units
    float Inclination;  // radians, copied
    float Radius;       // model units
    float SpinPeriod;   // RotationPeriod / Speed
    float Tilt;         // degrees
};
TPlanetValues PlanetValues(int index, const TPlanetScale& scale);

// Start position on the orbit, radians: 0.5 for Jupiter (any case), otherwise a
// random value 0 to 359.99 in steps of 0.01 from the program's generator.
float InitialOrbitAngle(const char* name);

// `angle` advanced by `elapsed` milliseconds for a period: elapsed / (100 * period),
// kept within one `turn` (TurnRadians for orbits, TurnDegrees for spins). A period
// that is zero or not finite (Speed 0 in the settings) does not move.
float AdvanceAngle(float angle, std::int32_t elapsed, float period, double turn);

// The Sun's corona turns 50 degrees a second whatever the speed setting.
float AdvanceSunAngle(float angle, std::int32_t elapsed);
