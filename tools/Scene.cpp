// The composed still of the preview and the configuration dialog: the Sun with its
// corona, a few lit planets (Saturn with its rings) on the star field, ray-traced
// with supersampling from the same maps the saver uses.
#include "Generators.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float Pi = 3.14159265358979f;

struct Vec {
    float x = 0, y = 0, z = 0;
};
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(Vec a, float k) { return {a.x * k, a.y * k, a.z * k}; }
float Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec Normalize(Vec a) { return a * (1 / std::sqrt(Dot(a, a))); }

struct Body {
    int map;       // slot of its surface map
    Vec centre;
    float radius;
    Vec pole;      // spin axis
    float turn;    // longitude facing the viewer, in turns
};

// Distance along the ray to the sphere, or a negative number.
float HitSphere(Vec dir, Vec centre, float radius)
{
    float b = Dot(dir, centre);
    float c = Dot(centre, centre) - radius * radius;
    float disc = b * b - c;
    if (disc < 0)
        return -1;
    return b - std::sqrt(disc);
}

Rgb SurfaceAt(const Image& map, Vec normal, Vec pole, float turn)
{
    Vec east = Normalize(Cross(pole, Vec{0, 0, 1}));
    Vec north = Cross(east, pole);
    float lat = std::asin(std::fmax(-1.0f, std::fmin(1.0f, Dot(normal, pole))));
    float lon = std::atan2(Dot(normal, east), Dot(normal, north * -1.0f));
    float u = lon / (2 * Pi) + turn;
    float v = 0.5f - lat / Pi;
    return map.SampleWrapX((u - std::floor(u)) * map.width, v * map.height);
}

} // namespace

