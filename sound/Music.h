// The music of run mode: the sound library loaded from the data folder, a looping
// stream over the data library's "Sound" resource, and the user's master volume,
// which is replaced while the saver runs and given back when it ends.
#pragma once

#include <cstdint>

class TMemoryStream;

extern bool SoundReady;            // library initialised (and the stream made when Sound is on)
extern std::uint32_t MusicStream;  // the looping music stream; 0 if none
extern double SavedMasterVolume;   // master volume found at start, 0.0 to 1.0; 0 until read

// Loads the sound library beside the data library and prepares the looping
// music stream at the Volume setting. Nothing is reported: no music is a normal path.
void StartSound();

// Starts the prepared stream, when there is one and Sound is on.
void PlayMusic();

// Stops the music, gives back the master volume and releases the library and
// the memory the stream played from. Safe after any StartSound outcome.
void StopSound();
