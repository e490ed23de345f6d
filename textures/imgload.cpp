#include "textures/imgload.h"

#include "support/Handles.h"
#include "textures/DibLayout.h"

#include <olectl.h>

#include <cstring>

TPictureInfo PictureInfo{};

namespace {

IPicture* CurrentPicture = nullptr;

void ReleasePicture(IPicture*& picture)
{
    if (picture) {
        picture->Release();
        picture = nullptr;
    }
}

// Releases a picture still held when the program ends.
struct PictureFinaliser {
    ~PictureFinaliser() { ReleasePicture(CurrentPicture); }
} Finaliser;

// The steps of a load, each on the picture held in `Held`: the unit's current
// picture, or one a decoding thread keeps to itself.
bool StreamToPicture(IPicture*& Held, TPictureInfo& Info, HGLOBAL Memory, std::int32_t Size, bool DeleteOnRelease)
{
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(Memory, DeleteOnRelease ? TRUE : FALSE, &stream)) || stream == nullptr)
        return false;
    ReleasePicture(Held);

    IPicture* picture = nullptr;
    // Run mode off: the picture keeps the format it was stored in.
    const HRESULT result = OleLoadPicture(stream, Size, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(result) || picture == nullptr) return false;

    Held = picture;
    Info.StreamSize = Size;
    return true;
}

bool HeldPictureToDIB(IPicture*& Held, TPictureInfo& Info)
{
    if (Held == nullptr) return false;
    WindowDC screen(nullptr);
    if (!screen) return false;

    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    OLE_HANDLE handle = 0;
    SHORT type = 0;
    if (FAILED(Held->get_Width(&himetricWidth)) || FAILED(Held->get_Height(&himetricHeight)) ||
        FAILED(Held->get_Handle(&handle)) || FAILED(Held->get_Type(&type)))
        return false;

    Info.HimetricWidth = himetricWidth;
    Info.HimetricHeight = himetricHeight;
    Info.Width = HimetricToPixels(himetricWidth, GetDeviceCaps(screen.get(), LOGPIXELSX));
    Info.Height = HimetricToPixels(himetricHeight, GetDeviceCaps(screen.get(), LOGPIXELSY));
    Info.Handle = reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle));
    Info.PictureType = type;
    if (type != PICTYPE_BITMAP) return true; // kept as it is; GetPictureBitmap refuses it
    // A picture header can claim any size; beyond this side no texture is
    // uploaded anyway, and the copy alone would take hundreds of megabytes.
    if (Info.Width > MaxPictureSide || Info.Height > MaxPictureSide) return false;

    UniqueGdiObject converted;
    {
        UniqueMemoryDC source(CreateCompatibleDC(screen.get()));
        UniqueMemoryDC target(CreateCompatibleDC(screen.get()));
        if (!source || !target) return false;
        converted.reset(CreateDIB(Info.Width, Info.Height, 24));
        if (!converted) return false;
        SelectGuard selectSource(source.get(), Info.Handle);
        SelectGuard selectTarget(target.get(), converted.get());
        if (!BitBlt(target.get(), 0, 0, Info.Width, Info.Height, source.get(), 0, 0, SRCCOPY)) return false;
    } // both selections undone and both contexts deleted before the picture goes

    Info.ImageSize = Info.Width * Info.Height * 3;
    ReleasePicture(Held); // frees the picture's own bitmap
    Info.Handle = converted.release();
    return true;
}

bool ResourceToBitmap(IPicture*& Held, TPictureInfo& Info, HMODULE Module, LPCSTR Resource, HBITMAP& Bitmap)
{
    ClearPictureInfo(Info);
    Bitmap = nullptr;

    HRSRC found = FindResourceA(Module, Resource, RT_RCDATA);
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(Module, found);
    if (loaded == nullptr) return false;
    const void* bytes = LockResource(loaded);
    const DWORD size = SizeofResource(Module, found);
    if (bytes == nullptr || size == 0 || size > INT32_MAX) return false;
    Info.Data = bytes;

    // The stream needs memory of its own; the block is freed on every path below.
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) return false;
    void* copy = GlobalLock(block.get());
    if (copy == nullptr) return false;
    std::memcpy(copy, bytes, size);
    Info.Data = copy;
    GlobalUnlock(block.get());

    if (!StreamToPicture(Held, Info, block.get(), static_cast<std::int32_t>(size), false)) return false;
    if (!HeldPictureToDIB(Held, Info)) return false;
    return GetPictureBitmap(Info, Bitmap);
}

} // namespace

void ClearPictureInfo(TPictureInfo& Info) { Info = TPictureInfo{}; }

bool HoldsPicture() { return CurrentPicture != nullptr; }

bool LoadPictureFromResource(TPictureInfo& Info, HMODULE Module, LPCSTR Resource, HBITMAP& Bitmap)
{
    return ResourceToBitmap(CurrentPicture, Info, Module, Resource, Bitmap);
}

bool DecodePictureResource(TPictureInfo& Info, HMODULE Module, LPCSTR Resource, HBITMAP& Bitmap)
{
    IPicture* own = nullptr;
    const bool decoded = ResourceToBitmap(own, Info, Module, Resource, Bitmap);
    if (own) {
        // A picture of another kind is not kept: its handle goes with it.
        ReleasePicture(own);
        Info.Handle = nullptr;
    }
    return decoded;
}

bool LoadPictureFromStream(TPictureInfo& Info, HGLOBAL Memory, std::int32_t Size, bool DeleteOnRelease)
{
    return StreamToPicture(CurrentPicture, Info, Memory, Size, DeleteOnRelease);
}

bool PictureToDIB(TPictureInfo& Info) { return HeldPictureToDIB(CurrentPicture, Info); }

HBITMAP CreateDIB(std::int32_t Width, std::int32_t Height, std::int32_t BitsPerPixel)
{
    WindowDC screen(nullptr);
    if (!screen) return nullptr;
    UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    if (!memory) return nullptr;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = Height; // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(BitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

bool GetPictureBitmap(const TPictureInfo& Info, HBITMAP& Bitmap)
{
    if (Info.PictureType != PictureTypeBitmap || Info.Handle == nullptr) return false;
    Bitmap = static_cast<HBITMAP>(Info.Handle);
    return true;
}