Image RenderScene(int width, int height, const std::array<Image, 12>& maps, const Image& saturnRing,
                  const Image& galaxy, const Image& crown)
{
    const float aspect = float(width) / height, tanHalf = std::tan(22 * Pi / 180);
    const Vec sun{-2.7f, 0.35f, -6.2f};
    const float sunRadius = 1.45f;
    const Vec tilt = Normalize(Vec{0.25f, 1, 0.35f});
    const Body bodies[] = {
        {3, {0.75f, -0.75f, -7.0f}, 0.62f, Normalize(Vec{0.3f, 1, 0.2f}), 0.55f},      // Earth
        {4, {-0.45f, -1.55f, -9.0f}, 0.26f, Normalize(Vec{0.2f, 1, 0.1f}), 0.30f},     // Mars
        {5, {0.55f, 1.75f, -15.0f}, 1.15f, Normalize(Vec{0.05f, 1, 0.1f}), 0.10f},     // Jupiter
        {6, {3.55f, 0.45f, -11.5f}, 0.85f, tilt, 0.0f},                                // Saturn
    };
    const Vec ringNormal = tilt;
    const float ringInner = 74510.0f / 60268, ringOuter = 140390.0f / 60268;

    std::vector<float> ringColumn;  // the ring image's radial profile, read across its middle row
    for (int x = saturnRing.width / 2; x < saturnRing.width; ++x)
        ringColumn.push_back(Luma(saturnRing.at(x, saturnRing.height / 2)));

    const int ss = 4;
    Image out(width, height);
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px) {
            Rgb sum;
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx) {
                    float fx = ((px + (sx + 0.5f) / ss) / width * 2 - 1) * aspect * tanHalf;
                    float fy = (1 - (py + (sy + 0.5f) / ss) / height * 2) * tanHalf;
                    Vec dir = Normalize(Vec{fx, fy, -1});

                    // The sky, then the corona at the Sun's depth.
                    float gx = (px + (sx + 0.5f) / ss) * 1.6f, gy = (py + (sy + 0.5f) / ss) * 1.6f;
                    Rgb c = galaxy.SampleTile(gx, gy) * 1.2f;
                    // The corona: a quad facing the viewer at the Sun, 2.5 units across for a
                    // Sun of 1.15, as the saver draws it; the ray meets its plane here.
                    Vec onPlane = dir * (sun.z / dir.z);
                    Vec off = onPlane - sun;
                    float scale = sunRadius / 1.15f * 2.5f;
                    float cu = off.x / scale, cv = off.y / scale;
                    if (std::abs(cu) < 1 && std::abs(cv) < 1) {
                        float a = std::atan2(cv, cu), r = std::sqrt(cu * cu + cv * cv);
                        // Each layer is the texture on a turned quad: outside it, nothing.
                        auto layer = [&](float turn) {
                            float u = 0.5f + 0.5f * r * std::cos(a + turn), v = 0.5f + 0.5f * r * std::sin(a + turn);
                            if (u < 0 || u > 1 || v < 0 || v > 1)
                                return 0.0f;
                            return Luma(crown.SampleTile(u * crown.width, v * crown.height));
                        };
                        float layer1 = layer(0.6f), layer2 = layer(-1.1f);
                        c = c + Rgb{0.9f, 0.7f, 0.5f} * layer1 + Rgb{1, 1, 0.5f} * layer2 * 0.8f;
                    }
                    float nearest = 1e9f;
                    float tSun = HitSphere(dir, sun, sunRadius);
                    if (tSun > 0) {
                        Vec n = Normalize(dir * tSun - sun);
                        float mu = -Dot(n, dir);
                        c = SurfaceAt(maps[10], n, Vec{0, 1, 0}, 0.2f) * (0.62f + 0.48f * std::sqrt(std::fmax(mu, 0.0f)));
                        nearest = tSun;
                    }
                    for (const Body& b : bodies) {
                        float t = HitSphere(dir, b.centre, b.radius);
                        if (t > 0 && t < nearest) {
                            nearest = t;
                            Vec p = dir * t;
                            Vec n = Normalize(p - b.centre);
                            Vec l = Normalize(sun - p);
                            float lambert = std::fmax(0.0f, Dot(n, l) * 0.95f + 0.05f);
                            Rgb surface = SurfaceAt(maps[b.map], n, b.pole, b.turn);
                            c = surface * (0.02f + 1.15f * lambert);
                            if (b.map == 3) {  // a thin blue rim of air on the lit side
                                float rim = std::pow(1 - std::fmax(0.0f, -Dot(n, dir)), 3.0f);
                                c = c + Rgb{0.25f, 0.45f, 0.9f} * (rim * (0.15f + 0.85f * lambert) * 0.8f);
                            }
                        }
                    }
                    // Saturn's rings: composited over whatever lies behind their plane.
                    {
                        const Body& s = bodies[3];
                        float denom = Dot(dir, ringNormal);
                        if (std::abs(denom) > 1e-4f) {
                            float t = Dot(s.centre, ringNormal) / denom;
                            if (t > 0 && t < nearest) {
                                Vec p = dir * t;
                                float r = std::sqrt(Dot(p - s.centre, p - s.centre)) / s.radius;
                                float k = (r - ringInner) / (ringOuter - ringInner);
                                if (k >= 0 && k < 1) {
                                    int i = std::min(int(ringColumn.size()) - 1,
                                                     int((5.0f / 7 + k * 2.0f / 7) * ringColumn.size()));
                                    float density = Clamp01(ringColumn[i] * 1.3f);
                                    // Lit from the Sun's side, shadowed behind the planet.
                                    Vec toSunDir = Normalize(sun - p);
                                    bool shadow = HitSphere(toSunDir, s.centre - p, s.radius) > 0;
                                    Rgb ringColour = Rgb{0.85f, 0.76f, 0.60f} * (shadow ? 0.15f : 1.0f);
                                    c = Mix(c, ringColour, density * 0.9f);
                                }
                            }
                        }
                    }
                    sum = sum + c;
                }
            Rgb c = sum * (1.0f / (ss * ss));
            // A gentle shoulder keeps the Sun's glow from clipping hard.
            auto tone = [](float v) { return v < 0.8f ? v : 0.8f + 0.2f * (1 - std::exp(-(v - 0.8f) / 0.2f)); };
            out.at(px, py) = {tone(c.r), tone(c.g), tone(c.b)};
        }
    return out;
}
