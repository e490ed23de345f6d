#include "model/Planet.h"

#include "common/SafeSettings.h"
#include "common/Settings.h"
#include "common/Util.h"
#include "model/Ephemeris.h"
#include "model/Lists.h"
#include "support/Win.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace {
std::uint32_t PerformanceSeed()
{
    LARGE_INTEGER counter;
    if (QueryPerformanceCounter(&counter)) return static_cast<std::uint32_t>(counter.LowPart);
    return GetTickCount();
}

// Where the planet of row `index` stands now by the system clock (UTC), as an orbit angle.
float TodaysOrbitAngle(std::int32_t index)
{
    SYSTEMTIME now{};
    GetSystemTime(&now);
    const double days = DaysSinceJ2000(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    return OrbitAngleForLongitude(HeliocentricLongitude(index, days));
}
} // namespace

TPlanet::TPlanet(std::int32_t index, TTexName texName) : TexName(texName), Index(index)
{
    RandomSeed(PerformanceSeed());
    Name = PlanetTable[index].Name;
    OrbitAngle = Settings.TodaysSky ? TodaysOrbitAngle(index)
                                    : AdvanceWithinTurn(InitialOrbitAngle(Name.c_str()), 0.0, TurnRadians);
    const TPlanetValues values = PlanetValues(index, {Settings.Speed, Settings.Distance, Settings.Sizes});
    OrbitPeriod = values.OrbitPeriod;
    OrbitRadius = values.OrbitRadius;
    Inclination = values.Inclination;
    Radius = values.Radius;
    SpinPeriod = values.SpinPeriod;
    Tilt = values.Tilt;
}

TPlanet::~TPlanet()
{
    // At the end of run mode the context is already gone and this does nothing:
    // the lists went with the context.
    if (wglGetCurrentContext() != nullptr) ReleaseLists();
}

void TPlanet::BuildLists(GLUquadric* quadric, const TTextureNames& textures)
{
    TextureNames = textures;
    // Fresh lists for the current context; the previous ones died with theirs.
    const GLuint first = glGenLists(4);
    if (first == 0) {
        OrbitList = BodyList = RingsList = HaloList = 0;
        return;
    }
    OrbitList = first;
    BodyList = first + 1;
    RingsList = first + 2;
    HaloList = first + 3;
    CompileList(OrbitList, [&] { OrbitShape(quadric); });
    CompileList(BodyList, [&] { BodyShape(quadric); });
    CompileList(RingsList, [&] { RingsShape(quadric); });
    CompileList(HaloList, [&] { HaloShape(quadric); });
}

void TPlanet::ReleaseLists()
{
    if (OrbitList != 0) glDeleteLists(OrbitList, 4);
    OrbitList = BodyList = RingsList = HaloList = 0;
}

void TPlanet::OrbitShape(GLUquadric* quadric) const
{
    constexpr int Segments = 100;
    const double outer = OrbitRadius + OrbitWidth / 2;
    const double inner = OrbitRadius - OrbitWidth / 2;
    constexpr double Pi = 3.14159265358979323846;
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, TextureNames[txOrbit]);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < Segments; ++i) {
        const double a = 2 * Pi * i / Segments;
        const double b = 2 * Pi * (i + 1) / Segments;
        glTexCoord2f(0.0f, 0.0f);
        glVertex2d(std::sin(a) * outer, std::cos(a) * outer);
        glTexCoord2f(0.0f, 1.0f);
        glVertex2d(std::sin(a) * inner, std::cos(a) * inner);
        glTexCoord2f(1.0f, 0.0f);
        glVertex2d(std::sin(b) * outer, std::cos(b) * outer);
        glTexCoord2f(1.0f, 1.0f);
        glVertex2d(std::sin(b) * inner, std::cos(b) * inner);
    }
    glEnd();
    gluQuadricDrawStyle(quadric, GLU_FILL);
    glTranslatef(0.0f, 0.0f, -OrbitWidth / 2);
    gluCylinder(quadric, OrbitRadius, OrbitRadius, OrbitWidth, 64, 2);
}

void TPlanet::BodyShape(GLUquadric* quadric) const
{
    gluSphere(quadric, Radius, SafeQuality(Settings.Quality), SafeQuality(Settings.QualityStacks));
}

void TPlanet::RingsShape(GLUquadric* quadric) const
{
    const GLint slices = SafeQuality(Settings.Quality);
    const GLint loops = SafeQuality(Settings.QualityStacks);
    if (Index == 6) {
        gluDisk(quadric, Radius / 4 * 5, Radius / 4 * 7, slices, loops);
    } else if (Index == 7) {
        gluDisk(quadric, Radius / 4 * 4.7, Radius / 4 * 6, slices, loops);
        gluDisk(quadric, Radius / 4 * 6.35, Radius / 4 * 7.2, slices, loops);
    }
}

void TPlanet::HaloShape(GLUquadric* quadric) const
{
    const float thickness = HaloThicknessOf(Index);
    if (thickness > 0.0f) gluSphere(quadric, Radius + thickness, SafeQuality(Settings.Quality), SafeQuality(Settings.QualityStacks));
}

void TPlanet::DrawOrbit(GLUquadric* quadric)
{
    // Colour material writes the colour into the material: lighting state too.
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_TEXTURE_BIT);
    glPushMatrix();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_COLOR_MATERIAL);
    const TColor4& color = OrbitColorOf(Index);
    glColor4f(color.R, color.G, color.B, color.A);
    CallList(OrbitList, [&] { OrbitShape(quadric); });
    glPopMatrix();
    glPopAttrib();
}

void TPlanet::DrawHalo(GLUquadric* quadric)
{
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_POLYGON_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    const GLfloat halo[4] = {HaloColor.R, HaloColor.G, HaloColor.B, HaloColor.A};
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, halo);
    CallList(HaloList, [&] { HaloShape(quadric); });
    glPopAttrib();
}

void TPlanet::Draw(GLUquadric* quadric, std::int32_t elapsed)
{
    glPushMatrix();
    DrawOrbit(quadric);
    glTranslatef(std::sin(OrbitAngle) * OrbitRadius, 0.0f, std::cos(OrbitAngle) * OrbitRadius);
    glBindTexture(GL_TEXTURE_2D, TextureNames[TexName]);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-Tilt, 0.0f, 1.0f, 0.0f);
    glRotatef(SpinAngle, 0.0f, 0.0f, 1.0f);
    CallList(BodyList, [&] { BodyShape(quadric); });
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    switch (Index) {
    case 6:  // Saturn: one additive ring
        glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glBindTexture(GL_TEXTURE_2D, TextureNames[txSRing]);
        CallList(RingsList, [&] { RingsShape(quadric); });
        DrawHalo(quadric);
        glPopAttrib();
        break;
    case 7:  // Uranus: two rings with normal transparency, no halo
        glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glBindTexture(GL_TEXTURE_2D, TextureNames[txURing]);
        CallList(RingsList, [&] { RingsShape(quadric); });
        glPopAttrib();
        break;
    default:
        if (HaloThicknessOf(Index) > 0.0f) DrawHalo(quadric);
        break;
    }
    glPopMatrix();
    OrbitAngle = AdvanceAngle(OrbitAngle, elapsed, OrbitPeriod, TurnRadians);
    SpinAngle = AdvanceAngle(SpinAngle, elapsed, SpinPeriod, TurnDegrees);
}
