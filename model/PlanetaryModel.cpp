#include "model/PlanetaryModel.h"

#include "common/SafeSettings.h"
#include "common/Settings.h"
#include "model/Lists.h"
#include "support/Win.h"

#include <GL/gl.h>
#include <GL/glu.h>

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

void TPlanetaryModel::BuildLists()
{
    if (!Valid()) return;
    for (int i = 1; i <= 9; ++i) Planets[i]->BuildLists(Quadric);
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
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
    // The backdrop is unlit whatever the scene uses.
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, Textures[txGalaxy]);
    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    // The galaxy picture repeats ten times around and ten times pole to pole.
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glScalef(10.0f, 10.0f, 10.0f);
    glMatrixMode(GL_MODELVIEW);
    CallList(SkyList, [this] { SkySphere(SkyQuadric); });
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void TPlanetaryModel::Draw(std::int32_t elapsed)
{
    if (!Valid()) return;
    DrawBackground();
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
    glBindTexture(GL_TEXTURE_2D, Textures[txSun]);
    glPushMatrix();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(SunAngle, 0.0f, 0.0f, 1.0f);
    CallList(SunList, [this] { SunSphere(Quadric); });
    glPopMatrix();

    glBindTexture(GL_TEXTURE_2D, Textures[txCrown]);
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
