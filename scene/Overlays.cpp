#include "scene/Overlays.h"

#include "common/Settings.h"
#include "scene/ClockText.h"
#include "textures/Fonts.h"

#include <GL/gl.h>

TLocalTimeSource LocalTimeSource = &GetLocalTime;

namespace {
// Saves what the overlays change (enables, blending, list base, texture binding
// and the model-view matrix) and puts it back at the end of the step.
class SavedState {
public:
    SavedState()
    {
        glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LIST_BIT | GL_TEXTURE_BIT);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
    }
    ~SavedState()
    {
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glPopAttrib();
    }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;
};

// The number font added onto the scene in the current colour; black texels
// leave the scene as it is.
void PrintAdditive(const TOverlayText& overlay, std::int32_t y)
{
    glLoadIdentity();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    PrintText(overlay.x, y, overlay.text, NumberFontBase - 48, txNumberFont);
    glDisable(GL_BLEND);
}
} // namespace

void DrawClock()
{
    if (!Settings.Clock) return;
    SYSTEMTIME now = {};
    LocalTimeSource(&now);
    PrintAdditive(ClockText(now.wHour, now.wMinute, now.wSecond, Settings.ClockShort), 5);
}

void DrawFrameRate(std::int32_t frameRate)
{
    if (!Settings.FPS) return;
    PrintAdditive(FrameRateText(frameRate), 563);
}

void DrawOverlays(std::int32_t frameRate, TDrawMsg* panel)
{
    SavedState saved;
    glEnable(GL_TEXTURE_2D);
    DrawClock();
    DrawFrameRate(frameRate);
    if (panel && panel->IsActive()) panel->Draw();
}
