#include "textures/PixelConvert.h"

#include "common/Util.h"

#include <cstdio>

std::size_t BitmapStride(std::int32_t width)
{
    return ((static_cast<std::size_t>(width) * 24 + 31) & ~static_cast<std::size_t>(31)) / 8;
}

bool BitmapToRGB(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel, bool swap,
                 const std::uint8_t* source, std::uint8_t* dest)
{
    if (bitsPerPixel != 24 || width < 0 || height < 0) return false;
    const std::size_t stride = BitmapStride(width);
    for (std::int32_t r = 0; r < height; ++r) {
        const std::uint8_t* pixel = source + static_cast<std::size_t>(r) * stride;
        for (std::int32_t x = 0; x < width; ++x, pixel += 3, dest += 3) {
            dest[0] = swap ? pixel[2] : pixel[0];
            dest[1] = pixel[1];
            dest[2] = swap ? pixel[0] : pixel[2];
        }
    }
    return true;
}

bool OffersGenerateMipmap(const char* version, const char* extensions)
{
    int major = 0, minor = 0;
    // "major.minor", then anything: a release number, a vendor's words.
    if (version && std::sscanf(version, "%d.%d", &major, &minor) == 2 && (major > 1 || (major == 1 && minor >= 4)))
        return true;
    return ListsName(extensions, "GL_SGIS_generate_mipmap");
}
