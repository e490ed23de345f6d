// The saver window and its OpenGL scene in this process, with Wine's real WGL
// (Mesa underneath): the window set-up and teardown, the window procedure, the
// scene state read back with glGet, the orbit geometry captured in feedback
// mode, and the frame's pixels read back from the buffer.
#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "model/PlanetaryModel.h"
#include "scene/GlDraw.h"
#include "shell/MainLoop.h"
#include "shell/RunMode.h"
#include "shell/SaverWindow.h"
#include "support/Handles.h"
#include "tests/windows/probe/Probe.h"
#include "textures/Texture.h"
#include "textures/WaitDialog.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Run mode's settings: the defaults, with Distance and Sizes scaled.
void RunModeSettings()
{
    SetDefaultSettings();
    Settings.Distance *= Settings.Scale;
    Settings.Sizes *= Settings.Scale;
}

// One of the test data libraries as the program's data library while it lives.
class UseTestLibrary {
public:
    explicit UseTestLibrary(const char* variant)
        : saved_(DataLibrary),
          module_(LoadLibraryA((probe::Argument("testdata") + "\\" + variant + "\\duzidad.dll").c_str()))
    {
        EXPECT_TRUE(module_) << variant;
        DataLibrary = module_.get();
    }
    ~UseTestLibrary() { DataLibrary = saved_; }
    UseTestLibrary(const UseTestLibrary&) = delete;
    UseTestLibrary& operator=(const UseTestLibrary&) = delete;

private:
    HMODULE saved_;
    UniqueModule module_;
};

// A windowed saver window with the model, as run mode opens it after F4, with
// the textures of the test library that has all twenty pictures.
class SceneWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        RunModeSettings();
        FullScreen = false;
        Model = new TPlanetaryModel;
        ASSERT_TRUE(OpenSceneWindow("Astrolume test", 800, 600, 32));
        ResizeScene(800, 600);
    }
    void TearDown() override
    {
        CloseSceneWindow();
        delete Model;
        Model = nullptr;
        EXPECT_TRUE(watcher.Boxes().empty()) << watcher.Boxes().front().text;
    }
    UseTestLibrary library{"scene"};
    probe::BoxWatcher watcher;
};

std::vector<GLubyte> ReadBack(int width, int height)
{
    std::vector<GLubyte> pixels(static_cast<std::size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

struct Rgb {
    int r, g, b;
};
Rgb At(const std::vector<GLubyte>& pixels, int width, int x, int y)
{
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return {pixels[i], pixels[i + 1], pixels[i + 2]};
}

TEST_F(SceneWindow, WindowClassStylesAndContext)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "Astrolume", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW | CS_OWNDC));
    EXPECT_EQ(wc.lpfnWndProc, &SaverWndProc);
    EXPECT_NE(wc.hIcon, nullptr) << "icon 336";
    EXPECT_NE(wc.hCursor, nullptr);
    EXPECT_EQ(wc.hbrBackground, nullptr);
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, 0);

    ASSERT_NE(SaverWindow, nullptr);
    EXPECT_EQ(probe::ClassNameOf(SaverWindow), "Astrolume");
    EXPECT_EQ(probe::CaptionOf(SaverWindow), "Astrolume test");
    const DWORD style = static_cast<DWORD>(GetWindowLongA(SaverWindow, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(SaverWindow, GWL_EXSTYLE));
    const DWORD windowed = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    EXPECT_EQ(style & windowed, windowed);
    EXPECT_EQ(style & WS_POPUP, 0u);
    EXPECT_EQ(exStyle & (WS_EX_APPWINDOW | WS_EX_WINDOWEDGE | WS_EX_TOPMOST),
              static_cast<DWORD>(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE | WS_EX_TOPMOST));
    EXPECT_TRUE(IsZoomed(SaverWindow));
    EXPECT_TRUE(IsWindowVisible(SaverWindow));

    EXPECT_EQ(wglGetCurrentContext(), SaverRC);
    EXPECT_EQ(wglGetCurrentDC(), SaverDC);
    PIXELFORMATDESCRIPTOR pfd = {};
    ASSERT_NE(DescribePixelFormat(SaverDC, GetPixelFormat(SaverDC), sizeof pfd, &pfd), 0);
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    EXPECT_EQ(pfd.dwFlags & needed, needed);
    EXPECT_EQ(pfd.iPixelType, PFD_TYPE_RGBA);
    EXPECT_GE(pfd.cDepthBits, 16);
}

