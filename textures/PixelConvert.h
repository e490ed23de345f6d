// Pixel conversion for texture upload. No <windows.h>: tested natively.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes in one row of `width` 3-byte pixels padded to a multiple of 4: the rows
// of a 24-bit device-independent bitmap, and the rows OpenGL reads under its
// default unpack alignment.
std::size_t BitmapStride(std::int32_t width);

// Packs a bottom-up 24-bit bitmap (`bitsPerPixel` must be 24) into `dest` as
// width * height * 3 bytes with no row filler, the lowest picture row first.
// With `swap` the blue-green-red source pixels become red-green-blue.
// False, with nothing written, for another pixel depth or a negative size.
bool BitmapToRGB(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel, bool swap,
                 const std::uint8_t* source, std::uint8_t* dest);

// Whether a driver of this GL_VERSION and GL_EXTENSIONS builds mipmap chains
// itself when asked with GL_GENERATE_MIPMAP: OpenGL 1.4 and later, or the
// extension that came before it. Either string may be null.
bool OffersGenerateMipmap(const char* version, const char* extensions);
