// The fixed OpenGL state of the scene, its projection and camera, the time base
// of the animation and the order in which one frame is drawn.
#pragma once

#include "scene/Viewports.h"

#include <cstdint>

class TDrawMsg;
class TPlanetaryModel;

extern std::uint32_t PrevTick;   // tick count of the previous frame, ms
extern std::uint32_t CurTick;    // tick count of the current frame, ms
extern std::int32_t FrameDelta;  // ms between the previous frame and this one
extern bool FirstFrame;          // true until the first frame has started
extern float CameraTilt;         // degrees about the screen's horizontal axis; within one turn
extern bool LightingOn;          // the lights are set up

// Sets the fixed state of a new rendering context. Always true.
bool InitSceneState();
void SetupLights();

// Viewport and perspective projection for a client area; a height of 0 counts as 1.
// The frame is then drawn once, over the whole area.
void ResizeScene(int width, int height);
// Draws each frame once per viewport instead, each with its own aspect, the
// first with the overlays. Fewer than two: as after ResizeScene.
void SetSceneViewports(std::vector<TViewport> viewports);

// Milliseconds since the previous call, right across the wrap of the tick count.
std::int32_t ElapsedTicks();
// The animation step of the next frame, ms: about 0 for the first frame, since
// start-up and texture loading are not animated, then the time since the last one.
std::int32_t NextFrameStep();

// Draws one frame into the back buffer: `model` advanced by `step` ms, then the
// overlays with the measured `frameRate` and `panel` (may be null). Puts back
// every attribute it changes. Always true.
bool RenderFrame(TPlanetaryModel& model, std::int32_t step, std::int32_t frameRate, TDrawMsg* panel);
