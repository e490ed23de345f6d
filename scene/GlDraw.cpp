#include "scene/GlDraw.h"

#include "common/SafeSettings.h"
#include "common/Settings.h"
#include "model/PlanetaryModel.h"
#include "scene/FrameSteps.h"
#include "scene/FrameTiming.h"
#include "scene/Overlays.h"
#include "scene/SmoothFrame.h"
#include "support/Win.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glext.h>

std::uint32_t PrevTick = 0;
std::uint32_t CurTick = 0;
std::int32_t FrameDelta = 0;
bool FirstFrame = true;
float CameraTilt = 0.0f;
bool LightingOn = true;
void (*FrameStepDrawn)(TFrameStep step) = nullptr;

namespace {
const GLfloat LightAmbient[4] = {0.06f, 0.06f, 0.06f, 1.0f};
const GLfloat LightDiffuse[4] = {0.2f, 0.2f, 0.2f, 1.0f};
// Light 0 sits in the Sun; the others 1.8 units from it on each axis. w = 1: positional.
const GLfloat LightPositions[7][4] = {
    {0.0f, 0.0f, 0.0f, 1.0f},  {1.8f, 0.0f, 0.0f, 1.0f}, {-1.8f, 0.0f, 0.0f, 1.0f}, {0.0f, 1.8f, 0.0f, 1.0f},
    {0.0f, -1.8f, 0.0f, 1.0f}, {0.0f, 0.0f, 1.8f, 1.0f}, {0.0f, 0.0f, -1.8f, 1.0f},
};
const GLfloat MaterialAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
const GLfloat MaterialDiffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat MaterialSpecular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
const GLfloat MaterialEmission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
const GLfloat MaterialShininess = 128.0f;

// The monitors' views of a window spanning several; empty for one view.
std::vector<TViewport> SceneViewports;
// The window's client area in pixels, which every frame covers.
int SceneWidth = 0, SceneHeight = 0;
// The context knows multisampling, so it can be switched off.
bool MultisampleSwitch = false;

// The viewport and a projection with its aspect; a height of 0 counts as 1.
void UseViewport(const TViewport& view)
{
    const int height = view.height == 0 ? 1 : view.height;
    glViewport(view.x, view.y, view.width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<GLdouble>(view.width) / static_cast<GLdouble>(height), 1.0, 300.0);
    glMatrixMode(GL_MODELVIEW);
}

void StepDrawn(TFrameStep step)
{
    if (FrameStepDrawn) FrameStepDrawn(step);
}

// One view of the scene in the current viewport: the model advanced by `step` ms,
// then the overlays when there is a `frameRate` to show.
void DrawView(TPlanetaryModel& model, std::int32_t step, const std::int32_t* frameRate, TDrawMsg* panel)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -SafeCamDistance(Settings.CamDistance));
    glRotatef(-CameraTilt, 1.0f, 0.0f, 0.0f);
    // Given after the camera transform, so the lights stay fixed around the Sun.
    for (int i = 0; i < 7; ++i) glLightfv(GL_LIGHT0 + i, GL_POSITION, LightPositions[i]);
    model.DrawBackground();
    StepDrawn(TFrameStep::Backdrop);
    model.Draw(step);
    StepDrawn(TFrameStep::Planets);
    // The Sun and the overlays are unlit and upright; the next frame finds lighting as the set-up left it.
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glRotatef(CameraTilt, 1.0f, 0.0f, 0.0f);
    model.DrawSun(step);
    StepDrawn(TFrameStep::Sun);
    if (frameRate) {
        // Smooth edges are for the scene: the overlays and the panel keep their pixels.
        if (MultisampleSwitch) glDisable(GL_MULTISAMPLE_ARB);
        DrawOverlays(*frameRate, panel);
        StepDrawn(TFrameStep::Overlays);
    }
    glPopAttrib();
}
} // namespace

void SetupLights()
{
    for (GLenum light = GL_LIGHT0; light <= GL_LIGHT6; ++light) {
        glLightfv(light, GL_AMBIENT, LightAmbient);
        glLightfv(light, GL_DIFFUSE, LightDiffuse);
    }
    for (GLenum light = GL_LIGHT1; light <= GL_LIGHT6; ++light) glEnable(light);
    glEnable(GL_LIGHT0);
    LightingOn = true;
    glEnable(GL_LIGHTING);
}

bool InitSceneState()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    SetupLights();
    glEnable(GL_NORMALIZE);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, MaterialAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, MaterialDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, MaterialSpecular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, MaterialEmission);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, MaterialShininess);
    MultisampleSwitch = HasGlExtension("GL_ARB_multisample");
    return true;
}

void ResizeScene(int width, int height)
{
    SceneViewports.clear();
    SceneWidth = width;
    SceneHeight = height;
    UseViewport({0, 0, width, height});
}

void SetSceneViewports(std::vector<TViewport> viewports)
{
    SceneViewports = std::move(viewports);
    if (SceneViewports.size() < 2) SceneViewports.clear();
}

std::int32_t ElapsedTicks()
{
    PrevTick = CurTick;
    CurTick = GetTickCount();
    return static_cast<std::int32_t>(TickDifference(CurTick, PrevTick));
}

std::int32_t NextFrameStep()
{
    if (FirstFrame) {
        CurTick = GetTickCount();
        FirstFrame = false;
    }
    return ElapsedTicks();
}

bool RenderFrame(TPlanetaryModel& model, std::int32_t step, std::int32_t frameRate, TDrawMsg* panel)
{
    FrameDelta = step;
    const bool smooth = BeginSmoothFrame(SceneWidth, SceneHeight);
    if (SceneViewports.empty()) {
        DrawView(model, FrameDelta, &frameRate, panel);
    } else {
        // The primary's view first moves the model on; the others show it as it
        // now stands, all from the same tilt.
        glPushAttrib(GL_ENABLE_BIT | GL_SCISSOR_BIT | GL_VIEWPORT_BIT | GL_TRANSFORM_BIT);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glEnable(GL_SCISSOR_TEST);
        for (const TViewport& view : SceneViewports) {
            const bool primary = &view == &SceneViewports.front();
            UseViewport(view);
            glScissor(view.x, view.y, view.width, view.height);
            DrawView(model, primary ? FrameDelta : 0, primary ? &frameRate : nullptr, panel);
        }
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glPopAttrib();
    }
    if (smooth) EndSmoothFrame();
    CameraTilt = AdvanceTilt(CameraTilt, FrameDelta, Settings.CamRotation);
    return true;
}
