// Text through the glyph lists in a real OpenGL context (Wine's WGL over Mesa),
// with the font pictures and width table of the data library as built.
#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "scene/Overlays.h"
#include "support/Handles.h"
#include "textures/Fonts.h"
#include "textures/Texture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

static void WINAPI FivePastNoon(LPSYSTEMTIME time) { *time = SYSTEMTIME{2024, 1, 1, 1, 12, 5, 33, 0}; }
static GLint Integer(GLenum name) { GLint value = 0; return glGetIntegerv(name, &value), value; }
static GLfloat Translation(int axis) { GLfloat m[16]; return glGetFloatv(GL_MODELVIEW_MATRIX, m), m[12 + axis]; }

// Pixels of the back buffer's red channel above half in [x0, x1) x [y0, y1).
static int BrightIn(int x0, int y0, int x1, int y1)
{
    std::vector<GLubyte> red(static_cast<std::size_t>(x1 - x0) * (y1 - y0));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x0, y0, x1 - x0, y1 - y0, GL_RED, GL_UNSIGNED_BYTE, red.data());
    return static_cast<int>(std::count_if(red.begin(), red.end(), [](GLubyte r) { return r > 128; }));
}

// Leftmost and rightmost x a drawing step emits in feedback mode (at 800 x 600: overlay units).
template <typename Draw> std::pair<float, float> ExtentOf(Draw draw)
{
    std::vector<GLfloat> buffer(1 << 14);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    std::pair<float, float> extent{1e9f, -1e9f};
    for (GLint i = 0, size = glRenderMode(GL_RENDER); i < size; i += 2 + 2 * static_cast<GLint>(buffer[i + 1]))
        for (GLint v = 0; v < static_cast<GLint>(buffer[i + 1]); ++v)
            extent = {std::min(extent.first, buffer[i + 2 + 2 * v]), std::max(extent.second, buffer[i + 2 + 2 * v])};
    return extent;
}

// A full-screen window with a current context, textures and glyph lists (each set
// lives from build to release), an 800 x 600 viewport, the clock at 12:05:33.
class TextOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        library_.reset(LoadLibraryA(DataLibraryName));  // the build's own, beside this program
        ASSERT_TRUE(library_);
        DataLibrary = library_.get();
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, nullptr, nullptr, nullptr, nullptr);
        dc_ = GetDC(window_);
        PIXELFORMATDESCRIPTOR pfd = {};
        pfd.nSize = sizeof pfd, pfd.nVersion = 1, pfd.cColorBits = 24;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        ASSERT_TRUE(SetPixelFormat(dc_, ChoosePixelFormat(dc_, &pfd), &pfd));
        rc_ = wglCreateContext(dc_);
        ASSERT_TRUE(rc_ && wglMakeCurrent(dc_, rc_));
        ASSERT_TRUE(LoadTextures(dc_) && BuildFontLists(DataLibrary));
        for (GLuint list : {NumberFontBase + 12, TextFontBase + 255, SignBase + 9}) ASSERT_TRUE(glIsList(list));
        glViewport(0, 0, 800, 600);
        LocalTimeSource = FivePastNoon;
        Settings.Clock = Settings.FPS = Settings.ClockShort = false;
    }
    void TearDown() override
    {
        LocalTimeSource = &GetLocalTime;
        const GLuint last[] = {NumberFontBase + 12, TextFontBase + 255, SignBase + 9};
        ReleaseFontLists();
        for (GLuint list : last) EXPECT_FALSE(glIsList(list)) << list;
        if (rc_) wglMakeCurrent(nullptr, nullptr), wglDeleteContext(rc_);
        if (dc_) ReleaseDC(window_, dc_);
        if (window_) DestroyWindow(window_);
        DataLibrary = nullptr;
    }
    UniqueModule library_;
    HWND window_ = nullptr; HDC dc_ = nullptr; HGLRC rc_ = nullptr;
};

// Number-font glyphs 32 wide every 22 units, the clock's pen ending at 785; the
// text font at three quarters of the data library's widths; lists past code 255
// (no width entry) keep the pen still. Even an empty string switches depth
// testing off and on (a new context starts with it off); both matrix stacks end
// as deep as they were, with the model-view matrix current.
TEST_F(TextOutput, PrintTextAdvancesAndRestores)
{
    PrintText(0, 0, "", NumberFontBase - 48, txNumberFont);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    Settings.Clock = true;
    EXPECT_EQ(ExtentOf(DrawClock), std::make_pair(609.0f, 785.0f + 10.0f));
    const char text[] = "Jupiter, 5.2 AU";
    const auto* widths = static_cast<const std::uint8_t*>(
        LockResource(LoadResource(DataLibrary, FindResourceA(DataLibrary, MAKEINTRESOURCEA(289), RT_RCDATA))));
    float pen = 100.0f;  // to the last glyph, whose quad is 16 units wide before the scale
    for (const char* c = text; c[1]; ++c) pen += 0.75f * widths[static_cast<std::uint8_t>(*c)];
    const auto extent = ExtentOf([&] { PrintText(100, 300, text, TextFontBase - 32, txFont); });
    EXPECT_EQ(extent, std::make_pair(100.0f, pen + 12.0f));
    glCallList(TextFontBase + 224);
    glCallList(TextFontBase + 255);
    EXPECT_EQ(Translation(0), 0.0f);
    EXPECT_EQ(Integer(GL_MODELVIEW_STACK_DEPTH) * 10 + Integer(GL_PROJECTION_STACK_DEPTH), 11);
    EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
}

// Each overlay lights its own corner only when it is on; the step leaves
// texturing, blending and the model-view matrix as it found them. At 1024 x 768
// the stretched overlay screen keeps the clock's last glyph near the right edge.
TEST_F(TextOutput, OverlaysLightTheirCornersOnly)
{
    const bool cases[][2] = {{true, false}, {false, true}, {false, false}};
    glTranslatef(1.0f, 2.0f, 3.0f);
    for (const auto& c : cases) {
        Settings.Clock = c[0], Settings.FPS = c[1];
        glClear(GL_COLOR_BUFFER_BIT);
        DrawOverlays(60, nullptr);
        EXPECT_EQ(BrightIn(609, 5, 795, 37) > 0, c[0]) << "clock " << c[0];
        EXPECT_EQ(BrightIn(7, 563, 61, 595) > 0, c[1]) << "frame rate " << c[1];
        EXPECT_EQ(Translation(2), 3.0f);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_BLEND));
    }
    glViewport(0, 0, 1024, 768);
    Settings.Clock = true;
    DrawOverlays(0, nullptr);
    EXPECT_GT(BrightIn(992, 0, 1024, 60), 0);
}
