// One planet: its values derived from the table, its two animation angles, its
// orbit ring as a display list, and its drawing with ring, rings and halo.
#pragma once

#include "common/Commons.h"
#include "model/Planets.h"

#include <cstdint>
#include <string>

struct GLUquadric;

class TPlanet {
public:
    // `index` is the table row (1 to 9); the generator is reseeded from the
    // performance counter for each planet before its start angle is drawn.
    TPlanet(std::int32_t index, TTexName texName);
    virtual ~TPlanet();
    TPlanet(const TPlanet&) = delete;
    TPlanet& operator=(const TPlanet&) = delete;

    // Compiles the orbit ring into a new display list. Needs a current context
    // and the texture names; run once per context.
    void BuildLists(GLUquadric* quadric);
    // Draws orbit ring, sphere and extras, then advances by `elapsed` ms.
    void Draw(GLUquadric* quadric, std::int32_t elapsed);

    TTexName TexName;
    float OrbitWidth = 0.5f;       // model units
    std::uint32_t OrbitList = 0;   // display list of the orbit ring; 0 when none
    std::int32_t Index;
    std::string Name;
    float OrbitAngle;              // radians
    float SpinAngle = 0.0f;        // degrees
    float OrbitPeriod;
    float OrbitRadius;             // model units
    float Inclination;             // radians
    float Radius;                  // model units
    float SpinPeriod;
    float Tilt;                    // degrees

private:
    void DrawOrbit();
    void DrawHalo(GLUquadric* quadric, float thickness);
};
