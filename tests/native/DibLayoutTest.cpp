#include "textures/DibLayout.h"
#include "textures/PixelConvert.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(DibLayout, HimetricConvertsWithRoundingHalfAwayFromZero)
{
    const struct {
        std::int32_t himetric, perInch, pixels;
    } cases[] = {
        {6773, 96, 256},  // a 256-pixel picture measured at 96 dpi
        {79, 96, 3},      // 2.986 rounds up
        {2540, 96, 96},   {2540, 120, 120}, {0, 96, 0},
        {1270, 1, 1},     // exactly half rounds away from zero
        {-1270, 1, -1},   {1269, 1, 0},
        {-6773, 96, -256},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HimetricToPixels(c.himetric, c.perInch), c.pixels) << c.himetric << " at " << c.perInch;
}

TEST(DibLayout, BottomUpPixelReadsRowsFromTheEnd)
{
    // Two rows of two pixels, 8 bytes a row: memory holds the lowest row first.
    const std::uint8_t bits[16] = {1, 2, 3, 4, 5, 6, 0, 0, /* top row: */ 7, 8, 9, 10, 11, 12, 0, 0};
    EXPECT_EQ(BottomUpPixel(bits, 8, 2, 0, 0), (TBgr{7, 8, 9}));
    EXPECT_EQ(BottomUpPixel(bits, 8, 2, 1, 0), (TBgr{10, 11, 12}));
    EXPECT_EQ(BottomUpPixel(bits, 8, 2, 0, 1), (TBgr{1, 2, 3}));
    EXPECT_EQ(BottomUpPixel(bits, 8, 2, 1, 1), (TBgr{4, 5, 6}));
}

TEST(PixelConvert, PacksRowsLowestFirstAndSwaps)
{
    // 3 x 2 picture: rows of 9 bytes padded to 12.
    EXPECT_EQ(BitmapStride(3), 12u);
    EXPECT_EQ(BitmapStride(4), 12u);
    EXPECT_EQ(BitmapStride(1), 4u);
    EXPECT_EQ(BitmapStride(0), 0u);
    EXPECT_EQ(BitmapStride(30), 92u);
    std::vector<std::uint8_t> source(24, 0xEE);  // filler shows up if read as pixels
    for (int r = 0; r < 2; ++r)
        for (int x = 0; x < 3; ++x) {
            std::uint8_t* p = &source[r * 12 + x * 3];
            p[0] = static_cast<std::uint8_t>(10 * r + x);  // blue
            p[1] = 100;                                     // green
            p[2] = static_cast<std::uint8_t>(200 + x);      // red
        }
    std::vector<std::uint8_t> packed(18, 0);
    ASSERT_TRUE(BitmapToRGB(3, 2, 24, true, source.data(), packed.data()));
    const std::vector<std::uint8_t> swapped = {200, 100, 0,  201, 100, 1,  202, 100, 2,
                                               200, 100, 10, 201, 100, 11, 202, 100, 12};
    EXPECT_EQ(packed, swapped);

    ASSERT_TRUE(BitmapToRGB(3, 2, 24, false, source.data(), packed.data()));
    EXPECT_EQ(packed[0], 0);
    EXPECT_EQ(packed[2], 200);
    EXPECT_EQ(packed[9], 10);

    std::vector<std::uint8_t> untouched(18, 7);
    EXPECT_FALSE(BitmapToRGB(3, 2, 32, true, source.data(), untouched.data()));
    EXPECT_FALSE(BitmapToRGB(3, -2, 24, true, source.data(), untouched.data()));
    EXPECT_EQ(untouched, std::vector<std::uint8_t>(18, 7));
}

} // namespace
