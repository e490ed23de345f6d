#include "shell/RunMode.h"

#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "common/Util.h"
#include "descriptions/ShowMsg.h"
#include "sound/Bass.h"
#include "dialogs/ConfigDialog.h"
#include "model/PlanetaryModel.h"
#include "shell/MainLoop.h"
#include "shell/SaverWindow.h"
#include "shell/ShowError.h"
#include "support/Streams.h"
#include "support/Win.h"

#include <new>

bool FullScreen = false;
bool SoundReady = false;
std::uint32_t MusicStream = 0;
double SavedVolume = 0.0;
TMemoryStream* MusicData = nullptr;
TDrawMsg* DescPanel = nullptr;
TPlanetaryModel* Model = nullptr;

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
    DescPanel = new TDrawMsg;
    // Neither needs an OpenGL context: everything that does is built with the textures.
    Model = new (std::nothrow) TPlanetaryModel;
    if (Model == nullptr || !Model->Valid()) {
        delete Model;
        Model = nullptr;
        ShowError("", IDS_INITIALIZATION, IDS_ERROR);
        return false;
    }
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

    if (!OpenSceneWindow("Astrolume", 800, 600, 32)) {
        ShowError("", IDS_CANT_CREATE_WINDOW, IDS_ERROR);
        // The master volume was already changed for the music: give it back.
        StopSound();
        delete Model;
        Model = nullptr;
        delete DescPanel;
        DescPanel = nullptr;
        return;
    }
    // The music starts only now, with the window and the textures ready.
    if (Settings.Sound && SoundReady) BASS_ChannelPlay(MusicStream, FALSE);
    RunMainLoop(800, 600, 32);

    StopSound();
    delete DescPanel;
    DescPanel = nullptr;
    if (Keys[VK_SPACE]) ShowConfigDialog();
}
