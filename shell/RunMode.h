// Run mode: the screen saver proper, from start-up to shut-down.
#pragma once

#include <cstdint>

class TMemoryStream;
class TDrawMsg;
class TPlanetaryModel;

extern bool FullScreen;            // true while running in the full-screen display mode
extern bool SoundReady;            // sound library initialised (and music stream made when Sound is on)
extern std::uint32_t MusicStream;  // the looping music stream; 0 if none
extern double SavedVolume;         // master volume found at start; 0 until read
extern TMemoryStream* MusicData;   // the music bytes the stream plays from
extern TDrawMsg* DescPanel;        // the description panel; made at start-up, freed at shut-down
extern TPlanetaryModel* Model;     // the planetary model; made at start-up, freed by the main loop

// Seeds the random generator, records the display mode, loads the settings and
// creates what run mode draws. False when the model could not be made.
bool InitRunMode();

// Loads the sound library and prepares the looping music stream.
void StartSound();

// Stops the music, gives back the master volume and releases the sound library.
void StopSound();

// Runs the saver until it is ended.
void RunSaver();
