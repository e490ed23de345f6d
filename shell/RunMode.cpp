#include "shell/RunMode.h"

#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "common/Util.h"
#include "sound/Bass.h"
#include "dialogs/ConfigDialog.h"
#include "shell/SaverWindow.h"
#include "shell/ShowError.h"
#include "support/Streams.h"
#include "support/Win.h"

bool FullScreen = false;
bool SoundReady = false;
std::uint32_t MusicStream = 0;
double SavedVolume = 0.0;
TMemoryStream* MusicData = nullptr;

namespace {
// The master volume was read and replaced by StartSound.
bool VolumeChanged = false;
} // namespace

bool InitRunMode()
{
    RandomSeed(GetTickCount());
    QueryDesktopMode();
    LoadSettings();
    // Scaled in memory only; the stored settings keep their own values.
    Settings.Distance *= Settings.Scale;
    Settings.Sizes *= Settings.Scale;
    // The description panel and the planetary model join here as they are
    // built; neither needs an OpenGL context.
    return true;
}

void StartSound()
{
    SoundReady = false;
    // Only the data folder is tried: a bass.dll elsewhere on the search path is not ours to load.
    if (!LoadBass(DataPath + "\\bass.dll")) return;
    if ((BASS_GetVersion() >> 16) != 0x0204) return;
    // The saver window does not exist yet; the library does not need one.
    if (!BASS_Init(-1, 44100, 0, nullptr, nullptr)) return;
    if (!Settings.Sound) {
        SoundReady = true;
        return;
    }

    SavedVolume = BASS_GetVolume();
    VolumeChanged = true;
    BASS_SetVolume(static_cast<float>(Settings.Volume) / 100.0f);

    MusicData = new TMemoryStream;
    {
        TResourceStream music(DataLibrary, "Sound", RT_RCDATA);
        MusicData->LoadFrom(music);
    }
    // The library plays from this memory for as long as the stream exists.
    MusicStream = BASS_StreamCreateFile(TRUE, MusicData->Memory(), 0,
                                        static_cast<std::uint64_t>(MusicData->Size()), BASS_SAMPLE_LOOP);
    if (MusicStream != 0) SoundReady = true;
}

void StopSound()
{
    if (Settings.Sound && SoundReady) {
        BASS_Stop();
        if (SavedVolume != 0.0) BASS_SetVolume(static_cast<float>(SavedVolume));
        BASS_StreamFree(MusicStream);
        MusicStream = 0;
    } else if (VolumeChanged && BassModule != nullptr) {
        // The music could not start but the master volume was already set:
        // give the user's volume back all the same.
        if (SavedVolume != 0.0) BASS_SetVolume(static_cast<float>(SavedVolume));
    }
    VolumeChanged = false;
    // Silent runs keep the library initialised until here; release it now
    // rather than leave the device open until the process ends.
    UnloadBass();
    delete MusicData;
    MusicData = nullptr;
    SoundReady = false;
}

void RunSaver()
{
    if (!DataLoaded || DataLibrary == nullptr || !InitRunMode()) {
        ShowError("duzidad.dll or bass.dll", IDS_LOAD_LIBRARY, IDS_ERROR);
        return;
    }
    FullScreen = true;
    StartSound();

    // The scene window and the main loop come next; without them run mode has
    // nothing to show and shuts down.

    StopSound();
    if (Keys[' ']) ShowConfigDialog();
}
