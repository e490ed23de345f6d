// The description panel and the message line drawn in a real OpenGL context
// (Wine's WGL over Mesa) from the data library as built: its texts, the panel
// picture, the text font and the signs.
#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "descriptions/ShowMsgWin.h"
#include "support/Handles.h"
#include "textures/Fonts.h"
#include "textures/Texture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using PixelTest = std::function<bool(GLubyte red, GLubyte green, GLubyte blue)>;
const PixelTest Lit = [](GLubyte, GLubyte, GLubyte b) { return b > 8; };  // the panel is blue throughout

class PanelDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        library_.reset(LoadLibraryA(DataLibraryName));  // the build's own, beside this program
        ASSERT_TRUE(library_);
        DataLibrary = library_.get();
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_);
        dc_ = GetDC(window_);
        PIXELFORMATDESCRIPTOR pfd = {};
        pfd.nSize = sizeof pfd, pfd.nVersion = 1, pfd.cColorBits = 24;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        ASSERT_TRUE(SetPixelFormat(dc_, ChoosePixelFormat(dc_, &pfd), &pfd));
        rc_ = wglCreateContext(dc_);
        ASSERT_TRUE(rc_ && wglMakeCurrent(dc_, rc_));
        ASSERT_TRUE(LoadTextures(dc_) && BuildFontLists(DataLibrary));
        glViewport(0, 0, 800, 600);
        glEnable(GL_TEXTURE_2D);  // as the overlay step leaves it for the panel
        CreateDescPanel(panel_, DataLibrary);
        ASSERT_TRUE(panel_.DescOn && panel_.MsgOn);
    }
    void TearDown() override
    {
        ReleaseFontLists();
        if (rc_) wglMakeCurrent(nullptr, nullptr), wglDeleteContext(rc_);
        if (dc_) ReleaseDC(window_, dc_);
        if (window_) DestroyWindow(window_);
        DataLibrary = nullptr;
        Settings.FPS = false;
    }
    // One frame of the panel on black; the frame's pixels are kept for Count.
    void DrawFrame()
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        panel_.Draw();
        pixels_.resize(800 * 600 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
    }
    // Pixels of [x0, x1) x [y0, y1) that pass `test`.
    int Count(int x0, int y0, int x1, int y1, const PixelTest& test) const
    {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const GLubyte* p = &pixels_[static_cast<std::size_t>(y * 800 + x) * 3];
                count += test(p[0], p[1], p[2]) ? 1 : 0;
            }
        return count;
    }
    UniqueModule library_;
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC rc_ = nullptr;
    TDrawMsg panel_;
    std::vector<GLubyte> pixels_;
};

// Mercury's panel fully open: the frame spans x 5 to 249 from 12n + 48 units
// below its top edge, which moves down 42 units under the frame-rate number while
// the lines and the yellow sign keep their places. The step leaves colour, depth
// test, blending and both matrix stacks as it found them.
TEST_F(PanelDrawing, OpenFrameLinesAndSign)
{
    panel_.Current = static_cast<std::int32_t>(std::find(panel_.Order.begin(), panel_.Order.end(), 0) - panel_.Order.begin());
    const std::int32_t lines = panel_.Descs[0].Count;
    ASSERT_GT(lines, 2);
    panel_.WaitFrames = 0;
    while (!Opened || VisibleLines < lines) ASSERT_TRUE(panel_.StepPanel());
    const PixelTest bright = [](GLubyte r, GLubyte, GLubyte) { return r > 150; };
    const PixelTest yellow = [](GLubyte r, GLubyte g, GLubyte b) { return r > 150 && g > 150 && b < 80; };
    for (const bool fps : {false, true}) {
        SCOPED_TRACE(fps);
        Settings.FPS = fps;
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glDisable(GL_DEPTH_TEST);
        glLoadIdentity();
        glTranslatef(1.0f, 2.0f, 3.0f);
        DrawFrame();
        const int top = fps ? 553 : 595, bottom = top - 48 - 12 * lines;
        EXPECT_EQ(Count(0, top - 6, 800, top - 5, Lit), 244);
        EXPECT_EQ(Count(5, top - 6, 249, top - 5, Lit), 244);
        EXPECT_GT(Count(5, top - 1, 249, top, Lit), 240);
        EXPECT_EQ(Count(0, top, 800, 600, Lit), 0);
        EXPECT_GT(Count(5, bottom, 249, bottom + 1, Lit), 240);
        EXPECT_LT(Count(5, bottom - 1, 249, bottom, Lit), 60);  // only glyphs of a line below it
        EXPECT_GT(Count(12, 510, 200, 522, bright), 20);  // the first line
        EXPECT_GT(Count(210, 490, 242, 522, yellow), 20);

        GLfloat color[4], modelview[16];
        glGetFloatv(GL_CURRENT_COLOR, color);
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
        EXPECT_EQ(color[2], 1.0f);
        EXPECT_EQ(modelview[14], 3.0f);
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST) || glIsEnabled(GL_BLEND));
        GLint depth = 0;
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
        EXPECT_EQ(depth, 1);
    }
}

// The message line after the initial delay, at full opacity: blue text at
// (15, 15) and nothing else on the screen while the panel still waits.
TEST_F(PanelDrawing, MessageLineInBlue)
{
    panel_.Msg.Starting = false;
    panel_.Msg.Alpha = 0.995f;
    DrawFrame();
    EXPECT_GT(panel_.Msg.Alpha, 1.0f);
    const PixelTest blue = [](GLubyte r, GLubyte g, GLubyte b) { return r < 40 && g > 90 && g < 170 && b > 200; };
    const PixelTest red = [](GLubyte r, GLubyte, GLubyte) { return r > 40; };
    EXPECT_GT(Count(15, 15, 800, 27, blue), 20);
    EXPECT_EQ(Count(0, 0, 800, 600, red), 0);
    EXPECT_EQ(Count(0, 0, 800, 600, Lit), Count(15, 15, 800, 27, Lit));
}

} // namespace
