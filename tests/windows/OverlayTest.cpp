// The overlays from the data library as built: text through the glyph lists with
// its font pictures and width table, the description panel and the message line.
#include "descriptions/ShowMsgWin.h"
#include "scene/Overlays.h"
#include "tests/windows/SceneWindow.h"
#include "textures/Fonts.h"

#include <algorithm>
#include <cmath>

namespace {

void WINAPI FivePastNoon(LPSYSTEMTIME time) { *time = SYSTEMTIME{2024, 1, 1, 1, 12, 5, 33, 0}; }
GLint Integer(GLenum name) { GLint value = 0; return glGetIntegerv(name, &value), value; }

// Leftmost and rightmost x a drawing step emits (at 800 x 600: overlay units).
template <typename Draw> std::pair<float, float> ExtentOf(Draw draw)
{
    std::pair<float, float> extent{1e9f, -1e9f};
    for (const FeedbackVertex& v : Feedback(draw)) extent = {std::min(extent.first, v.x), std::max(extent.second, v.x)};
    return {std::round(extent.first * 64) / 64, std::round(extent.second * 64) / 64};  // off the float path's noise
}

// Number-font glyphs 32 wide every 22 units, the clock's pen ending at 785; the
// text font at three quarters of the data library's widths. Each overlay lights
// its own corner only when it is on. Then Mercury's panel fully open, a message
// fully faded in: the frame spans x 5 to 249 and 12n + 48 units down from its top
// edge, which moves down below the frame-rate number; the lines, the yellow sign
// and the blue message are drawn, and the colour and projection are put back (the
// rest of the state a frame leaves is seen in frames that repeat themselves).
TEST_F(BuiltLibraryWindow, TextOverlaysAndPanelDrawWhereTheyBelong)
{
    glDisable(GL_LIGHTING);  // as the frame leaves it for the overlays
    LocalTimeSource = FivePastNoon;
    Settings.Clock = Settings.FPS = Settings.ClockShort = false;
    for (GLuint last : {NumberFontBase + 12, SignBase + 9}) EXPECT_TRUE(glIsList(last)) << "a glyph list is missing";
    Settings.Clock = true;
    EXPECT_EQ(ExtentOf(DrawClock), std::make_pair(609.0f, 785.0f + 10.0f));
    const char text[] = "Jupiter, 5.2 AU";
    float pen = 100.0f;  // to the last glyph, whose quad is 16 units wide before the scale
    for (const char* c = text; c[1]; ++c) pen += 0.75f * FontWidths[static_cast<std::uint8_t>(*c)];
    const auto extent = ExtentOf([&] { PrintText(100, 300, text, TextFontBase - 32, txFont); });
    EXPECT_EQ(extent, std::make_pair(100.0f, pen + 12.0f));
    EXPECT_GT(pen, 100.0f + 15 * 0.75f * 4) << "the widths came from the data library";

    const auto bright = [](Rgb c) { return c.r > 128; };
    const bool cases[][2] = {{true, false}, {false, true}, {false, false}};
    for (const auto& c : cases) {
        Settings.Clock = c[0], Settings.FPS = c[1];
        glClear(GL_COLOR_BUFFER_BIT);
        DrawOverlays(60, nullptr);
        const BackBuffer frame;
        EXPECT_EQ(frame.Count(609, 5, 795, 37, bright) > 0, c[0]) << "clock " << c[0];
        EXPECT_EQ(frame.Count(7, 563, 61, 595, bright) > 0, c[1]) << "frame rate " << c[1];
    }

    glEnable(GL_TEXTURE_2D);  // as the overlay step leaves it for the panel
    TDrawMsg panel;
    CreateDescPanel(panel, DataLibrary);
    ASSERT_TRUE(panel.DescOn && panel.MsgOn);
    panel.Current = static_cast<std::int32_t>(std::find(panel.Order.begin(), panel.Order.end(), 0) - panel.Order.begin());
    const std::int32_t lines = panel.Descs[0].Count;
    panel.WaitFrames = 0;
    while (!Opened || VisibleLines < lines) ASSERT_TRUE(panel.StepPanel());
    panel.Msg.Starting = false;
    panel.Msg.Alpha = 0.995f;
    const auto lit = [](Rgb c) { return c.b > 8; };  // the panel is blue throughout
    for (const bool fps : {false, true}) {
        Settings.FPS = fps;
        glColor3f(1.0f, 1.0f, 1.0f);
        glDisable(GL_DEPTH_TEST);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        panel.Draw();
        const BackBuffer frame;
        const int top = fps ? 553 : 595, bottom = top - 48 - 12 * lines;
        SCOPED_TRACE(top);
        EXPECT_GT(frame.Count(5, top - 6, 249, top - 5, lit), 240) << "the top strip";
        EXPECT_EQ(frame.Count(0, top + 1, 800, 600, lit) + frame.Count(251, 100, 800, top, lit), 0) << "nothing beyond";
        EXPECT_GT(frame.Count(5, bottom, 249, bottom + 1, lit), 240) << "the bottom edge";
        EXPECT_LT(frame.Count(5, bottom - 2, 249, bottom - 1, lit), 60) << "only glyphs of a line below it";
        EXPECT_GT(frame.Count(12, 510, 200, 522, [](Rgb c) { return c.r > 150; }), 20);
        EXPECT_GT(frame.Count(210, 490, 242, 522, [](Rgb c) { return c.r > 150 && c.g > 150 && c.b < 80; }), 20);
        const auto blue = [](Rgb c) { return c.r < 8 && c.b > 100 && std::abs(2 * c.g - c.b) < 6; };
        EXPECT_GT(frame.Count(15, 15, 800, 27, blue), 50);
        GLfloat color[4];
        glGetFloatv(GL_CURRENT_COLOR, color);
        EXPECT_TRUE(color[2] == 1.0f && Integer(GL_PROJECTION_STACK_DEPTH) == 1) << "the panel's colour or projection left";
    }
    LocalTimeSource = &GetLocalTime;
}

} // namespace
