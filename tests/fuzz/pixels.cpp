// A picture's size in pixels from its HIMETRIC size, and its bottom-up 24-bit rows
// packed for upload (input: width, height, swap, the two lengths, then the rows):
// each packed pixel is the one the loader's reader finds at the same place.
#include "tests/fuzz/Check.h"
#include "textures/DibLayout.h"
#include "textures/PixelConvert.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 11) return 0;
    std::int32_t himetric[2];
    std::memcpy(himetric, data + 3, sizeof himetric);
    const std::int64_t product = static_cast<std::int64_t>(himetric[0]) * himetric[1];
    FUZZ_CHECK(std::llabs(HimetricToPixels(himetric[0], himetric[1])) <= std::llabs(product) / 2540 + 1);

    const std::int32_t width = data[0] % 64;
    const bool swap = data[2] & 1;
    const std::size_t stride = BitmapStride(width);
    const std::int32_t height = data[1] % 64;
    if (stride == 0 || (size - 11) / stride < static_cast<std::size_t>(height)) return 0;
    const std::uint8_t* rows = data + 11;
    std::vector<std::uint8_t> packed(static_cast<std::size_t>(width) * height * 3);
    FUZZ_CHECK(BitmapToRGB(width, height, 24, swap, rows, packed.data()));
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const TBgr pixel = BottomUpPixel(rows, static_cast<std::int32_t>(stride), height, x, y);
            const std::uint8_t* rgb = &packed[(static_cast<std::size_t>(height - 1 - y) * width + x) * 3];
            FUZZ_CHECK(rgb[0] == (swap ? pixel.Red : pixel.Blue) && rgb[1] == pixel.Green &&
                       rgb[2] == (swap ? pixel.Blue : pixel.Red));
        }
    }
    return 0;
}
