#include "textures/DibLayout.h"
#include "textures/PixelConvert.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(DibLayout, HimetricConvertsWithRoundingHalfAwayFromZero)
{
    const struct { std::int32_t himetric, perInch, pixels; } cases[] = {
        {6773, 96, 256},  // a 256-pixel picture measured at 96 dpi
        {79, 96, 3},      // 2.986 rounds up
        {1270, 1, 1},     // exactly half rounds away from zero
        {-1270, 1, -1},   {1269, 1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HimetricToPixels(c.himetric, c.perInch), c.pixels) << c.himetric << " at " << c.perInch;
}

// The packing itself is seen in the uploaded textures (colour order, padded rows);
// what no texture shows is the refusal of other depths and sizes.
TEST(PixelConvert, OtherDepthsAndSizesAreRefused)
{
    const std::vector<std::uint8_t> source(24, 0xEE);
    std::vector<std::uint8_t> untouched(18, 7);
    EXPECT_FALSE(BitmapToRGB(3, 2, 32, true, source.data(), untouched.data()));
    EXPECT_FALSE(BitmapToRGB(3, -2, 24, true, source.data(), untouched.data()));
    EXPECT_EQ(untouched, std::vector<std::uint8_t>(18, 7));
}

// A wrong answer either way costs: GLU's slow builder, or mipmaps never built.
TEST(PixelConvert, GenerateMipmapOfferedFromVersionOrWholeExtensionName)
{
    EXPECT_TRUE(OffersGenerateMipmap("4.5 (Compatibility Profile) Mesa 22.3.6", nullptr));
    EXPECT_TRUE(OffersGenerateMipmap("1.4.0 Vendor", ""));
    EXPECT_FALSE(OffersGenerateMipmap("1.3", "GL_ARB_multitexture GL_SGIS_generate_mipmap2"));
    EXPECT_TRUE(OffersGenerateMipmap("1.1", "GL_ARB_multitexture GL_SGIS_generate_mipmap"));
    EXPECT_TRUE(OffersGenerateMipmap("1.2", "GL_SGIS_generate_mipmap GL_EXT_bgra"));
    EXPECT_FALSE(OffersGenerateMipmap("one point four", "GL_XGL_SGIS_generate_mipmap"));
    EXPECT_FALSE(OffersGenerateMipmap(nullptr, nullptr));
}

} // namespace
