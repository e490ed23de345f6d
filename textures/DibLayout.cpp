#include "textures/DibLayout.h"

#include <cstdlib>

std::int32_t HimetricToPixels(std::int32_t himetric, std::int32_t pixelsPerInch)
{
    constexpr std::int64_t HimetricPerInch = 2540;
    const std::int64_t product = static_cast<std::int64_t>(himetric) * pixelsPerInch;
    // Half away from zero, as MulDiv does.
    const std::int64_t magnitude = (std::llabs(product) + HimetricPerInch / 2) / HimetricPerInch;
    const std::int64_t result = product < 0 ? -magnitude : magnitude;
    if (result > INT32_MAX || result < INT32_MIN) return 0;
    return static_cast<std::int32_t>(result);
}

TBgr BottomUpPixel(const std::uint8_t* bits, std::int32_t rowBytes, std::int32_t height, std::int32_t x,
                   std::int32_t y)
{
    const std::uint8_t* p = bits + static_cast<std::ptrdiff_t>(height - 1 - y) * rowBytes + x * 3;
    return TBgr{p[0], p[1], p[2]};
}
