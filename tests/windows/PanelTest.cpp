// The panel and the message line from the data library as built: texts, panel
// picture, text font and signs.
#include "descriptions/ShowMsgWin.h"
#include "tests/windows/SceneWindow.h"

#include <algorithm>

namespace {

// Mercury's panel fully open, a message fully faded in. The frame spans x 5 to 249 and
// 12n + 48 units down from its top edge, which moves down below the frame-rate number
// while the lines and the yellow sign stay; the message is blue at (15, 15). Colour,
// depth test, blending and both matrix stacks are left as they were.
TEST_F(BuiltLibraryWindow, OpenPanelAndMessageLine)
{
    glViewport(0, 0, 800, 600);
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
        glLoadIdentity();
        glTranslatef(1.0f, 2.0f, 3.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        panel.Draw();
        const BackBuffer frame;
        const int top = fps ? 553 : 595, bottom = top - 48 - 12 * lines;
        SCOPED_TRACE(top);
        EXPECT_EQ(frame.Count(5, top - 6, 249, top - 5, lit), 244);
        EXPECT_EQ(frame.Count(0, top - 1, 800, top + 1, lit), 244);  // nothing wider, nothing above
        EXPECT_GT(frame.Count(5, bottom, 249, bottom + 1, lit), 240);
        EXPECT_LT(frame.Count(5, bottom - 1, 249, bottom, lit), 60);  // only glyphs of a line below it
        EXPECT_GT(frame.Count(12, 510, 200, 522, [](Rgb c) { return c.r > 150; }), 20);
        EXPECT_GT(frame.Count(210, 490, 242, 522, [](Rgb c) { return c.r > 150 && c.g > 150 && c.b < 80; }), 20);
        const auto blue = [](Rgb c) { return c.r < 8 && c.b > 100 && std::abs(2 * c.g - c.b) < 6; };
        EXPECT_GT(frame.Count(15, 15, 800, 27, blue), 50);
        GLfloat color[4], modelview[16], depth = 0;
        glGetFloatv(GL_CURRENT_COLOR, color);
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
        glGetFloatv(GL_PROJECTION_STACK_DEPTH, &depth);
        EXPECT_TRUE(color[2] == 1.0f && modelview[14] == 3.0f && depth == 1.0f) << color[2] << modelview[14] << depth;
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST) || glIsEnabled(GL_BLEND));
    }
    Settings.FPS = false;
}

} // namespace
