// Pictures stored as raw-data resources of a module, decoded by the system's OLE
// picture loader into a 24-bit device-independent bitmap the caller owns.
//
// The bitmap is bottom-up (its first row in memory is the picture's lowest row),
// pixels are blue, green, red, and each row is padded to a multiple of 4 bytes
// (BitmapStride in textures/PixelConvert.h). Read the pixels through GetObject with a
// DIBSECTION. Failures are reported only by a false result; nothing is shown.
//
// LoadPictureFromResource and the steps behind it are used from one thread at a
// time: the info record and the current picture are shared and unprotected.
// DecodePictureResource keeps no picture and may run on any number of threads at
// once, each with its own record and its own COM apartment.
#pragma once

#include "support/Win.h"

#include <cstdint>

// What the last load found out about its picture. Cleared at the start of every load.
struct TPictureInfo {
    std::int32_t HimetricWidth;   // as the picture reports it, hundredths of a millimetre
    std::int32_t HimetricHeight;
    std::int32_t Width;           // screen pixels
    std::int32_t Height;
    const void* Data;             // the resource bytes, then their (since freed) copy
    std::int32_t PictureType;     // the picture kind; PictureTypeBitmap is the one accepted
    std::int32_t ImageSize;       // Width * Height * 3
    std::int32_t StreamSize;      // the resource's size in bytes
    HGDIOBJ Handle;               // the picture's own handle, then the new 24-bit bitmap
};

inline constexpr std::int32_t PictureTypeBitmap = 1;
// Pixels on the longer side of the largest picture converted (a texture of 8192
// is as large as common hardware takes).
inline constexpr std::int32_t MaxPictureSide = 8192;

// The one record the texture set, the preview and the configuration dialog share.
extern TPictureInfo PictureInfo;

// Decodes the RT_RCDATA resource `Resource` of `Module`. True with a new bitmap in
// `Bitmap` (the caller deletes it) when the resource exists, decodes and is a bitmap
// kind of picture; false with `Bitmap` null otherwise.
bool LoadPictureFromResource(TPictureInfo& Info, HMODULE Module, LPCSTR Resource, HBITMAP& Bitmap);
inline bool LoadPictureFromResource(TPictureInfo& Info, HMODULE Module, int ResourceId, HBITMAP& Bitmap)
{
    return LoadPictureFromResource(Info, Module, MAKEINTRESOURCEA(ResourceId), Bitmap);
}

// LoadPictureFromResource for any thread: the same result into the caller's own
// record, with no current picture touched; a picture of another kind than bitmap
// is released at once (its Handle cleared).
bool DecodePictureResource(TPictureInfo& Info, HMODULE Module, LPCSTR Resource, HBITMAP& Bitmap);

// Decodes a picture from a movable global block of `Size` bytes and holds it as the
// current picture (releasing the one held before). The block is freed with the
// stream only when `DeleteOnRelease` is set.
bool LoadPictureFromStream(TPictureInfo& Info, HGLOBAL Memory, std::int32_t Size, bool DeleteOnRelease);

// Fills the size fields from the current picture and, for a bitmap kind, converts it
// into a new 24-bit bitmap in Info.Handle and releases the picture.
bool PictureToDIB(TPictureInfo& Info);

// An empty bottom-up device-independent bitmap; null on failure.
HBITMAP CreateDIB(std::int32_t Width, std::int32_t Height, std::int32_t BitsPerPixel);

// Hands out Info.Handle when it is a bitmap; otherwise false and `Bitmap` untouched.
bool GetPictureBitmap(const TPictureInfo& Info, HBITMAP& Bitmap);

void ClearPictureInfo(TPictureInfo& Info);

// Whether a decoded picture is still held (a picture of another kind than bitmap
// stays held until the next load or the end of the program).
bool HoldsPicture();
