// The generators of the data library's pictures, widths and texts. Each writes its
// files into an output folder; DataGen.cpp strings them together.
#pragma once

#include "Image.h"

#include <array>
#include <string>

struct Paths {
    std::string maps;   // the planet maps (the unpacked stellarium textures folder)
    std::string fonts;  // the DejaVu fonts folder
    std::string out;    // where the generated files go
};

// Noise helpers shared by the generators.
float SphereNoise(float x, float y, float z, int octaves, int seed);   // fbm on a 3D point, about -1..1
float TileNoise(float u, float v, int fx, int fy, int octaves, int seed);  // fbm, periodic over the unit square

// Equirectangular maps (north at the top): the nine planets, the Sun and clouds.
// Returns them by texture slot, 1 (Mercury) to 11 (clouds), for the composed scene.
void MakeSurfaceMaps(const Paths& paths, std::array<Image, 12>& maps);

// The star-field tile, the corona, the two ring images, the orbit band, the panel.
Image MakeGalaxy();
Image MakeCrown();
Image MakeSaturnRing(const Paths& paths);  // also used by the composed scene
Image MakeUranusRing();
Image MakeOrbit();
Image MakePanel();

// The three glyph grids and the width table. Returns the width table.
std::array<unsigned char, 256> MakeGlyphs(const Paths& paths);

// The composed still of the Sun, its corona and planets on the star field.
Image RenderScene(int width, int height, const std::array<Image, 12>& maps, const Image& saturnRing,
                  const Image& galaxy, const Image& crown);

// The description panel as the saver draws it, with the Earth's text: for review.
Image RenderPanelSample(const std::string& descriptions, const std::array<unsigned char, 256>& widths,
                        const Image& panel, const Image& font, const Image& sign, const Image& galaxy);

// Texts: converts an authored UTF-8 text into the resource's bytes (Windows-1251,
// CR LF lines, {X} for colour code X) and checks it against the panel's layout.
bool MakeDescriptions(const std::string& source, const std::string& target, const std::array<unsigned char, 256>& widths);
bool MakeMessages(const std::string& source, const std::string& target, const std::array<unsigned char, 256>& widths);
