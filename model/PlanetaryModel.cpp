#include "model/PlanetaryModel.h"

#include "common/SafeSettings.h"
#include "common/Settings.h"
#include "model/Lists.h"
#include "support/Win.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

float SunAngle = 0.0f;

namespace {
GLUquadric* NewQuadric()
{
    GLUquadric* quadric = gluNewQuadric();
    if (quadric == nullptr) return nullptr;
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricTexture(quadric, GL_TRUE);
    return quadric;
}

void SkySphere(GLUquadric* quadric)
{
    gluSphere(quadric, BackdropRadius, SafeQuality(Settings.Quality), SafeQuality(Settings.QualityStacks));
}

// Near its poles the sphere squeezes the repeated picture into wedges, and their
// stars streak towards the pole. Over each pole lies a cap that takes the picture
// flat across the pole, at the scale it has at the equator, and fades into the
// sphere between CapFadeFrom and CapReach from the pole (radians).
constexpr float CapFadeFrom = 0.61f, CapReach = 0.87f;  // 35 and 50 degrees
constexpr int CapRings = 12;

void SkyCap(float pole, int segments, const GLfloat (&tint)[4])
{
    for (int ring = 0; ring < CapRings; ++ring) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int segment = 0; segment <= segments; ++segment) {
            const float around = 6.2831853f * static_cast<float>(segment) / static_cast<float>(segments);
            for (const int edge : {ring, ring + 1}) {
                const float fromPole = CapReach * static_cast<float>(edge) / CapRings;
                const float x = BackdropRadius * std::sin(fromPole) * std::cos(around);
                const float y = BackdropRadius * std::sin(fromPole) * std::sin(around) * pole;
                const float fade = std::clamp((CapReach - fromPole) / (CapReach - CapFadeFrom), 0.0f, 1.0f);
                glColor4f(tint[0], tint[1], tint[2], tint[3] * fade);
                // The sphere's texture runs once round and once pole to pole before
                // the backdrop's repeat: the same stretch of sky takes as many texels here.
                glTexCoord2f(x / (6.2831853f * BackdropRadius), y / (3.1415927f * BackdropRadius));
                glVertex3f(x, y, pole * BackdropRadius * std::cos(fromPole));
            }
        }
        glEnd();
    }
}

// The two caps blended over the sphere in its tint; every state they change is
// given back, the current normal and texture coordinate among them. Drawn
// directly, where the tint can be read.
void SkyCaps()
{
    GLfloat tint[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glGetFloatv(GL_CURRENT_COLOR, tint);
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);  // the sphere under them has its depth already
    glDepthMask(GL_FALSE);
    for (const float pole : {1.0f, -1.0f}) SkyCap(pole, SafeQuality(Settings.Quality), tint);
    glPopAttrib();
}

void SunSphere(GLUquadric* quadric)
{
    gluSphere(quadric, SunRadius, SafeQuality(Settings.Quality), SafeQuality(Settings.QualityStacks));
}

void CoronaQuad()
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-CoronaHalfSize, -CoronaHalfSize);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(CoronaHalfSize, -CoronaHalfSize);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(CoronaHalfSize, CoronaHalfSize);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-CoronaHalfSize, CoronaHalfSize);
    glEnd();
}
} // namespace

TPlanetaryModel::TPlanetaryModel()
{
    Quadric = NewQuadric();
    SkyQuadric = NewQuadric();
    for (int i = 1; i <= 9; ++i) Planets[i] = std::make_unique<TPlanet>(i, static_cast<TTexName>(i));
}

TPlanetaryModel::~TPlanetaryModel()
{
    if (wglGetCurrentContext() != nullptr) ReleaseLists();
    for (int i = 1; i <= 9; ++i) Planets[i].reset();
    if (Quadric) gluDeleteQuadric(Quadric);
    if (SkyQuadric) gluDeleteQuadric(SkyQuadric);
}

void TPlanetaryModel::BuildLists(const TTextureNames& textures)
{
    TextureNames = textures;
    if (!Valid()) return;
    for (int i = 1; i <= 9; ++i) Planets[i]->BuildLists(Quadric, textures);
    SkyList = glGenLists(2);
    SunList = SkyList == 0 ? 0 : SkyList + 1;
    if (SkyList == 0) return;
    CompileList(SkyList, [this] { SkySphere(SkyQuadric); });
    CompileList(SunList, [this] { SunSphere(Quadric); });
}

void TPlanetaryModel::ReleaseLists()
{
    for (int i = 1; i <= 9; ++i) {
        if (Planets[i]) Planets[i]->ReleaseLists();
    }
    if (SkyList != 0) glDeleteLists(SkyList, 2);
    SkyList = SunList = 0;
}

void TPlanetaryModel::DrawBackground()
{
    if (!Valid()) return;
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
    // The backdrop is unlit whatever the scene uses.
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, TextureNames[txGalaxy]);
    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    // The galaxy picture repeats ten times around and ten times pole to pole.
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glScalef(10.0f, 10.0f, 10.0f);
    glMatrixMode(GL_MODELVIEW);
    CallList(SkyList, [this] { SkySphere(SkyQuadric); });
    SkyCaps();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void TPlanetaryModel::Draw(std::int32_t elapsed)
{
    if (!Valid()) return;
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
    glEnable(GL_TEXTURE_2D);
    for (int i = 1; i <= 9; ++i) Planets[i]->Draw(Quadric, elapsed);
    glPopAttrib();
}

void TPlanetaryModel::DrawSun(std::int32_t elapsed)
{
    if (!Valid()) return;
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, TextureNames[txSun]);
    glPushMatrix();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(SunAngle, 0.0f, 0.0f, 1.0f);
    CallList(SunList, [this] { SunSphere(Quadric); });
    glPopMatrix();

    glBindTexture(GL_TEXTURE_2D, TextureNames[txCrown]);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    // Two layers turning against each other; depth testing lets the Sun's front
    // half hide their centre, so they show as a glow around the disc.
    glColor3f(0.9f, 0.7f, 0.5f);
    glRotatef(SunAngle, 0.0f, 0.0f, 1.0f);
    CoronaQuad();
    glColor3f(1.0f, 1.0f, 0.5f);
    glRotatef(-2.0f * SunAngle, 0.0f, 0.0f, 1.0f);
    CoronaQuad();
    glPopMatrix();
    glPopAttrib();
    SunAngle = AdvanceSunAngle(SunAngle, elapsed);
}
