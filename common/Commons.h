// Declarations shared by the scene, the model, the texture set and the text
// output. Nothing here includes <windows.h> or GL.
#pragma once

#include "common/DataResources.h"

#include <array>
#include <cstdint>

// The twenty texture slots. The ordinal fixes the picture's resource id in the
// data library (TextureResourceBase + ordinal) and, for 1 to 9, the planet row.
enum TTexName : std::uint8_t {
    txGalaxy,
    txMercury,
    txVenus,
    txEarth,
    txMars,
    txJupiter,
    txSaturn,
    txUranus,
    txNeptune,
    txPluto,
    txSun,
    txClouds,
    txNumberFont,
    txFont,
    txSRing,
    txURing,
    txCrown,
    txPanel,
    txOrbit,
    txSign,
};

inline constexpr int TextureCount = 20;
inline constexpr int TextureResourceBase = DATA_PICTURE_GALAXY;
static_assert(DATA_PICTURE_SIGN == TextureResourceBase + txSign, "one picture per slot, in slot order");

// OpenGL texture names of a context, indexed by TTexName; 0 when none.
using TTextureNames = std::array<std::uint32_t, TextureCount>;
// The texture set of the current context, as its last load left it.
extern TTextureNames Textures;
