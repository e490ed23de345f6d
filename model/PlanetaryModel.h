// The animated content of the scene: the nine planets, the Sun with its
// two-layer corona and the galaxy backdrop, with the quadrics they are drawn by.
#pragma once

#include "model/Planet.h"

#include <array>
#include <cstdint>
#include <memory>

struct GLUquadric;

// The Sun's rotation, degrees; kept by the unit, so it survives a new model.
extern float SunAngle;

inline constexpr float SunRadius = 1.15f;      // model units, whatever Sizes and Scale say
inline constexpr float CoronaHalfSize = 2.5f;  // half the side of each corona quad
inline constexpr float BackdropRadius = 250.0f;

class TPlanetaryModel {
public:
    // Needs no OpenGL context: the quadrics are client-side objects.
    TPlanetaryModel();
    virtual ~TPlanetaryModel();
    TPlanetaryModel(const TPlanetaryModel&) = delete;
    TPlanetaryModel& operator=(const TPlanetaryModel&) = delete;

    // True when both quadrics exist.
    bool Valid() const { return Quadric != nullptr && SkyQuadric != nullptr; }

    // The planets' orbit lists for the current context.
    void BuildLists();
    // Backdrop and planets, advanced by `elapsed` ms.
    void Draw(std::int32_t elapsed);
    // Sun and corona, unlit, advanced by `elapsed` ms.
    void DrawSun(std::int32_t elapsed);

    GLUquadric* Quadric = nullptr;     // planets, rings, halos and the Sun
    GLUquadric* SkyQuadric = nullptr;  // the backdrop only
    std::array<std::unique_ptr<TPlanet>, 10> Planets;  // 1 to 9; 0 is unused

private:
    void DrawBackground();
};
