#include "textures/Texture.h"

#include "common/DataLibrary.h"
#include "support/Handles.h"
#include "textures/Fonts.h"
#include "textures/PixelConvert.h"
#include "textures/imgload.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>
#include <memory>
#include <new>

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

TTextureKind TextureKindOf(TTexName name)
{
    switch (name) {
    case txGalaxy:
    case txCrown: return TTextureKind::Luminance;
    case txOrbit: return TTextureKind::Rgb;
    case txNumberFont:
    case txFont:
    case txSign: return TTextureKind::Clamped;
    default: return TTextureKind::Mipmaps;
    }
}

HBITMAP LoadTextureBitmap(int resourceId)
{
    HBITMAP bitmap = nullptr;
    if (DataLibrary == nullptr || !LoadPictureFromResource(PictureInfo, DataLibrary, resourceId, bitmap))
        return nullptr;
    return bitmap;
}

namespace {
// Uploads one packed RGB picture into the bound texture. False when OpenGL or
// the mipmap builder refuses it.
bool Upload(TTextureKind kind, GLsizei width, GLsizei height, const std::uint8_t* rgb)
{
    while (glGetError() != GL_NO_ERROR) {}
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    switch (kind) {
    case TTextureKind::Luminance:
    case TTextureKind::Rgb:
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, kind == TTextureKind::Luminance ? 1 : 3, width, height, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, rgb);
        return glGetError() == GL_NO_ERROR;
    case TTextureKind::Clamped:
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        [[fallthrough]];
    case TTextureKind::Mipmaps:
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        return gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb) == 0;
    }
    return false;
}

// One picture into Textures[name]; false when it is missing or unusable.
bool LoadOne(HDC memory, TTexName name)
{
    UniqueGdiObject bitmap(LoadTextureBitmap(TextureResourceBase + name));
    if (!bitmap) return false;
    SelectGuard selected(memory, bitmap.get());
    DIBSECTION section = {};
    if (GetObjectA(bitmap.get(), sizeof section, &section) != sizeof section) return false;
    const BITMAP& bits = section.dsBm;
    if (bits.bmBits == nullptr || bits.bmBitsPixel != 24 || bits.bmWidth <= 0 || bits.bmHeight <= 0) return false;
    const std::size_t size = static_cast<std::size_t>(bits.bmWidth) * bits.bmHeight * 3;
    std::unique_ptr<std::uint8_t[]> rgb(new (std::nothrow) std::uint8_t[size]);
    if (!rgb) return false;
    BitmapToRGB(bits.bmWidth, bits.bmHeight, 24, true, static_cast<const std::uint8_t*>(bits.bmBits), rgb.get());
    // Packed rows of a width that is not a multiple of 4 do not meet the unpack
    // alignment of 4 under which they are uploaded: such rows are handed over
    // padded to 4 bytes.
    const std::size_t row = static_cast<std::size_t>(bits.bmWidth) * 3;
    const std::size_t stride = BitmapStride(bits.bmWidth);
    if (stride != row) {
        std::unique_ptr<std::uint8_t[]> padded(new (std::nothrow) std::uint8_t[stride * bits.bmHeight]());
        if (!padded) return false;
        for (LONG r = 0; r < bits.bmHeight; ++r) std::memcpy(&padded[r * stride], &rgb[r * row], row);
        rgb = std::move(padded);
    }
    glBindTexture(GL_TEXTURE_2D, Textures[name]);
    return Upload(TextureKindOf(name), bits.bmWidth, bits.bmHeight, rgb.get());
}
} // namespace

bool LoadTextures(HDC dc, const std::function<void()>& buildLists, const std::function<void()>& betweenPictures)
{
    UniqueMemoryDC memory(CreateCompatibleDC(dc));
    glGenTextures(TextureCount, Textures);
    // Rows reach OpenGL aligned to 4 bytes (see LoadOne), whatever the frame set.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    bool result = memory.get() != nullptr;
    for (int i = 0; result && i < TextureCount; ++i) {
        result = LoadOne(memory.get(), static_cast<TTexName>(i));
        if (betweenPictures) betweenPictures();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glBindTexture(GL_TEXTURE_2D, 0);

    // The lists are built even after a failure; they only refer to names.
    BuildFontLists(DataLibrary);
    if (buildLists) buildLists();

    if (!result) {
        glDeleteTextures(TextureCount, Textures);
        for (auto& name : Textures) name = 0;
    }
    return result;
}
