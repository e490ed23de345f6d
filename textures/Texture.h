// The texture set: twenty OpenGL textures made from the data library's pictures
// DATA_PICTURE_GALAXY to DATA_PICTURE_SIGN, one per TTexName slot, rebuilt for every rendering context.
#pragma once

#include "common/Commons.h"
#include "support/Win.h"

#include <functional>

// How a slot is uploaded.
enum class TTextureKind {
    Luminance,  // one level, 1 component, linear filters (galaxy, corona)
    Rgb,        // one level, 3 components, linear filters (orbit)
    Mipmaps,    // the full mipmap chain, 3 components, repeating
    Clamped,    // mipmaps clamped to the edge (fonts, signs)
};
TTextureKind TextureKindOf(TTexName name);

// Builds the whole set into Textures with the context current on this thread.
// The pictures are decoded on worker threads and uploaded here in texture order;
// the first that is missing, is not a bitmap or cannot be uploaded makes the
// result false, with every name of the set deleted. `betweenPictures`, when
// given, runs after each picture and while one is awaited: the caller's windows
// answer their messages there.
bool LoadTextures(const std::function<void()>& betweenPictures = nullptr);

// Picture `resourceId` of `library` as a 24-bit bitmap the caller deletes; null
// on any failure. Any thread with a COM apartment may call it, several at once.
HBITMAP LoadTextureBitmap(HMODULE library, int resourceId);
