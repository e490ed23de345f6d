// The planetary model under a real context: the orbit ring's geometry captured
// in feedback mode, the time that drives every angle, and frames that repeat.
#include "common/Util.h"
#include "model/Ephemeris.h"
#include "tests/windows/SceneWindow.h"

#include <cmath>

namespace {

// The orbit is a flat ring 0.5 wide in the orbit plane and a band 0.5 high on
// the orbit itself. A stall of a minute is one step: the Sun turns 50 degrees a
// second, each planet by its own periods, Uranus backwards.
TEST_F(SceneWindow, OrbitRingAndTheAnglesAStallMoves)
{
    const TPlanet &earth = *model->Planets[3], &uranus = *model->Planets[7];
    // Eye coordinates one to one onto window coordinates, z from 100 to -100 onto depths 0 to 1.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100, 100, -100, 100, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(-100, -100, 200, 200);
    int ring = 0, band = 0, beyond = 0;  // vertices out across the orbit plane, up from it, or further
    for (const auto& v : Feedback([&] { glCallList(earth.OrbitList); })) {
        const float offset = std::hypot(v.x, 100 * (1 - 2 * v.z)) - earth.OrbitRadius;  // outward from the orbit
        beyond += std::fabs(offset) > 0.25f + 2e-3 || std::fabs(v.y) > 0.25f + 1e-3;
        ring += std::fabs(offset) > 0.2f;
        band += std::fabs(v.y) > 0.2f;
    }
    EXPECT_TRUE(ring > 200 && band > 200 && beyond == 0) << ring << ", " << band << ", " << beyond;

    const float sun = SunAngle, orbit = earth.OrbitAngle, spin = uranus.SpinAngle;
    model->Draw(60000);
    model->DrawSun(60000);
    // A stall is one large step of each angle, modulo its turn; Uranus spins backwards.
    EXPECT_NEAR(std::remainder(SunAngle - sun - 3000.0, TurnDegrees), 0.0, 1e-3);
    EXPECT_NEAR(std::remainder(earth.OrbitAngle - orbit - 60000 / (100.0 * earth.OrbitPeriod), TurnRadians), 0.0, 1e-5);
    EXPECT_NEAR(std::remainder(uranus.SpinAngle - spin - 60000 / (100.0 * uranus.SpinPeriod), TurnDegrees), 0.0, 1e-2);
}

// Each frame puts back the state it changed, and the shapes are tessellated once
// into lists: with no time passing, the fortieth frame shows the very pixels of
// the first, and so does one that tessellates them anew, as where OpenGL gives no lists.
TEST_F(SceneWindow, FramesRepeatTheirPixelsFromListsOrTessellatedAnew)
{
    Settings.Clock = false;  // the one thing that changes by itself
    std::vector<GLuint> lists = {model->SkyList, model->SunList};
    for (int i = 1; i <= 9; ++i) {
        const TPlanet& planet = *model->Planets[i];
        lists.insert(lists.end(), {planet.OrbitList, planet.BodyList, planet.RingsList, planet.HaloList});
    }
    for (GLuint list : lists) EXPECT_TRUE(list != 0 && glIsList(list)) << list;
    ASSERT_TRUE(RenderFrame(*model, 0, 60, nullptr));
    const BackBuffer first;
    for (int frame = 0; frame < 40; ++frame) ASSERT_TRUE(RenderFrame(*model, 0, 60, nullptr));
    EXPECT_TRUE(BackBuffer() == first) << "a frame left its state behind";
    model->ReleaseLists();
    ASSERT_TRUE(RenderFrame(*model, 0, 60, nullptr));
    EXPECT_TRUE(BackBuffer() == first) << "no tolerance: the same vertices, the same pixels";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// With today's sky on, a planet starts where the UTC clock says it stands, even
// Jupiter, whose start is otherwise fixed.
TEST(PlanetStart, TodaysSkyTakesTheClocksLongitude)
{
    const TSettings saved = Settings;
    Settings.Speed = 20.0f;
    for (const bool today : {false, true}) {
        Settings.TodaysSky = today;
        SYSTEMTIME now{};
        GetSystemTime(&now);
        const TPlanet jupiter(5, txJupiter);
        const double days = DaysSinceJ2000(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
        EXPECT_NEAR(jupiter.OrbitAngle, today ? OrbitAngleForLongitude(HeliocentricLongitude(5, days)) : 0.5f, 1e-4);
    }
    Settings = saved;
}

} // namespace
