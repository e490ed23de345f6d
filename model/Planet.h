// One planet: its values derived from the table, its two animation angles, and
// its drawing with orbit ring, rings and halo, each shape a display list.
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

    // Compiles the orbit ring, the sphere, the rings and the halo into display
    // lists of the current context, at the Quality of the settings, and keeps
    // the context's `textures` to draw with; run once per context.
    void BuildLists(GLUquadric* quadric, const TTextureNames& textures);
    // Deletes the lists from the current context; drawing then tessellates each
    // shape anew, as it does where no lists could be made.
    void ReleaseLists();
    // Draws orbit ring, sphere and extras, then advances by `elapsed` ms.
    void Draw(GLUquadric* quadric, std::int32_t elapsed);

    TTexName TexName;
    TTextureNames TextureNames = {};  // the context's, from BuildLists
    float OrbitWidth = 0.5f;       // model units
    // Display lists, all 0 when none: four consecutive names, in this order.
    std::uint32_t OrbitList = 0;   // the orbit ring, with its texture
    std::uint32_t BodyList = 0;    // the sphere
    std::uint32_t RingsList = 0;   // Saturn's ring or Uranus's two; empty for the others
    std::uint32_t HaloList = 0;    // the halo sphere; empty without a halo
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
    void OrbitShape(GLUquadric* quadric) const;
    void BodyShape(GLUquadric* quadric) const;
    void RingsShape(GLUquadric* quadric) const;
    void HaloShape(GLUquadric* quadric) const;
    void DrawOrbit(GLUquadric* quadric);
    void DrawHalo(GLUquadric* quadric);
};
