// Byte streams over memory and over the resources of a loaded module. None of
// them reports an error: failures show as short reads, a size of 0 or no memory.
#pragma once

#include "support/Win.h"

#include <cstdint>

class TStream {
public:
    virtual ~TStream() = default;

    // Seek origins: from the beginning, from the current position, from the end.
    static constexpr std::int16_t soBeginning = 0;
    static constexpr std::int16_t soCurrent = 1;
    static constexpr std::int16_t soEnd = 2;

    virtual void Resize(std::int32_t NewSize);
    virtual std::int32_t Read(void* Buffer, std::int32_t Count) = 0;
    virtual std::int32_t Write(const void* Buffer, std::int32_t Count) = 0;
    virtual std::int32_t Seek(std::int32_t Offset, std::int16_t Origin) = 0;

    std::int32_t SeekTo(std::int32_t NewPosition);
    // The size of the stream; the position is where it was before.
    std::int32_t Length();
    // Reads Count bytes when Count is not 0; a short read is not reported.
    void ReadExact(void* Buffer, std::int32_t Count);
};

// A stream over a block of memory it does not own. Positions may be negative or
// past the end; reading there gives nothing.
class TCustomMemoryStream : public TStream {
public:
    std::int32_t Read(void* Buffer, std::int32_t Count) override;
    std::int32_t Seek(std::int32_t Offset, std::int16_t Origin) override;

    void Attach(void* Pointer, std::int32_t NewSize);

    void* Memory() const { return Memory_; }
    std::int32_t Size() const { return Size_; }
    std::int32_t Position() const { return Position_; }

protected:
    void* Memory_ = nullptr;
    std::int32_t Size_ = 0;
    std::int32_t Position_ = 0;
};

// A growable block of moveable global memory, kept locked while it exists, that
// the stream owns. Capacity grows in steps of 8192 bytes.
class TMemoryStream : public TCustomMemoryStream {
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    void Resize(std::int32_t NewSize) override;
    std::int32_t Write(const void* Buffer, std::int32_t Count) override;

    void Clear();
    void LoadFrom(TStream& Source);
    void Reserve(std::int32_t NewCapacity);

    std::int32_t Capacity() const { return Capacity_; }

protected:
    // Resizes the block to NewCapacity (rounded up to 8192 unless it equals Size)
    // and returns its address; null when the capacity is 0 or memory ran out.
    virtual void* Reallocate(std::int32_t& NewCapacity);

private:
    void FreeBlock();

    std::int32_t Capacity_ = 0;
    HGLOBAL Block_ = nullptr;
};

// A read-only view of one RCDATA-like resource of a loaded module. A resource
// that is missing or cannot be loaded gives an empty stream.
class TResourceStream : public TCustomMemoryStream {
public:
    TResourceStream(HMODULE Module, const char* Name, const char* ResourceType);
    TResourceStream(HMODULE Module, std::int32_t Identifier, const char* ResourceType);
    ~TResourceStream() override;
    TResourceStream(const TResourceStream&) = delete;
    TResourceStream& operator=(const TResourceStream&) = delete;

    // The module's memory must not change: writes are refused with -1.
    std::int32_t Write(const void* Buffer, std::int32_t Count) override;

private:
    void Initialize(HMODULE Module, const char* Name, const char* ResourceType);

    HRSRC ResInfo = nullptr;
    HGLOBAL ResData = nullptr;
};