TEST_F(SceneWindow, SceneStateReadBack)
{
    EXPECT_TRUE(LightingOn);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    glGetIntegerv(GL_LINE_SMOOTH_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    EXPECT_TRUE(glIsEnabled(GL_LINE_SMOOTH));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLfloat color[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, color);
    EXPECT_EQ(color[0] + color[1] + color[2] + color[3], 0.0f);
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0f);

    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + i));
        glGetLightfv(GL_LIGHT0 + i, GL_AMBIENT, color);
        EXPECT_FLOAT_EQ(color[0], 0.06f);
        EXPECT_FLOAT_EQ(color[3], 1.0f);
        glGetLightfv(GL_LIGHT0 + i, GL_DIFFUSE, color);
        EXPECT_FLOAT_EQ(color[1], 0.2f);
    }
    EXPECT_FALSE(glIsEnabled(GL_LIGHT7));

    for (GLenum face : {GL_FRONT, GL_BACK}) {
        glGetMaterialfv(face, GL_AMBIENT, color);
        EXPECT_FLOAT_EQ(color[0], 0.2f);
        glGetMaterialfv(face, GL_DIFFUSE, color);
        EXPECT_FLOAT_EQ(color[2], 1.0f);
        glGetMaterialfv(face, GL_SPECULAR, color);
        EXPECT_FLOAT_EQ(color[0] + color[1] + color[2], 0.0f);
        glGetMaterialfv(face, GL_EMISSION, color);
        EXPECT_FLOAT_EQ(color[0] + color[1] + color[2], 0.0f);
        glGetMaterialfv(face, GL_SHININESS, color);
        EXPECT_FLOAT_EQ(color[0], 128.0f);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneWindow, ResizeSetsViewportAndAspectEvenForHeightZero)
{
    struct {
        int width, height;
        double aspect;
        GLint viewportHeight;
    } const cases[] = {{800, 600, 800.0 / 600, 600}, {640, 0, 640.0, 1}, {300, 900, 1.0 / 3, 900}};
    for (auto c : cases) {
        SCOPED_TRACE(c.height);
        ResizeScene(c.width, c.height);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], c.width);
        EXPECT_EQ(viewport[3], c.viewportHeight);
        GLfloat m[16];
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        EXPECT_NEAR(m[5] / m[0], c.aspect, c.aspect * 1e-4);
        EXPECT_NEAR(m[5], 1 / std::tan(22.5 * 3.14159265358979 / 180), 1e-4);  // 45 degrees
        // near 1, far 300
        EXPECT_NEAR(m[10], -(300.0 + 1) / (300 - 1), 1e-4);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}

// The orbit list captured in feedback mode with a projection that maps eye
// coordinates one to one onto window coordinates.
struct FeedbackVertex {
    float x, y, z, s, t;
};
std::vector<std::vector<FeedbackVertex>> CaptureList(GLuint list)
{
    std::vector<GLfloat> buffer(200000);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-100, 100, -100, 100, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPushAttrib(GL_VIEWPORT_BIT);
    glViewport(-100, -100, 200, 200);
    glCallList(list);
    glPopAttrib();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<std::vector<FeedbackVertex>> polygons;
    for (GLint i = 0; i < used;) {
        const auto token = static_cast<GLint>(buffer[i++]);
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected token " << token;
            break;
        }
        const auto count = static_cast<int>(buffer[i++]);
        std::vector<FeedbackVertex> polygon;
        for (int k = 0; k < count; ++k, i += 3 + 4 + 4)
            polygon.push_back({buffer[i], buffer[i + 1], 100 * (1 - 2 * buffer[i + 2]), buffer[i + 7], buffer[i + 8]});
        polygons.push_back(polygon);
    }
    return polygons;
}

