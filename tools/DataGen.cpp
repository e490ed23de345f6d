// Builds the contents of the data library: the twenty texture pictures, the
// preview picture, the width table and the two texts, plus the program's own
// configuration picture. Same inputs, same bytes: every random choice is seeded.
//
//   astrolume_datagen MAPS FONTS TEXTS OUT PICTURE
//     MAPS     the planet maps (stellarium-data's textures folder)
//     FONTS    the DejaVu fonts folder
//     TEXTS    folder of descriptions.txt and messages.txt
//     OUT      folder for the results (and OUT/sheet for the contact sheet)
//     PICTURE  where the configuration dialog's JPEG goes
#include "Generators.h"

#include <cstdio>
#include <filesystem>

namespace {

const char* const TextureNames[20] = {"galaxy", "mercury", "venus", "earth", "mars", "jupiter", "saturn",
                                      "uranus", "neptune", "pluto", "sun", "clouds", "numberfont", "font",
                                      "sring", "uring", "crown", "panel", "orbit", "sign"};

void SaveTexture(const Image& im, const Paths& paths, int slot, bool grey = false, int quality = 92)
{
    if (im.width % 4)
        Fail(std::string(TextureNames[slot]) + ": width is not a multiple of 4");
    SaveJpeg(im, paths.out + "/" + TextureNames[slot] + ".jpg", quality, grey);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: astrolume_datagen MAPS FONTS TEXTS OUT PICTURE\n");
        return 2;
    }
    Paths paths{argv[1], argv[2], argv[4]};
    std::string texts = argv[3];
    std::filesystem::create_directories(paths.out + "/sheet");

    // Glyphs and widths first: the texts are checked against them, and a text that
    // does not fit stops the build before the slow pictures.
    std::array<unsigned char, 256> widths = MakeGlyphs(paths);
    bool ok = MakeDescriptions(texts + "/descriptions.txt", paths.out + "/descriptions.bin", widths);
    ok = MakeMessages(texts + "/messages.txt", paths.out + "/messages.bin", widths) && ok;
    if (!ok)
        return 1;

    std::array<Image, 12> maps;
    MakeSurfaceMaps(paths, maps);
    for (int slot = 1; slot <= 11; ++slot)
        SaveTexture(maps[slot], paths, slot);

    Image galaxy = MakeGalaxy();
    SaveTexture(galaxy, paths, 0, true, 90);
    Image crown = MakeCrown();
    SaveTexture(crown, paths, 16, true);
    Image saturnRing = MakeSaturnRing(paths);
    SaveTexture(saturnRing, paths, 14);
    SaveTexture(MakeUranusRing(), paths, 15);
    SaveTexture(MakeOrbit(), paths, 18, false, 95);
    Image panel = MakePanel();
    SaveTexture(panel, paths, 17, false, 95);

    SaveJpeg(RenderScene(256, 192, maps, saturnRing, galaxy, crown), paths.out + "/preview.jpg", 92);
    SaveJpeg(RenderScene(264, 168, maps, saturnRing, galaxy, crown), argv[5], 92);
    SavePng(RenderPanelSample(paths.out + "/descriptions.bin", widths, panel, LoadImage(paths.out + "/font.bmp"),
                              LoadImage(paths.out + "/sign.bmp"), galaxy),
            paths.out + "/sheet/panel-sample.png");
    return 0;
}
