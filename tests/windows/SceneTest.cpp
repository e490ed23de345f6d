// The scene's pixels: the bodies where they are put, and smooth edges.
#include "tests/windows/SceneWindow.h"

#include "scene/SmoothFrame.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace {

int Change(Rgb a, Rgb b) { return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}); }

// The frame at 800 x 600 seen edge-on, with the bodies placed by hand: the Sun, its
// glow and the backdrop, Saturn's ring and Jupiter's translucent halo.
TEST_F(SceneWindow, SunRingAndHaloWhereTheBodiesArePut)
{
    Settings.CamRotation = 0.0f;
    CameraTilt = 0.0f;
    const auto frame = [&] {
        // No time passes: nothing moves away from where it was put.
        EXPECT_TRUE(RenderFrame(*model, 0, 0, nullptr));
        return BackBuffer();
    };
    // Saturn behind and to the left of the Sun, Jupiter in front to the right, every
    // other planet far to the right; then Saturn and Jupiter out of the way too.
    for (int i = 1; i <= 9; ++i) model->Planets[i]->OrbitAngle = 1.5708f;
    model->Planets[6]->OrbitAngle = 3.14159f + 0.446f;
    const BackBuffer with = frame();
    model->Planets[6]->OrbitAngle = 1.5708f;
    model->Planets[5]->OrbitAngle = -1.5708f;
    const BackBuffer away = frame();

    // The Sun bright and warm in the middle, a glow just above its disc, the galaxy
    // grey behind everything.
    const auto warm = [](Rgb c) { return c.r > 200 && c.r > c.g && c.g > c.b; };
    const auto grey = [](Rgb c) { return c.r > 30 && std::abs(c.r - c.b) <= 3; };
    const auto glowing = [](Rgb c) { return c.r + c.g > 300; };  // twice the galaxy's mean there
    EXPECT_GT(away.Count(390, 290, 410, 310, warm), 380) << "the Sun";
    EXPECT_GT(away.Count(380, 340, 420, 350, glowing), 300) << "its glow";
    EXPECT_GT(away.Count(380, 550, 420, 570, grey) + away.Count(40, 60, 80, 100, grey), 2300) << "the galaxy";

    // What putting Saturn and Jupiter there changed. Seen edge-on, the ring is a line
    // through the planet tilted by its axis: it reaches past the disc (x 202 to 282)
    // down to the left and up to the right. Jupiter stands to the right: on the
    // diagonal below its centre the sphere ends about 70 pixels out, its faint halo,
    // through which what is behind shows, about 74.
    const auto changed = [&](int x0, int y0, int x1, int y1, int from, int to) {
        int count = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = y0; y < y1; ++y) {
                const int change = Change(with.At(x, y), away.At(x, y));
                count += change > from && change < to;
            }
        return count;
    };
    EXPECT_GT(changed(150, 260, 196, 295, 15, 256), 40) << "Saturn's ring on the left";
    EXPECT_GT(changed(288, 305, 340, 340, 15, 256), 40) << "and on the right";
    EXPECT_EQ(changed(700, 360, 705, 365, 60, 256), 25) << "the planet itself";
    EXPECT_GT(changed(692, 371, 694, 373, 10, 45), 2) << "the halo is drawn around the planet, faintly";
    EXPECT_EQ(changed(685, 378, 688, 381, 2, 256), 0) << "and it ends where the shell ends";
}

// A white ring on black, as an orbit or a planet's rim stands against the sky:
// with smooth edges (the default) a frame shades its edges between the two,
// without them every pixel is one or the other. A new window takes the setting.
TEST_F(SceneWindow, SmoothEdgesShadeARingsEdgesOnlyWhenOn)
{
    for (const bool smooth : {true, false}) {
        if (!smooth) {
            CloseSceneWindow();
            Settings.SmoothEdges = false;
            ASSERT_EQ(OpenSceneWindow("Astrolume test", 800, 600, 32, *model), TSceneOpening::Opened);
        }
        EXPECT_EQ(SmoothFrameOpen(), smooth) << "Mesa has framebuffer objects with samples";
        const bool begun = BeginSmoothFrame(800, 600);
        glDisable(GL_LIGHTING), glDisable(GL_TEXTURE_2D), glDisable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluOrtho2D(-400, 400, -300, 300);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
        GLUquadric* quadric = gluNewQuadric();
        gluDisk(quadric, 150, 250, 64, 1);
        gluDeleteQuadric(quadric);
        if (begun) EndSmoothFrame();
        const int between = BackBuffer().Count(0, 0, 800, 600, [](Rgb c) { return c.r > 16 && c.r < 240; });
        if (smooth) EXPECT_GT(between, 1000);
        else EXPECT_EQ(between, 0);
    }
}

} // namespace
