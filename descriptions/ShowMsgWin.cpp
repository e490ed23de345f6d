#include "descriptions/ShowMsgWin.h"

#include "common/Settings.h"
#include "support/Streams.h"
#include "textures/Fonts.h"

#include <GL/gl.h>

std::string ReadTextResource(HMODULE module, std::int32_t id)
{
    // A null module would make the resource search look in the program itself.
    if (module == nullptr) return {};
    TResourceStream stream(module, id, RT_RCDATA);
    if (stream.Memory() == nullptr || stream.Size() <= 0) return {};
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

void CreateDescPanel(TDrawMsg& panel, HMODULE dataLibrary)
{
    panel.Create(ReadTextResource(dataLibrary, DescriptionResource), ReadTextResource(dataLibrary, MessageResource));
}

namespace {
// Everything the panel's steps switch: colour, blending, the enables (PrintText
// leaves depth testing on), the bound texture and the list base.
constexpr GLbitfield PanelAttributes = GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_LIST_BIT;

void SetPaletteColor(std::uint8_t index)
{
    const TColor& color = Palette[index & 15u];
    glColor3f(color.Red, color.Green, color.Blue);
}

// The most of a line that is drawn: more than crosses the 800-unit screen at the
// narrowest advance (0.75), so only a rebuilt library's text is ever cut. A line
// of a megabyte drawn whole would take most of a second each frame.
constexpr std::size_t MaxDrawnLine = 2048;

void PrintLine(std::int32_t x, std::int32_t y, std::string_view text)
{
    PrintText(x, y, text.substr(0, MaxDrawnLine), TextFontBase - 32, txFont);
}

// One description line at height y (overlay units), split at its colour codes.
void DrawLine(std::string_view line, std::int32_t y)
{
    constexpr std::int32_t left = 12;
    line = line.substr(0, MaxDrawnLine);
    SetPaletteColor(DefaultColor);
    if (!HasColorCode(line)) {
        PrintLine(left, y, line);
        return;
    }
    float x = 0.0f;
    std::int32_t position = 1;
    std::string_view segment;
    std::uint8_t color = DefaultColor;
    while (NextColorSegment(line, segment, position, color)) {
        SetPaletteColor(color);
        PrintLine(static_cast<std::int32_t>(x) + left, y, segment);
        x += TextWidth(segment, FontScale, FontWidths);
    }
}

// A quad of the panel texture from y0 to y1 (overlay units), showing the
// texture's rows t0 to 1 from its bottom to its top edge.
void PanelQuad(float width, float y0, float y1, float t0)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(0.0f, y1);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(width, y1);
    glTexCoord2f(1.0f, t0);
    glVertex2f(width, y0);
    glTexCoord2f(0.0f, t0);
    glVertex2f(0.0f, y0);
    glEnd();
}
} // namespace

void TDrawMsg::Draw()
{
    DrawMessage();
    UpdatePanel();
}

void TDrawMsg::DrawMessage()
{
    if (!StepMessage()) return;
    glPushAttrib(PanelAttributes);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(0.0f, 0.5f, 1.0f, Msg.Alpha);
    PrintLine(15, 15, Msg.Lines[static_cast<std::size_t>(Msg.Current)]);
    glPopMatrix();
    glPopAttrib();
}

void TDrawMsg::UpdatePanel()
{
    if (StepPanel()) DrawPanel();
}

void TDrawMsg::DrawPanel()
{
    glPushAttrib(PanelAttributes);
    PushOverlayScreen();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    // The frame moves down below the frame-rate number when that is shown.
    glTranslatef(5.0f, Settings.FPS ? 297.0f : 339.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, Textures[txPanel]);
    const auto width = static_cast<float>(Cols * Cell + 12);
    // The body, blended, shrinks with Rows; the solid top strip (the top 3/32 of
    // the texture) follows the full height of the body's frame.
    PanelQuad(width, static_cast<float>(244 - Rows * Cell), 256.0f, 0.0f);
    glDisable(GL_BLEND);
    PanelQuad(width, 256.0f - static_cast<float>(TargetRows * 4 / 10.666666666666666), 256.0f, 0.90625f);
    glEnable(GL_BLEND);
    // The lines and the sign set their own projection: ours goes first, since
    // GL 1.1 promises a projection stack only two deep.
    PopOverlayScreen();

    const TPlanetDesc& desc = Descs[static_cast<std::size_t>(Body())];
    if (ShowText && VisibleLines > 0) {
        for (std::int32_t i = 0; i < VisibleLines && i < desc.Count; ++i)
            DrawLine(desc.Lines[static_cast<std::size_t>(i)], 510 - 12 * i);
        glColor3f(1.0f, 1.0f, 0.0f);
        PrintSign(210, 490, Body());
    }
    glPopAttrib();
}
