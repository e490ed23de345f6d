#include "sound/Bass.h"

#include "support/Handles.h"

HMODULE BassModule = nullptr;

std::uint32_t(WINAPI* BASS_GetVersion)() = nullptr;
std::int32_t(WINAPI* BASS_ErrorGetCode)() = nullptr;
BOOL(WINAPI* BASS_Init)(std::int32_t, std::uint32_t, std::uint32_t, HWND, const void*) = nullptr;
BOOL(WINAPI* BASS_Free)() = nullptr;
BOOL(WINAPI* BASS_Start)() = nullptr;
BOOL(WINAPI* BASS_Stop)() = nullptr;
BOOL(WINAPI* BASS_Pause)() = nullptr;
BOOL(WINAPI* BASS_SetVolume)(float) = nullptr;
float(WINAPI* BASS_GetVolume)() = nullptr;
std::uint32_t(WINAPI* BASS_StreamCreateFile)(BOOL, const void*, std::uint64_t, std::uint64_t,
                                              std::uint32_t) = nullptr;
BOOL(WINAPI* BASS_StreamFree)(std::uint32_t) = nullptr;
BOOL(WINAPI* BASS_ChannelPlay)(std::uint32_t, BOOL) = nullptr;
BOOL(WINAPI* BASS_ChannelStop)(std::uint32_t) = nullptr;
BOOL(WINAPI* BASS_ChannelPause)(std::uint32_t) = nullptr;

namespace {

template <typename Function>
bool Resolve(HMODULE module, const char* name, Function*& slot)
{
    slot = EntryPoint<Function>(module, name);
    return slot != nullptr;
}

void ClearEntryPoints()
{
    BASS_GetVersion = nullptr;
    BASS_ErrorGetCode = nullptr;
    BASS_Init = nullptr;
    BASS_Free = nullptr;
    BASS_Start = nullptr;
    BASS_Stop = nullptr;
    BASS_Pause = nullptr;
    BASS_SetVolume = nullptr;
    BASS_GetVolume = nullptr;
    BASS_StreamCreateFile = nullptr;
    BASS_StreamFree = nullptr;
    BASS_ChannelPlay = nullptr;
    BASS_ChannelStop = nullptr;
    BASS_ChannelPause = nullptr;
}

} // namespace

bool LoadBass(const std::string& FilePath)
{
    if (BassModule != nullptr) return true;
    HMODULE module = QuietLoadLibrary(FilePath.c_str());
    if (module == nullptr) return false;

    const bool complete =
        Resolve(module, "BASS_GetVersion", BASS_GetVersion) & Resolve(module, "BASS_ErrorGetCode", BASS_ErrorGetCode) &
        Resolve(module, "BASS_Init", BASS_Init) & Resolve(module, "BASS_Free", BASS_Free) &
        Resolve(module, "BASS_Start", BASS_Start) & Resolve(module, "BASS_Stop", BASS_Stop) &
        Resolve(module, "BASS_Pause", BASS_Pause) & Resolve(module, "BASS_SetVolume", BASS_SetVolume) &
        Resolve(module, "BASS_GetVolume", BASS_GetVolume) &
        Resolve(module, "BASS_StreamCreateFile", BASS_StreamCreateFile) &
        Resolve(module, "BASS_StreamFree", BASS_StreamFree) & Resolve(module, "BASS_ChannelPlay", BASS_ChannelPlay) &
        Resolve(module, "BASS_ChannelStop", BASS_ChannelStop) &
        Resolve(module, "BASS_ChannelPause", BASS_ChannelPause);
    if (!complete) {
        FreeLibrary(module);
        ClearEntryPoints();
        return false;
    }
    BassModule = module;
    return true;
}

void UnloadBass()
{
    if (BassModule != nullptr) {
        BASS_Free();
        FreeLibrary(BassModule);
    }
    BassModule = nullptr;
    ClearEntryPoints();
}
