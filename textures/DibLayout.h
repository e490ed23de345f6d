// The geometry of the bitmaps the picture loader hands out: their pixel size from
// the picture's HIMETRIC size, and their bottom-up rows of blue-green-red pixels
// (row size: BitmapStride in textures/PixelConvert.h). Pure arithmetic.
#pragma once

#include <cstdint>

// Pixels for a length in HIMETRIC units (hundredths of a millimetre) at the given
// pixels per inch: himetric * perInch / 2540, rounded half away from zero the way
// the system's MulDiv rounds; 0 when the product does not fit 32 bits.
std::int32_t HimetricToPixels(std::int32_t himetric, std::int32_t pixelsPerInch);

struct TBgr {
    std::uint8_t Blue, Green, Red;
    bool operator==(const TBgr&) const = default;
};

// The pixel in column x of picture row y (row 0 is the top of the picture) of a
// bottom-up 24-bit bitmap of the given height and row size. The caller keeps x and
// y inside the bitmap.
TBgr BottomUpPixel(const std::uint8_t* bits, std::int32_t rowBytes, std::int32_t height, std::int32_t x,
                   std::int32_t y);
