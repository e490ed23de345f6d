#include "sound/Music.h"

#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "sound/Bass.h"
#include "support/Streams.h"

#include <algorithm>
#include <memory>
#include <new>

bool SoundReady = false;
std::uint32_t MusicStream = 0;
double SavedMasterVolume = 0.0;

namespace {
// The bytes the library plays from, for as long as the stream exists.
std::unique_ptr<TMemoryStream> MusicData;
// The master volume was read and replaced by StartSound.
bool VolumeChanged = false;

void GiveVolumeBack()
{
    if (SavedMasterVolume != 0.0) BASS_SetVolume(static_cast<float>(SavedMasterVolume));
}
} // namespace

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

    SavedMasterVolume = BASS_GetVolume();
    VolumeChanged = true;
    // Any tool can store any Volume; the library refuses a level outside 0 to 1
    // and would leave the music at the user's own master volume.
    BASS_SetVolume(static_cast<float>(std::clamp(Settings.Volume, 0, 100)) / 100.0f);

    MusicData.reset(new (std::nothrow) TMemoryStream);
    if (!MusicData) return;
    {
        TResourceStream music(DataLibrary, "Sound", RT_RCDATA);
        MusicData->LoadFrom(music);
    }
    MusicStream = BASS_StreamCreateFile(TRUE, MusicData->Memory(), 0,
                                        static_cast<std::uint64_t>(MusicData->Size()), BASS_SAMPLE_LOOP);
    if (MusicStream != 0) SoundReady = true;
}

void PlayMusic()
{
    if (Settings.Sound && SoundReady) BASS_ChannelPlay(MusicStream, FALSE);
}

void StopSound()
{
    if (Settings.Sound && SoundReady) {
        BASS_Stop();
        GiveVolumeBack();
        BASS_StreamFree(MusicStream);
        MusicStream = 0;
    } else if (VolumeChanged && BassModule != nullptr) {
        // The music could not start but the master volume was already set:
        // give the user's volume back all the same.
        GiveVolumeBack();
    }
    VolumeChanged = false;
    // Silent runs keep the library initialised until here; release it now
    // rather than leave the device open until the process ends.
    UnloadBass();
    // Only now: the library read the music from this memory until it was released.
    MusicData.reset();
    SoundReady = false;
}
