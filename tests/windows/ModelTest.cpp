// The planetary model under a real context: the orbit ring's geometry captured
// in feedback mode, and the time that drives every angle.
#include "tests/windows/SceneWindow.h"

#include <cmath>

namespace {

struct FeedbackVertex { float x, y, z, s, t; };

// Every vertex of a display list, with a projection that maps eye coordinates
// one to one onto window coordinates.
std::vector<FeedbackVertex> CaptureList(GLuint list)
{
    std::vector<GLfloat> buffer(200000);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100, 100, -100, 100, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(-100, -100, 200, 200);
    glCallList(list);
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FeedbackVertex> vertices;
    for (GLint i = 0; i < used;) {
        if (static_cast<GLint>(buffer[i++]) != GL_POLYGON_TOKEN) return ADD_FAILURE() << "not a polygon", vertices;
        const auto count = static_cast<int>(buffer[i++]);
        for (int k = 0; k < count; ++k, i += 3 + 4 + 4)
            vertices.push_back({buffer[i], buffer[i + 1], 100 * (1 - 2 * buffer[i + 2]), buffer[i + 7], buffer[i + 8]});
    }
    return vertices;
}

// The orbit is a flat ring in the orbit plane, its texture's t running from the
// outer edge (0) to the inner one (1), and a band 0.5 high on the orbit itself.
TEST_F(SceneWindow, OrbitListIsTheFlatRingThenTheBand)
{
    for (int index : {3, 9}) {
        const TPlanet& planet = *model->Planets[index];
        SCOPED_TRACE(planet.Name);
        ASSERT_NE(planet.OrbitList, 0u);
        const auto vertices = CaptureList(planet.OrbitList);
        ASSERT_FALSE(vertices.empty());
        const float outer = planet.OrbitRadius + 0.25f, inner = planet.OrbitRadius - 0.25f;
        int outerEdge = 0, innerEdge = 0, band = 0;
        for (const auto& v : vertices) {
            const float radius = std::hypot(v.x, v.z);
            const bool flat = std::fabs(v.y) < 1e-3;
            if (flat && std::fabs(radius - outer) < 2e-3 && v.t < 0.5f) {
                ++outerEdge;
                EXPECT_EQ(v.t, 0.0f);
            } else if (flat && std::fabs(radius - inner) < 2e-3 && v.t > 0.5f) {
                ++innerEdge;
                EXPECT_EQ(v.t, 1.0f);
            } else {
                ++band;
                EXPECT_NEAR(radius, planet.OrbitRadius, 2e-3);
                EXPECT_LE(std::fabs(v.y), 0.25f + 1e-3);
            }
        }
        EXPECT_GT(outerEdge, 300);  // 100 segments, each reaching the feedback as two triangles
        EXPECT_GT(innerEdge, 300);
        EXPECT_GT(band, 64 * 2 * 4 - 1);
    }
}

// The shapes are tessellated once into lists; replaying them draws the very
// pixels that tessellating them anew draws. The lists are gone once released.
TEST_F(SceneWindow, ListsDrawTheSamePixelsAsTessellationAndGoWhenReleased)
{
    Settings.Clock = false;
    std::vector<GLuint> lists = {model->SkyList, model->SunList};
    for (int i = 1; i <= 9; ++i) {
        const TPlanet& planet = *model->Planets[i];
        lists.insert(lists.end(), {planet.OrbitList, planet.BodyList, planet.RingsList, planet.HaloList});
    }
    for (GLuint list : lists) EXPECT_TRUE(list != 0 && glIsList(list)) << list;
    ASSERT_TRUE(RenderFrame(*model, 0, 0, nullptr));
    const BackBuffer replayed;
    model->ReleaseLists();
    for (GLuint list : lists) EXPECT_FALSE(glIsList(list)) << list;
    ASSERT_TRUE(RenderFrame(*model, 0, 0, nullptr));
    EXPECT_TRUE(BackBuffer() == replayed) << "no tolerance: the same vertices, the same pixels";
}

TEST_F(SceneWindow, TimeDrivesEveryAngleAndZeroMovesNothing)
{
    const float sun = SunAngle, orbit = model->Planets[3]->OrbitAngle, spin = model->Planets[7]->SpinAngle;
    model->Draw(0);
    model->DrawSun(0);
    EXPECT_TRUE(SunAngle == sun && model->Planets[3]->OrbitAngle == orbit && model->Planets[7]->SpinAngle == spin);
    // A stall of a minute is one step.
    model->Draw(60000);
    model->DrawSun(60000);
    EXPECT_FLOAT_EQ(SunAngle, sun + 3000.0f);  // 50 degrees a second
    EXPECT_FLOAT_EQ(model->Planets[3]->OrbitAngle, orbit + 60000 / (100 * model->Planets[3]->OrbitPeriod));
    EXPECT_LT(model->Planets[7]->SpinAngle, spin);  // Uranus turns backwards
}

} // namespace
