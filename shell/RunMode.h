// Run mode: the screen saver proper, from start-up to shut-down.
#pragma once

#include <memory>

class TDrawMsg;
class TPlanetaryModel;

extern std::unique_ptr<TDrawMsg> DescPanel;      // the description panel; made at start-up, freed at shut-down
extern std::unique_ptr<TPlanetaryModel> Model;   // the planetary model; made at start-up, freed after the loop

// Seeds the random generator, records the display mode, loads the settings and
// creates what run mode draws. False when the model could not be made.
bool InitRunMode();

// Runs the saver until it is ended.
void RunSaver();