TEST_F(SceneWindow, OrbitListIsTheFlatRingThenTheBand)
{
    for (int index : {3, 9}) {
        const TPlanet& planet = *Model->Planets[index];
        SCOPED_TRACE(planet.Name);
        ASSERT_NE(planet.OrbitList, 0u);
        const auto polygons = CaptureList(planet.OrbitList);
        ASSERT_GT(polygons.size(), 100u);
        const float outer = planet.OrbitRadius + 0.25f, inner = planet.OrbitRadius - 0.25f;

        // The strip starts with the quad of segment 0: outer and inner at angle
        // 0, outer and inner at the next angle, flat in the orbit plane (y = 0),
        // t 0 at the outer edge and 1 at the inner one. The quad reaches the
        // feedback as two triangles.
        const float b = 2 * 3.14159265f / 100;
        const FeedbackVertex expected[4] = {{0, 0, -outer, 0, 0},
                                            {0, 0, -inner, 0, 1},
                                            {std::sin(b) * outer, 0, -std::cos(b) * outer, 1, 0},
                                            {std::sin(b) * inner, 0, -std::cos(b) * inner, 1, 1}};
        std::vector<FeedbackVertex> firstQuad = polygons[0];
        if (polygons[0].size() == 3) firstQuad.insert(firstQuad.end(), polygons[1].begin(), polygons[1].end());
        bool found[4] = {};
        for (const auto& v : firstQuad) {
            bool matched = false;
            for (int k = 0; k < 4; ++k)
                if (std::fabs(v.x - expected[k].x) < 2e-3 && std::fabs(v.y) < 2e-3 &&
                    std::fabs(v.z - expected[k].z) < 2e-3 && std::fabs(v.s - expected[k].s) < 1e-4 &&
                    std::fabs(v.t - expected[k].t) < 1e-4)
                    matched = found[k] = true;
            EXPECT_TRUE(matched) << v.x << " " << v.y << " " << v.z << " / " << v.s << " " << v.t;
        }
        for (int k = 0; k < 4; ++k) EXPECT_TRUE(found[k]) << "vertex " << k << " of the first segment";

        int flat = 0, band = 0;
        for (const auto& polygon : polygons)
            for (const auto& v : polygon) {
                const float radius = std::hypot(v.x, v.z);
                if (std::fabs(v.y) < 1e-3 && std::fabs(radius - outer) < 2e-3) {
                    ++flat;
                    EXPECT_NEAR(v.t, 0, 1e-4);
                } else if (std::fabs(v.y) < 1e-3 && std::fabs(radius - inner) < 2e-3 && v.t > 0.5f) {
                    ++flat;
                } else {
                    // The cylinder: on the orbit itself, 0.5 high around the plane.
                    ++band;
                    EXPECT_NEAR(radius, planet.OrbitRadius, 2e-3);
                    EXPECT_LE(std::fabs(v.y), 0.25f + 1e-3);
                }
            }
        EXPECT_GT(flat, 300);
        EXPECT_GT(band, 64 * 2 * 4 - 1);
    }
}

