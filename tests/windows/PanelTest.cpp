// The panel and the message line in a real OpenGL context (Wine's WGL over Mesa),
// from the data library as built: texts, panel picture, text font and signs.
#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "descriptions/ShowMsgWin.h"
#include "support/Handles.h"
#include "textures/Fonts.h"
#include "textures/Texture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct Window { HWND handle; ~Window() { if (handle) DestroyWindow(handle); } };  // after its DC is released

// The context with its glyph lists; undone with the settings and library it used,
// before the DC and the window go.
struct Context {
    HGLRC rc = nullptr;
    ~Context()
    {
        if (rc) ReleaseFontLists(), wglMakeCurrent(nullptr, nullptr), wglDeleteContext(rc);
        DataLibrary = nullptr;
        Settings.FPS = false;
    }
};

// Pixels of [x0, x1) x [y0, y1) of the frame drawn that pass `test` (r, g, b).
template <typename Test> int Count(int x0, int y0, int x1, int y1, Test test)
{
    std::vector<GLubyte> rgb(static_cast<std::size_t>((x1 - x0) * (y1 - y0)) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x0, y0, x1 - x0, y1 - y0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    int count = 0;
    for (std::size_t i = 0; i < rgb.size(); i += 3) count += test(rgb[i], rgb[i + 1], rgb[i + 2]) ? 1 : 0;
    return count;
}

// Mercury's panel fully open, a message fully faded in. The frame spans x 5 to 249 and
// 12n + 48 units down from its top edge, which moves down below the frame-rate number
// while the lines and the yellow sign stay; the message is blue at (15, 15). Colour,
// depth test, blending and both matrix stacks are left as they were.
TEST(PanelDrawing, OpenPanelAndMessageLine)
{
    UniqueModule library(LoadLibraryA(DataLibraryName));  // the build's own, beside this program
    Window window{CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr)};
    WindowDC dc(window.handle);
    Context context;
    ASSERT_TRUE((DataLibrary = library.get()) && dc);
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd, pfd.nVersion = 1, pfd.cColorBits = 24;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    ASSERT_TRUE(SetPixelFormat(dc.get(), ChoosePixelFormat(dc.get(), &pfd), &pfd));
    ASSERT_TRUE((context.rc = wglCreateContext(dc.get())) && wglMakeCurrent(dc.get(), context.rc));
    ASSERT_TRUE(LoadTextures(dc.get()) && BuildFontLists(DataLibrary));
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
    const auto lit = [](GLubyte, GLubyte, GLubyte b) { return b > 8; };  // the panel is blue throughout
    for (const bool fps : {false, true}) {
        Settings.FPS = fps;
        glColor3f(1.0f, 1.0f, 1.0f);
        glDisable(GL_DEPTH_TEST);
        glLoadIdentity();
        glTranslatef(1.0f, 2.0f, 3.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        panel.Draw();
        const int top = fps ? 553 : 595, bottom = top - 48 - 12 * lines;
        SCOPED_TRACE(top);
        EXPECT_EQ(Count(5, top - 6, 249, top - 5, lit), 244);
        EXPECT_EQ(Count(0, top - 1, 800, top + 1, lit), 244);  // nothing wider, nothing above
        EXPECT_GT(Count(5, bottom, 249, bottom + 1, lit), 240);
        EXPECT_LT(Count(5, bottom - 1, 249, bottom, lit), 60);  // only glyphs of a line below it
        EXPECT_GT(Count(12, 510, 200, 522, [](GLubyte r, GLubyte, GLubyte) { return r > 150; }), 20);
        EXPECT_GT(Count(210, 490, 242, 522, [](GLubyte r, GLubyte g, GLubyte b) { return r > 150 && g > 150 && b < 80; }), 20);
        EXPECT_GT(Count(15, 15, 800, 27, [](GLubyte r, GLubyte g, GLubyte b) { return r < 8 && b > 100 && 2 * g - b < 6 && b - 2 * g < 6; }), 50);
        GLfloat color[4], modelview[16], depth = 0;
        glGetFloatv(GL_CURRENT_COLOR, color);
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
        glGetFloatv(GL_PROJECTION_STACK_DEPTH, &depth);
        EXPECT_TRUE(color[2] == 1.0f && modelview[14] == 3.0f && depth == 1.0f) << color[2] << modelview[14] << depth;
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST) || glIsEnabled(GL_BLEND));
    }
}

} // namespace
