// The few kernel32 calls the streams make, for the native fuzzing build only
// (the Windows tests run the real ones). A block is a plain heap allocation, and
// one beyond 1 MiB is refused the way a full address space refuses it, so that
// the streams' out-of-memory paths are reached too. There are no resources.
#pragma once

#include <cstddef>
#include <cstdlib>

using HGLOBAL = void*;
using HMODULE = void*;
using HRSRC = void*;
using SIZE_T = std::size_t;
using BOOL = int;
using DWORD = unsigned long;
inline constexpr unsigned GMEM_MOVEABLE = 2;
inline constexpr std::size_t StandInMemoryLimit = std::size_t{1} << 20;

inline HGLOBAL GlobalAlloc(unsigned, SIZE_T bytes) { return bytes > StandInMemoryLimit ? nullptr : std::malloc(bytes); }
inline HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, unsigned)
{
    return bytes > StandInMemoryLimit ? nullptr : std::realloc(block, bytes);
}
inline void* GlobalLock(HGLOBAL block) { return block; }
inline BOOL GlobalUnlock(HGLOBAL) { return 0; }
inline HGLOBAL GlobalFree(HGLOBAL block)
{
    std::free(block);
    return nullptr;
}

#define MAKEINTRESOURCEA(id) (reinterpret_cast<const char*>(static_cast<std::size_t>(id)))
inline HRSRC FindResourceA(HMODULE, const char*, const char*) { return nullptr; }
inline HGLOBAL LoadResource(HMODULE, HRSRC) { return nullptr; }
inline void* LockResource(HGLOBAL) { return nullptr; }
inline DWORD SizeofResource(HMODULE, HRSRC) { return 0; }
inline BOOL FreeResource(HGLOBAL) { return 0; }