TEST_F(SceneWindow, FrameLeavesMatricesAndAttributesAsFound)
{
    Settings.CamRotation = 0.0f;
    for (int frame = 0; frame < 3; ++frame) ASSERT_TRUE(RenderFrame());
    GLint depth = 0;
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 0);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    GLfloat m[16];
    glGetFloatv(GL_TEXTURE_MATRIX, m);
    EXPECT_EQ(m[0], 1.0f);
    EXPECT_EQ(m[5], 1.0f);
    // The Sun's rotation is undone: the camera's translation alone is left.
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[0], 1.0f, 1e-5);
    EXPECT_NEAR(m[5], 1.0f, 1e-5);
    EXPECT_NEAR(m[14], -Settings.CamDistance, 1e-4);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneWindow, TimeDrivesEveryAngleAndZeroMovesNothing)
{
    Settings.CamRotation = 0.2f;
    const float sun = SunAngle;
    float orbit[10], spin[10];
    for (int i = 1; i <= 9; ++i) {
        orbit[i] = Model->Planets[i]->OrbitAngle;
        spin[i] = Model->Planets[i]->SpinAngle;
    }
    Model->Draw(0);
    Model->DrawSun(0);
    EXPECT_EQ(SunAngle, sun);
    for (int i = 1; i <= 9; ++i) {
        EXPECT_EQ(Model->Planets[i]->OrbitAngle, orbit[i]);
        EXPECT_EQ(Model->Planets[i]->SpinAngle, spin[i]);
    }
    // A stall of a minute is one step.
    Model->Draw(60000);
    Model->DrawSun(60000);
    EXPECT_FLOAT_EQ(SunAngle, sun + 3000.0f);  // 50 degrees a second
    const TPlanet& earth = *Model->Planets[3];
    EXPECT_FLOAT_EQ(earth.OrbitAngle, orbit[3] + 60000 / (100 * earth.OrbitPeriod));
    EXPECT_LT(Model->Planets[7]->SpinAngle, spin[7]);  // Uranus turns backwards

    // ElapsedTicks: the time since its previous call.
    ElapsedTicks();
    Sleep(100);
    const std::int32_t elapsed = ElapsedTicks();
    EXPECT_GE(elapsed, 50);  // the tick count moves in steps of several milliseconds
    EXPECT_LT(elapsed, 5000);
}

