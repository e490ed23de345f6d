// The main loop of run mode: one window message or one frame per pass, the
// frame-rate caption and the panel's calibration, the full-screen toggle and
// the ways the saver ends.
#pragma once

class TDrawMsg;
class TPlanetaryModel;

extern bool Done;  // the loop ends after the pass that sets it

inline constexpr const char* FpsCaptionFormat = "Astrolume - FPS = %d";

// Runs until Esc, space, a granted mouse request or WM_QUIT, drawing `model`
// and calibrating `panel`. `width`, `height` and `bits` are given to
// OpenSceneWindow on an F4 toggle. On return the window is torn down, except
// after a failed toggle, which tore down what it made itself.
void RunMainLoop(int width, int height, int bits, TPlanetaryModel& model, TDrawMsg& panel);
