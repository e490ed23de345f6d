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

    // Every shape's display list for the current context, at the Quality of the
    // settings, and the context's `textures` to draw with; run once per context,
    // after the textures are loaded.
    void BuildLists(const TTextureNames& textures);
    // Deletes the lists from the current context (the model then tessellates
    // each frame); run before the context goes.
    void ReleaseLists();
    // The galaxy backdrop, unlit.
    void DrawBackground();
    // The planets, advanced by `elapsed` ms.
    void Draw(std::int32_t elapsed);
    // Sun and corona, unlit, advanced by `elapsed` ms.
    void DrawSun(std::int32_t elapsed);

    GLUquadric* Quadric = nullptr;     // planets, rings, halos and the Sun
    GLUquadric* SkyQuadric = nullptr;  // the backdrop only
    std::array<std::unique_ptr<TPlanet>, 10> Planets;  // 1 to 9; 0 is unused
    std::uint32_t SkyList = 0;  // the backdrop sphere; 0 when none
    std::uint32_t SunList = 0;  // the Sun's sphere; 0 when none
    TTextureNames TextureNames = {};  // the context's, from BuildLists
};
