#include "textures/Texture.h"

#include "common/DataLibrary.h"
#include "support/Com.h"
#include "support/Handles.h"
#include "textures/PixelConvert.h"
#include "textures/imgload.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <new>

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif
#ifndef GL_GENERATE_MIPMAP
#define GL_GENERATE_MIPMAP 0x8191
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

HBITMAP LoadTextureBitmap(HMODULE library, int resourceId)
{
    TPictureInfo info{};
    HBITMAP bitmap = nullptr;
    if (library == nullptr || !DecodePictureResource(info, library, MAKEINTRESOURCEA(resourceId), bitmap))
        return nullptr;
    return bitmap;
}

namespace {

// One picture as a worker thread hands it over: packed red-green-blue rows, the
// lowest first, each padded to 4 bytes. `rgb` null when the picture is missing
// or unusable.
struct TDecodedPicture {
    std::unique_ptr<std::uint8_t[]> rgb;
    GLsizei width = 0, height = 0;
};

// Slot `name`'s picture decoded and converted on the calling thread, which runs COM.
TDecodedPicture DecodeTexture(HMODULE library, TTexName name)
{
    const UniqueGdiObject bitmap(LoadTextureBitmap(library, TextureResourceBase + name));
    if (!bitmap) return {};
    // The conversion drew into the bitmap: its bits are read only after that lands.
    GdiFlush();
    DIBSECTION section = {};
    if (GetObjectA(bitmap.get(), sizeof section, &section) != sizeof section) return {};
    const BITMAP& bits = section.dsBm;
    if (bits.bmBits == nullptr || bits.bmBitsPixel != 24 || bits.bmWidth <= 0 || bits.bmHeight <= 0) return {};
    const std::size_t size = static_cast<std::size_t>(bits.bmWidth) * bits.bmHeight * 3;
    std::unique_ptr<std::uint8_t[]> rgb(new (std::nothrow) std::uint8_t[size]);
    if (!rgb) return {};
    BitmapToRGB(bits.bmWidth, bits.bmHeight, 24, true, static_cast<const std::uint8_t*>(bits.bmBits), rgb.get());
    // Packed rows of a width that is not a multiple of 4 do not meet the unpack
    // alignment of 4 under which they are uploaded: such rows are handed over
    // padded to 4 bytes.
    const std::size_t row = static_cast<std::size_t>(bits.bmWidth) * 3;
    const std::size_t stride = BitmapStride(bits.bmWidth);
    if (stride != row) {
        std::unique_ptr<std::uint8_t[]> padded(new (std::nothrow) std::uint8_t[stride * bits.bmHeight]());
        if (!padded) return {};
        for (LONG r = 0; r < bits.bmHeight; ++r) std::memcpy(&padded[r * stride], &rgb[r * row], row);
        rgb = std::move(padded);
    }
    return {std::move(rgb), static_cast<GLsizei>(bits.bmWidth), static_cast<GLsizei>(bits.bmHeight)};
}

// The twenty pictures decoded on worker threads, one per processor, taken in
// texture order so that the uploads on the GL thread can follow close behind.
// The system's picture decoder takes most of the load's time; on one thread the
// other cores would only wait. Each worker runs it in a COM apartment of its own.
class TPictureDecoders {
public:
    explicit TPictureDecoders(HMODULE library) : library_(library)
    {
        for (UniqueKernelHandle& ready : ready_) {
            ready.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
            if (!ready) return;  // no workers: Take decodes on the calling thread
        }
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        const int workers = std::clamp(static_cast<int>(system.dwNumberOfProcessors), 1, TextureCount);
        for (int i = 0; i < workers; ++i) {
            UniqueKernelHandle thread(CreateThread(nullptr, 0, Work, this, 0, nullptr));
            if (thread) threads_[threadCount_++] = std::move(thread);
        }
    }
    // Waits for the workers, who stop after the picture in hand; what they
    // decoded and nobody took goes with the slots.
    ~TPictureDecoders()
    {
        stop_ = true;
        for (int i = 0; i < threadCount_; ++i) WaitForSingleObject(threads_[i].get(), INFINITE);
    }
    TPictureDecoders(const TPictureDecoders&) = delete;
    TPictureDecoders& operator=(const TPictureDecoders&) = delete;