TEST_F(SceneWindow, GuardedSettingsStillDrawAFrame)
{
    struct {
        float camDistance;
        std::int32_t quality;
    } const cases[] = {{-25.0f, 0}, {25.0f, -5}, {25.0f, 1000000}, {1e9f, 30}};
    for (auto c : cases) {
        SCOPED_TRACE(c.quality);
        Settings.CamDistance = c.camDistance;
        Settings.Quality = Settings.QualityStacks = c.quality;
        EXPECT_TRUE(RenderFrame());
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(SceneWindow, EveryTextureWithItsKindFiltersAndWrap)
{
    for (int i = 0; i < TextureCount; ++i) {
        SCOPED_TRACE(i);
        const auto name = static_cast<TTexName>(i);
        ASSERT_NE(Textures[i], 0u);
        ASSERT_TRUE(glIsTexture(Textures[i]));
        glBindTexture(GL_TEXTURE_2D, Textures[i]);
        GLint minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0, format = 0, level1 = 0, width = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
        EXPECT_EQ(magFilter, GL_LINEAR);
        const bool single = name == txGalaxy || name == txCrown || name == txOrbit;
        EXPECT_EQ(minFilter, single ? GL_LINEAR : GL_LINEAR_MIPMAP_NEAREST);
        EXPECT_EQ(level1 > 0, !single) << "mipmap chain";
        const bool luminance = name == txGalaxy || name == txCrown;
        EXPECT_TRUE(luminance ? (format == 1 || format == GL_LUMINANCE) : (format == 3 || format == GL_RGB)) << format;
        const bool clamped = name == txNumberFont || name == txFont || name == txSign;
        EXPECT_EQ(wrapS, clamped ? 0x812F : GL_REPEAT);
        EXPECT_EQ(wrapT, clamped ? 0x812F : GL_REPEAT);
        if (single) {
            EXPECT_EQ(width, name == txOrbit ? 64 : 128);
        }
    }
    // Colours arrive as red, green, blue: the Earth's picture is #3060ff.
    std::vector<GLubyte> texels(64 * 32 * 3);
    glBindTexture(GL_TEXTURE_2D, Textures[txEarth]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_NEAR(texels[0], 0x30, 2);
    EXPECT_NEAR(texels[1], 0x60, 2);
    EXPECT_NEAR(texels[2], 0xff, 2);
    glBindTexture(GL_TEXTURE_2D, 0);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the load puts the alignment back";
    EXPECT_EQ(LastWaitDialogResult(), 1);
}

TEST_F(SceneWindow, PictureWidthNotAMultipleOfFourUploadsUpright)
{
    // Clouds: 2 x 8, red above, blue below; packed rows are 6 bytes.
    glBindTexture(GL_TEXTURE_2D, Textures[txClouds]);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 1);
    std::vector<GLubyte> texels(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    ASSERT_EQ(width, 2);
    ASSERT_EQ(height, 8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const GLubyte* texel = &texels[(static_cast<std::size_t>(y) * width + x) * 3];
            // Row 0 is the picture's lowest row.
            const bool blue = y < height / 2;
            EXPECT_EQ(texel[0], blue ? 0 : 255) << x << "," << y;
            EXPECT_EQ(texel[1], 0) << x << "," << y;
            EXPECT_EQ(texel[2], blue ? 255 : 0) << x << "," << y;
        }
}

TEST_F(SceneWindow, MissingPictureDeletesTheTexturesMadeBeforeIt)
{
    std::uint32_t before[TextureCount];
    std::copy(std::begin(Textures), std::end(Textures), before);
    const GLuint oldList = Model->Planets[1]->OrbitList;
    UseTestLibrary missing("scene-missing");  // no picture 265 (Neptune, slot 8)
    EXPECT_FALSE(LoadTexturesWithWait(SaverWindow, SaverDC));
    EXPECT_EQ(LastWaitDialogResult(), 0);
    for (auto name : Textures) EXPECT_EQ(name, 0u);
    // Only the names of the first load are textures still.
    GLuint highest = 0;
    for (auto name : before) highest = std::max<GLuint>(highest, name);
    for (GLuint name = 1; name <= highest + 2 * TextureCount; ++name) {
        const bool first = std::find(std::begin(before), std::end(before), name) != std::end(before);
        EXPECT_EQ(glIsTexture(name) == GL_TRUE, first) << name;
    }
    // The model's lists were built all the same.
    EXPECT_NE(Model->Planets[1]->OrbitList, oldList);
    EXPECT_TRUE(glIsList(Model->Planets[1]->OrbitList));
    std::copy(std::begin(before), std::end(before), Textures);
}

// The frame at 800 x 600 seen edge-on, with the bodies placed by hand.
class SceneFrame : public SceneWindow {
protected:
    void SetUp() override
    {
        SceneWindow::SetUp();
        if (HasFatalFailure()) return;
        Settings.CamRotation = 0.0f;
        CameraTilt = 0.0f;
        // Every planet far to the right, out of the way, except where a test puts one.
        for (int i = 1; i <= 9; ++i) Model->Planets[i]->OrbitAngle = 1.5708f;
    }
    std::vector<GLubyte> Frame()
    {
        ResizeScene(800, 600);
        FirstFrame = true;  // no time passes: nothing moves away from where it was put
        EXPECT_TRUE(RenderFrame());
        return ReadBack(800, 600);
    }
};

TEST_F(SceneFrame, SunCoronaAndBackdrop)
{
    const auto pixels = Frame();
    const Rgb centre = At(pixels, 800, 400, 300);
    EXPECT_GT(centre.r, 200);                           // the Sun: bright
    EXPECT_TRUE(centre.r > centre.g && centre.g > centre.b) << centre.r << "," << centre.g << "," << centre.b;
    const Rgb corona = At(pixels, 800, 400, 345);         // just above the disc
    const Rgb sky = At(pixels, 800, 400, 560);            // far above it
    const Rgb sky2 = At(pixels, 800, 60, 80);
    EXPECT_GT(corona.r + corona.g, sky.r + sky.g + 60) << "corona glow";
    EXPECT_GE(corona.r, corona.b);
    for (Rgb backdrop : {sky, sky2}) {
        EXPECT_GT(backdrop.r, 30) << "the galaxy backdrop is not black";
        EXPECT_NEAR(backdrop.r, backdrop.g, 3) << "grey luminance";
        EXPECT_NEAR(backdrop.g, backdrop.b, 3);
    }
}

TEST_F(SceneFrame, SaturnsRingAndJupitersTranslucentHalo)
{
    // Saturn behind and to the left of the Sun, Jupiter in front to the right.
    Model->Planets[6]->OrbitAngle = 3.14159f + 0.446f;
    const auto with = Frame();
    Model->Planets[6]->OrbitAngle = 1.5708f;
    const auto without = Frame();
    // Seen edge-on, the ring is a line through the planet tilted by its axis.
    int ringPixels = 0;
    for (int x = 150; x < 340; ++x)
        for (int y = 220; y < 380; ++y) {
            const Rgb a = At(with, 800, x, y), b = At(without, 800, x, y);
            if (a.r + a.g + a.b > b.r + b.g + b.b + 30) ++ringPixels;
        }
    EXPECT_GT(ringPixels, 200) << "Saturn with its ring drawn where it stands";

    // Jupiter stands to the right: on the diagonal below its centre the
    // sphere ends about 70 pixels out and the halo about 74.
    Model->Planets[5]->OrbitAngle = -1.5708f;  // moved out of the way
    const auto away = Frame();
    auto along = [](const std::vector<GLubyte>& pixels, int d) { return At(pixels, 800, 765 - d, 300 + d); };
    auto change = [](Rgb a, Rgb b) {
        return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
    };
    EXPECT_GT(change(along(with, 62), along(away, 62)), 60) << "the planet itself";
    const int halo = change(along(with, 72), along(away, 72));
    EXPECT_GT(halo, 10) << "the halo is drawn around the planet";
    EXPECT_LT(halo, 45) << "faintly: what is behind it shows through";
    EXPECT_LE(change(along(with, 78), along(away, 78)), 2) << "and it ends where the shell ends";
}

// The wait dialog of this process, null when none is visible.
HWND VisibleWaitDialog()
{
    for (HWND window : probe::VisibleWindowsOf(GetCurrentProcessId()))
        if (probe::ClassNameOf(window) == "#32770" && FindWindowExA(window, nullptr, "Static", "Loading the textures. Wait"))
            return window;
    return nullptr;
}

TEST(WaitDialog, ClosesWithTheResultWhetherLoadingEndsFirstOrLast)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        // Loading over before the dialog can exist: it still closes, with IDOK.
        EXPECT_TRUE(RunWithWaitDialog([] { return true; }));
        EXPECT_EQ(LastWaitDialogResult(), 1);
        EXPECT_EQ(WaitThread, nullptr);
        EXPECT_EQ(VisibleWaitDialog(), nullptr) << "the thread has ended with its dialog";

        // Loading that lasts until the dialog is up, and fails: IDCANCEL.
        HWND seen = nullptr;
        EXPECT_FALSE(RunWithWaitDialog([&seen] {
            const DWORD start = GetTickCount();
            while (!(seen = VisibleWaitDialog()) && GetTickCount() - start < 10000) Sleep(20);
            return false;
        }));
        ASSERT_NE(seen, nullptr) << "the dialog showed while the loading ran";
        EXPECT_EQ(WaitDialog, seen);
        EXPECT_EQ(LastWaitDialogResult(), 0);
        EXPECT_FALSE(IsWindow(seen));
    }
}

// The cursor's show count: ShowCursor returns the count after its change.
int CursorCount()
{
    ShowCursor(TRUE);
    return ShowCursor(FALSE);
}

TEST(FullScreen, SwitchToTheDesktopModeThenBack)
{
    UseTestLibrary library("scene");
    probe::BoxWatcher watcher;
    RunModeSettings();
    QueryDesktopMode();
    ASSERT_GT(DesktopWidth, 0);
    const int cursor = CursorCount();
    FullScreen = true;
    Model = new TPlanetaryModel;
    ASSERT_TRUE(OpenSceneWindow("Astrolume", 800, 600, 32));
    EXPECT_TRUE(FullScreen);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(SaverWindow, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              static_cast<DWORD>(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(style & WS_CAPTION, 0u);
    RECT client;
    GetClientRect(SaverWindow, &client);
    EXPECT_EQ(client.right, DesktopWidth);
    EXPECT_EQ(client.bottom, DesktopHeight);
    EXPECT_EQ(CursorCount(), cursor - 1) << "the cursor is hidden full screen";
    CloseSceneWindow();
    EXPECT_EQ(CursorCount(), cursor);
    delete Model;
    Model = nullptr;
    FullScreen = false;
    EXPECT_TRUE(watcher.Boxes().empty());
}

// A display mode the screen cannot take stands for a refused switch; the real
// question box is answered.
TEST(FullScreen, RefusedSwitchAsksYesGoesOnNoEnds)
{
    UseTestLibrary library("scene");
    RunModeSettings();
    for (int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        probe::BoxWatcher watcher(answer);
        QueryDesktopMode();
        DesktopMode.dmPelsWidth = 4321;
        DesktopMode.dmPelsHeight = 1234;
        const int cursor = CursorCount();
        FullScreen = true;
        Model = new TPlanetaryModel;
        const bool opened = OpenSceneWindow("Astrolume", 800, 600, 32);
        ASSERT_TRUE(watcher.WaitForBoxes(answer == IDYES ? 1 : 2, 10000));
        const auto boxes = watcher.Boxes();
        EXPECT_EQ(boxes[0].caption, "Error");
        EXPECT_EQ(boxes[0].text, "Required full screen mode is not supported\nYour video card. Use window mode?");
        EXPECT_EQ(FullScreen, answer == IDNO);
        if (answer == IDYES) {
            ASSERT_TRUE(opened);
            // The full-screen style, size and hidden cursor stay; the saver now
            // counts as windowed, so mouse moves no longer end it.
            const DWORD style = static_cast<DWORD>(GetWindowLongA(SaverWindow, GWL_STYLE));
            EXPECT_NE(style & WS_POPUP, 0u);
            RECT client;
            GetClientRect(SaverWindow, &client);
            EXPECT_EQ(client.right, DesktopWidth);
            EXPECT_EQ(CursorCount(), cursor - 1);
            Settings.MouseMove = true;
            Keys[VK_ESCAPE] = false;
            for (int i = 0; i < 30; ++i) SendMessageA(SaverWindow, WM_MOUSEMOVE, 0, MAKELPARAM(i, i));
            EXPECT_FALSE(Keys[VK_ESCAPE]);
            CloseSceneWindow();
            EXPECT_EQ(CursorCount(), cursor) << "the teardown shows the cursor it hid";
            EXPECT_EQ(watcher.Boxes().size(), 1u);
        } else {
            EXPECT_FALSE(opened);
            EXPECT_EQ(boxes[1].text, "The Program is closed.");
            EXPECT_EQ(SaverWindow, nullptr);
            EXPECT_EQ(CursorCount(), cursor) << "the cursor is given back";
            WNDCLASSA wc;
            EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "Astrolume", &wc));
        }
        delete Model;
        Model = nullptr;
        FullScreen = false;
    }
    QueryDesktopMode();
}

// The window procedure's table, message by message.
TEST(SaverWndProc, KeysActivationCommandsAndMouse)
{
    RunModeSettings();
    for (bool& key : Keys) key = false;
    SaverWndProc(nullptr, WM_KEYDOWN, VK_F4, 0);
    EXPECT_TRUE(Keys[VK_F4]);
    SaverWndProc(nullptr, WM_KEYUP, VK_F4, 0);
    EXPECT_FALSE(Keys[VK_F4]);
    EXPECT_EQ(SaverWndProc(nullptr, WM_KEYDOWN, 0x1FF, 0), 0);  // out of range: kept within the table
    Keys[0xFF] = false;

    SaverWndProc(nullptr, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0);
    EXPECT_FALSE(WindowActive);
    SaverWndProc(nullptr, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    EXPECT_TRUE(WindowActive);

    EXPECT_EQ(SaverWndProc(nullptr, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(SaverWndProc(nullptr, WM_SYSCOMMAND, SC_MONITORPOWER, 2), 0);

    // Mouse moves count only full screen with MouseMove on; the 21st asks to end.
    struct {
        bool fullScreen, mouseMove;
        int moves;
        bool ends;
    } const cases[] = {{true, true, 20, false}, {true, true, 21, true}, {false, true, 50, false}, {true, false, 50, false}};
    for (auto c : cases) {
        SCOPED_TRACE(c.moves);
        FullScreen = c.fullScreen;
        Settings.MouseMove = c.mouseMove;
        MouseMoves = 0;
        Keys[VK_ESCAPE] = false;
        for (int i = 0; i < c.moves; ++i) EXPECT_EQ(SaverWndProc(nullptr, WM_MOUSEMOVE, 0, 0), 0);
        EXPECT_EQ(Keys[VK_ESCAPE], c.ends);
    }
    FullScreen = false;
    for (UINT click : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
        Keys[VK_ESCAPE] = false;
        EXPECT_EQ(SaverWndProc(nullptr, click, 0, 0), 0);
        EXPECT_TRUE(Keys[VK_ESCAPE]) << click;
    }
    Keys[VK_ESCAPE] = false;

    // Closing posts the quit message.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    EXPECT_EQ(SaverWndProc(nullptr, WM_CLOSE, 0, 0), 0);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

TEST(SaverWindowTeardown, PartialStateAndRepeatedCloseShowNothing)
{
    UseTestLibrary library("scene");
    probe::BoxWatcher watcher;
    FullScreen = false;
    CloseSceneWindow();  // nothing open: only the class unregistration, which fails
    ASSERT_TRUE(watcher.WaitForBoxes(1, 5000));
    EXPECT_EQ(watcher.Boxes()[0].caption, "SHUTDOWN ERROR");
    EXPECT_EQ(watcher.Boxes()[0].text, "Could Not Unregister Class.");

    RunModeSettings();
    Model = new TPlanetaryModel;
    ASSERT_TRUE(OpenSceneWindow("Astrolume", 200, 150, 32));
    HWND window = SaverWindow;
    CloseSceneWindow();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(SaverWindow, nullptr);
    EXPECT_EQ(SaverDC, nullptr);
    EXPECT_EQ(SaverRC, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    WNDCLASSA wc;
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "Astrolume", &wc));
    delete Model;  // with no context: the orbit lists went with it
    Model = nullptr;
    Sleep(200);
    EXPECT_EQ(watcher.Boxes().size(), 1u);
}

TEST(FrameRate, CaptionAfterMoreThanASecond)
{
    UseTestLibrary library("scene");
    probe::BoxWatcher watcher;
    RunModeSettings();
    FullScreen = false;
    Model = new TPlanetaryModel;
    ASSERT_TRUE(OpenSceneWindow("Astrolume", 200, 150, 32));
    EXPECT_EQ(FrameCount, 0);  // WM_CREATE restarted the measurement
    RestartFrameRate();         // the texture loading is not part of this test's second
    FrameRate = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 900) {
        MeasureFrameRate();
        Sleep(50);
    }
    EXPECT_EQ(FrameRate, 0);
    EXPECT_EQ(probe::CaptionOf(SaverWindow), "Astrolume");
    while (GetTickCount() - start < 1300) {
        MeasureFrameRate();
        Sleep(50);
    }
    EXPECT_GT(FrameRate, 0);
    EXPECT_LT(FrameRate, 40);
    EXPECT_EQ(probe::CaptionOf(SaverWindow), "Astrolume - FPS = " + std::to_string(FrameRate));
    CloseSceneWindow();
    delete Model;
    Model = nullptr;
    EXPECT_TRUE(watcher.Boxes().empty());
}

} // namespace
