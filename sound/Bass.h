// The sound library bass.dll, loaded at run time from the data folder. Every
// entry point is resolved by name; a missing library or entry point means no music.
#pragma once

#include "support/Win.h"

#include <cstdint>
#include <string>

extern HMODULE BassModule;  // null when the library is not loaded

// The loop flag of BASS_StreamCreateFile: the stream repeats without end.
inline constexpr std::uint32_t BASS_SAMPLE_LOOP = 4;

// Entry points of the library (stdcall, undecorated names). Null while unloaded.
extern std::uint32_t(WINAPI* BASS_GetVersion)();
extern std::int32_t(WINAPI* BASS_ErrorGetCode)();
extern BOOL(WINAPI* BASS_Init)(std::int32_t device, std::uint32_t freq, std::uint32_t flags, HWND win,
                               const void* clsid);
extern BOOL(WINAPI* BASS_Free)();
extern BOOL(WINAPI* BASS_Start)();
extern BOOL(WINAPI* BASS_Stop)();
extern BOOL(WINAPI* BASS_Pause)();
extern BOOL(WINAPI* BASS_SetVolume)(float volume);
extern float(WINAPI* BASS_GetVolume)();
extern std::uint32_t(WINAPI* BASS_StreamCreateFile)(BOOL mem, const void* file, std::uint64_t offset,
                                                     std::uint64_t length, std::uint32_t flags);
extern BOOL(WINAPI* BASS_StreamFree)(std::uint32_t handle);
extern BOOL(WINAPI* BASS_ChannelPlay)(std::uint32_t handle, BOOL restart);
extern BOOL(WINAPI* BASS_ChannelStop)(std::uint32_t handle);
extern BOOL(WINAPI* BASS_ChannelPause)(std::uint32_t handle);

// Loads the library from the full path and resolves all fourteen entry points.
// True when loaded (at once when it already was); a library lacking any entry
// point is released again.
bool LoadBass(const std::string& FilePath);

// Shuts the library down (BASS_Free) and releases it.
void UnloadBass();