    // Slot `name`'s picture, handed over; `waiting` runs every few milliseconds
    // while it is not ready yet.
    TDecodedPicture Take(TTexName name, const std::function<void()>& waiting)
    {
        if (threadCount_ == 0) return DecodeTexture(library_, name);
        DWORD waited;
        while ((waited = WaitForSingleObject(ready_[name].get(), WaitSliceMs)) == WAIT_TIMEOUT)
            if (waiting) waiting();
        if (waited != WAIT_OBJECT_0) return {};
        return std::move(pictures_[name]);
    }

private:
    static constexpr DWORD WaitSliceMs = 20;

    static DWORD WINAPI Work(void* self)
    {
        auto& decoders = *static_cast<TPictureDecoders*>(self);
        // The picture decoder is a COM object: without an apartment the decode fails.
        const ComApartment com;
        for (int i; !decoders.stop_ && (i = decoders.next_++) < TextureCount;) {
            decoders.pictures_[i] = DecodeTexture(decoders.library_, static_cast<TTexName>(i));
            SetEvent(decoders.ready_[i].get());
        }
        return 0;
    }

    const HMODULE library_;
    std::atomic<int> next_{0};
    std::atomic<bool> stop_{false};
    std::array<TDecodedPicture, TextureCount> pictures_;
    std::array<UniqueKernelHandle, TextureCount> ready_;  // set once a slot's picture is in
    std::array<UniqueKernelHandle, TextureCount> threads_;
    int threadCount_ = 0;
};

// What the driver offers for building mipmap chains, asked once per load.
struct TMipmapSupport {
    bool driverBuilds = false;  // GL_GENERATE_MIPMAP
    GLint maxSide = 0;
};

TMipmapSupport MipmapSupportOfContext()
{
    TMipmapSupport support;
    support.driverBuilds = OffersGenerateMipmap(reinterpret_cast<const char*>(glGetString(GL_VERSION)),
                                                reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &support.maxSide);
    return support;
}

constexpr bool IsPowerOfTwo(GLsizei side) { return side > 0 && (side & (side - 1)) == 0; }

// The full mipmap chain into the bound texture. The driver builds it on the
// spot; GLU's builder, much slower, remains for drivers without it and for
// sides that are not powers of two or too large, which GLU rescales first.
bool UploadMipmaps(const TMipmapSupport& support, GLsizei width, GLsizei height, const std::uint8_t* rgb)
{
    if (support.driverBuilds && IsPowerOfTwo(width) && IsPowerOfTwo(height) && width <= support.maxSide &&
        height <= support.maxSide) {
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        // Off again: the texture is left as GLU would leave it.
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_FALSE);
        if (glGetError() == GL_NO_ERROR) return true;
    }
    return gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb) == 0;
}

// Uploads one packed RGB picture into the bound texture. False when OpenGL or
// the mipmap builder refuses it.
bool Upload(TTextureKind kind, const TMipmapSupport& support, const TDecodedPicture& picture)
{
    while (glGetError() != GL_NO_ERROR) {}
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    switch (kind) {
    case TTextureKind::Luminance:
    case TTextureKind::Rgb:
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, kind == TTextureKind::Luminance ? 1 : 3, picture.width, picture.height, 0,
                     GL_RGB, GL_UNSIGNED_BYTE, picture.rgb.get());
        return glGetError() == GL_NO_ERROR;
    case TTextureKind::Clamped:
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        [[fallthrough]];
    case TTextureKind::Mipmaps:
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        return UploadMipmaps(support, picture.width, picture.height, picture.rgb.get());
    }
    return false;
}
} // namespace

bool LoadTextures(const std::function<void()>& betweenPictures)
{
    glGenTextures(TextureCount, Textures.data());
    // Rows reach OpenGL aligned to 4 bytes (see DecodeTexture), whatever the frame set.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const TMipmapSupport support = MipmapSupportOfContext();
    bool result = true;
    {
        TPictureDecoders decoders(DataLibrary);
        // In texture order: the first picture that fails fails the set.
        for (int i = 0; result && i < TextureCount; ++i) {
            const auto name = static_cast<TTexName>(i);
            const TDecodedPicture picture = decoders.Take(name, betweenPictures);
            result = picture.rgb != nullptr;
            if (result) {
                glBindTexture(GL_TEXTURE_2D, Textures[name]);
                result = Upload(TextureKindOf(name), support, picture);
            }
            if (betweenPictures) betweenPictures();
        }  // each picture freed as soon as it is uploaded
    }  // the workers stopped and gone, whatever they still held freed
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glBindTexture(GL_TEXTURE_2D, 0);
    if (!result) {
        glDeleteTextures(TextureCount, Textures.data());
        Textures.fill(0);
    }
    return result;
}
