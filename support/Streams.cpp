#include "support/Streams.h"

#include <algorithm>
#include <cstring>
#include <limits>

// ---------------------------------------------------------------- TStream

void TStream::Resize(std::int32_t) {}

std::int32_t TStream::SeekTo(std::int32_t NewPosition) { return Seek(NewPosition, soBeginning); }

std::int32_t TStream::Length()
{
    const std::int32_t remembered = Seek(0, soCurrent);
    const std::int32_t result = Seek(0, soEnd);
    Seek(remembered, soBeginning);
    return result;
}

void TStream::ReadExact(void* Buffer, std::int32_t Count)
{
    if (Count != 0) Read(Buffer, Count);
}

// ---------------------------------------------------- TCustomMemoryStream

std::int32_t TCustomMemoryStream::Read(void* Buffer, std::int32_t Count)
{
    if (Position_ < 0 || Count < 0) return 0;
    std::int32_t n = Size_ - Position_;
    if (n <= 0) return 0;
    if (n > Count) n = Count;
    std::memcpy(Buffer, static_cast<const char*>(Memory_) + Position_, static_cast<std::size_t>(n));
    Position_ += n;
    return n;
}

std::int32_t TCustomMemoryStream::Seek(std::int32_t Offset, std::int16_t Origin)
{
    // Positions wrap like the 32-bit integers they are rather than overflow.
    auto add = [](std::int32_t a, std::int32_t b) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
    };
    switch (Origin) {
    case soBeginning: Position_ = Offset; break;
    case soCurrent: Position_ = add(Position_, Offset); break;
    case soEnd: Position_ = add(Size_, Offset); break;
    default: break;
    }
    return Position_;
}

void TCustomMemoryStream::Attach(void* Pointer, std::int32_t NewSize)
{
    Memory_ = Pointer;
    Size_ = NewSize;
}

// ---------------------------------------------------------- TMemoryStream

TMemoryStream::~TMemoryStream() { Clear(); }

void TMemoryStream::Clear()
{
    Reserve(0);
    Size_ = 0;
    Position_ = 0;
}

void TMemoryStream::LoadFrom(TStream& Source)
{
    Source.SeekTo(0);
    const std::int32_t n = Source.Length();
    Resize(n);
    // When the memory could not be had the stream is empty; copy nothing then.
    if (n != 0 && Size_ == n) Source.ReadExact(Memory_, n);
}

void TMemoryStream::Reserve(std::int32_t NewCapacity)
{
    const std::int32_t requested = NewCapacity;
    void* p = Reallocate(NewCapacity);
    if (p == nullptr && requested > 0) {
        // Out of memory: Reallocate has dropped the old block. Leave an empty,
        // consistent stream rather than a size that points at nothing.
        Attach(nullptr, 0);
        Capacity_ = 0;
        return;
    }
    // A capacity below the size cuts the block under the data: the stream keeps
    // what the block still holds, and a capacity below zero holds nothing.
    Attach(p, std::clamp(Size_, 0, std::max(NewCapacity, 0)));
    Capacity_ = std::max(NewCapacity, 0);
}

void TMemoryStream::Resize(std::int32_t NewSize)
{
    NewSize = std::max(NewSize, 0);  // no stream is smaller than empty
    if (NewSize < Position_) Seek(0, soEnd);
    Reserve(NewSize);
    if (Capacity_ >= NewSize) Size_ = NewSize;
}

std::int32_t TMemoryStream::Write(const void* Buffer, std::int32_t Count)
{
    if (Position_ < 0 || Count < 0) return 0;
    // A stream cannot reach past 2 GiB; a write that would is refused.
    const std::int64_t end64 = static_cast<std::int64_t>(Position_) + Count;
    if (end64 <= 0 || end64 > std::numeric_limits<std::int32_t>::max()) return 0;
    const std::int32_t end = static_cast<std::int32_t>(end64);
    if (end > Size_) {
        if (end > Capacity_) {
            Reserve(end);
            if (Capacity_ < end) return 0;
        }
        Size_ = end;
    }
    // An empty write may come without a buffer.
    if (Count > 0) std::memcpy(static_cast<char*>(Memory_) + Position_, Buffer, static_cast<std::size_t>(Count));
    Position_ = end;
    return Count;
}

void* TMemoryStream::Reallocate(std::int32_t& NewCapacity)
{
    constexpr std::int32_t step = 8192;
    if (NewCapacity > 0 && NewCapacity != Size_) {
        if (NewCapacity > std::numeric_limits<std::int32_t>::max() - (step - 1)) {
            // Cannot be rounded within 32 bits: no block that large exists.
            FreeBlock();
            return nullptr;
        }
        NewCapacity = (NewCapacity + (step - 1)) & ~(step - 1);
    }
    if (NewCapacity == Capacity_ && Block_ != nullptr) return Memory_;

    if (NewCapacity <= 0) {
        FreeBlock();
        return nullptr;
    }

    if (Block_ == nullptr) {
        Block_ = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(NewCapacity));
    } else {
        GlobalUnlock(Block_);
        HGLOBAL grown = GlobalReAlloc(Block_, static_cast<SIZE_T>(NewCapacity), GMEM_MOVEABLE);
        if (grown == nullptr) {
            GlobalFree(Block_);
            Block_ = nullptr;
        } else {
            Block_ = grown;
        }
    }
    if (Block_ == nullptr) return nullptr;
    void* p = GlobalLock(Block_);
    if (p == nullptr) {
        GlobalFree(Block_);
        Block_ = nullptr;
    }
    return p;
}

void TMemoryStream::FreeBlock()
{
    if (Block_ == nullptr) return;
    GlobalUnlock(Block_);
    GlobalFree(Block_);
    Block_ = nullptr;
}

// -------------------------------------------------------- TResourceStream

TResourceStream::TResourceStream(HMODULE Module, const char* Name, const char* ResourceType)
{
    Initialize(Module, Name, ResourceType);
}

TResourceStream::TResourceStream(HMODULE Module, std::int32_t Identifier, const char* ResourceType)
{
    Initialize(Module, MAKEINTRESOURCEA(Identifier), ResourceType);
}

void TResourceStream::Initialize(HMODULE Module, const char* Name, const char* ResourceType)
{
    ResInfo = FindResourceA(Module, Name, ResourceType);
    if (ResInfo == nullptr) return;
    ResData = LoadResource(Module, ResInfo);
    if (ResData == nullptr) return;
    void* data = LockResource(ResData);
    if (data == nullptr) return;
    Attach(data, static_cast<std::int32_t>(SizeofResource(Module, ResInfo)));
}

TResourceStream::~TResourceStream()
{
    // NOTE: a loaded module's resources are mapped with it; FreeResource does no
    // harm and keeps the release paired with the load.
    if (ResData) FreeResource(ResData);
}

std::int32_t TResourceStream::Write(const void*, std::int32_t) { return -1; }
