#include "model/PlanetaryModel.h"

#include "common/SafeSettings.h"
#include "common/Settings.h"
#include "scene/GlDraw.h"
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
    for (int i = 1; i <= 9; ++i) Planets[i].reset();
    if (Quadric) gluDeleteQuadric(Quadric);
    if (SkyQuadric) gluDeleteQuadric(SkyQuadric);
}

void TPlanetaryModel::BuildLists()
{
    for (int i = 1; i <= 9; ++i) Planets[i]->BuildLists(Quadric);
}

void TPlanetaryModel::DrawBackground()
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, Textures[txGalaxy]);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    // The galaxy picture repeats ten times around and ten times pole to pole.
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(10.0f, 10.0f, 10.0f);
    glMatrixMode(GL_MODELVIEW);
    gluSphere(SkyQuadric, BackdropRadius, SafeQuality(Settings.Quality), SafeQuality(Settings.QualityStacks));
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glDisable(GL_TEXTURE_2D);
}

void TPlanetaryModel::Draw(std::int32_t elapsed)
{
    if (!Valid()) return;
    if (LightingOn) glDisable(GL_LIGHTING);
    DrawBackground();
    if (LightingOn) glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    for (int i = 1; i <= 9; ++i) Planets[i]->Draw(Quadric, elapsed);
    glDisable(GL_TEXTURE_2D);
}

void TPlanetaryModel::DrawSun(std::int32_t elapsed)
{
    if (!Valid()) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, Textures[txSun]);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(SunAngle, 0.0f, 0.0f, 1.0f);
    gluSphere(Quadric, SunRadius, SafeQuality(Settings.Quality), SafeQuality(Settings.QualityStacks));
    glRotatef(-SunAngle, 0.0f, 0.0f, 1.0f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);

    glBindTexture(GL_TEXTURE_2D, Textures[txCrown]);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    // Two layers turning against each other; depth testing lets the Sun's front
    // half hide their centre, so they show as a glow around the disc.
    glColor3f(0.9f, 0.7f, 0.5f);
    glRotatef(SunAngle, 0.0f, 0.0f, 1.0f);
    CoronaQuad();
    glColor3f(1.0f, 1.0f, 0.5f);
    glRotatef(-2.0f * SunAngle, 0.0f, 0.0f, 1.0f);
    CoronaQuad();
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    // Back to the camera's translation alone.
    glRotatef(SunAngle, 0.0f, 0.0f, 1.0f);
    SunAngle = static_cast<float>(SunAngle + 0.05 * elapsed);
}
