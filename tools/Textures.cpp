// Surface maps, the star field, the corona, the rings, the orbit band and the panel.
#include "Generators.h"

#include <stb_perlin.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr float Pi = 3.14159265358979f;

std::string Map(const Paths& p, const char* name) { return p.maps + "/" + name; }

// Point on the unit sphere for a texel of an equirectangular map.
void SpherePoint(int x, int y, int w, int h, float& px, float& py, float& pz, float& lat)
{
    float lon = (x + 0.5f) / w * 2 * Pi;
    lat = Pi / 2 - (y + 0.5f) / h * Pi;
    px = std::cos(lat) * std::cos(lon);
    py = std::cos(lat) * std::sin(lon);
    pz = std::sin(lat);
}

// Venus as seen in visible light: a pale, almost featureless sulphur-yellow veil,
// with the faint sideways "Y" bands and streaks of its fast-moving cloud tops.
Image MakeVenus()
{
    Image im(1024, 512);
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x) {
            float px, py, pz, lat;
            SpherePoint(x, y, im.width, im.height, px, py, pz, lat);
            float lon = (x + 0.5f) / im.width * 2 * Pi;
            // Streaks stretched along the latitude lines: sample squeezed noise.
            float warp = SphereNoise(px * 1.5f, py * 1.5f, pz * 1.5f, 3, 11);
            float bands = SphereNoise(px * 0.8f, py * 0.8f, pz * 9.0f + warp * 1.2f, 5, 12);
            float fine = SphereNoise(px * 6, py * 6, pz * 16, 3, 13);
            // The dark "Y": a chevron centred on the equator that opens westward.
            float chevron = std::abs(lat) * 2.2f - std::sin(lon) * 0.9f;
            float y_mark = std::exp(-chevron * chevron * 3.0f) * (0.5f + 0.5f * std::cos(lon));
            float polar = Smooth(0.9f, 1.4f, std::abs(lat));
            float v = 0.80f + 0.14f * bands + 0.04f * fine - 0.16f * y_mark + 0.06f * polar;
            Rgb warm{0.93f, 0.80f, 0.55f}, pale{0.99f, 0.95f, 0.82f};
            im.at(x, y) = Mix(warm, pale, Clamp01((v - 0.65f) / 0.4f)) * (0.9f + 0.12f * v);
        }
    return im;
}

// A cloud map of the Earth: white cloud over black, with the tropical convergence
// belt, subtropical clear zones and mid-latitude storm swirls.
Image MakeClouds()
{
    Image im(1024, 512);
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x) {
            float px, py, pz, lat;
            SpherePoint(x, y, im.width, im.height, px, py, pz, lat);
            float deg = std::abs(lat) * 180 / Pi;
            // How cloudy each latitude is on average.
            float belt = std::exp(-std::pow((lat * 180 / Pi - 5) / 7, 2.0f)) * 0.35f;
            float clear = -0.25f * std::exp(-std::pow((deg - 25) / 8, 2.0f));
            float storm = 0.22f * std::exp(-std::pow((deg - 55) / 12, 2.0f));
            float polar = 0.15f * Smooth(65, 80, deg);
            // Swirled twice, so the cloud bands curl into storms.
            float wx = SphereNoise(px * 1.5f, py * 1.5f, pz * 1.5f, 4, 21);
            float wy = SphereNoise(px * 1.5f + 5, py * 1.5f, pz * 1.5f, 4, 24);
            float n = SphereNoise(px * 3 + wx * 0.8f, py * 3 + wy * 0.8f, pz * 3.5f + wx * 0.5f, 7, 22);
            float d = n * 0.9f + belt + clear + storm + polar - 0.02f;
            float c = Smooth(-0.05f, 0.6f, d);
            c = std::pow(c, 1.4f) * 0.95f;
            im.at(x, y) = Rgb{c, c, c};
        }
    return im;
}

// The Sun's map is a pale photograph; tint it as the hot, glowing surface the
// saver shows, keeping its spots, and add a fine granulation.
Image TintSun(const Image& source)
{
    Image im(1024, 512);
    Image big = Resize(source, im.width, im.height);
    float mean = 0;
    for (const Rgb& p : big.pixels)
        mean += Luma(p);
    mean /= big.pixels.size();
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x) {
            float px, py, pz, lat;
            SpherePoint(x, y, im.width, im.height, px, py, pz, lat);
            float l = Luma(big.at(x, y)) / mean;  // 1 on the plain surface, lower in spots
            float grain = SphereNoise(px * 40, py * 40, pz * 40, 2, 31) * 0.5f +
                          SphereNoise(px * 9, py * 9, pz * 9, 3, 32) * 0.5f;
            float heat = Clamp01(0.72f + 0.12f * grain) * Clamp01(l * l);
            Rgb spot{0.30f, 0.08f, 0.01f}, deep{0.95f, 0.42f, 0.06f}, hot{1.0f, 0.78f, 0.28f}, white{1.0f, 0.96f, 0.80f};
            Rgb c = heat < 0.5f ? Mix(spot, deep, heat / 0.5f)
                                : heat < 0.8f ? Mix(deep, hot, (heat - 0.5f) / 0.3f) : Mix(hot, white, (heat - 0.8f) / 0.2f);
            im.at(x, y) = c;
        }
    return im;
}

} // namespace

float SphereNoise(float x, float y, float z, int octaves, int seed)
{
    float sum = 0, amp = 0.5f, f = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * stb_perlin_noise3_seed(x * f + 17.3f * i, y * f, z * f, 0, 0, 0, seed + i);
        norm += amp;
        amp *= 0.5f;
        f *= 2.03f;
    }
    return sum / norm * 1.6f;
}

float TileNoise(float u, float v, int fx, int fy, int octaves, int seed)
{
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * stb_perlin_noise3_seed(u * fx, v * fy, 0.37f * i, fx, fy, 0, seed + i);
        norm += amp;
        amp *= 0.5f;
        fx *= 2;
        fy *= 2;
    }
    return sum / norm * 1.6f;
}

void MakeSurfaceMaps(const Paths& paths, std::array<Image, 12>& maps)
{
    maps[1] = LoadImage(Map(paths, "mercury.png"));
    maps[2] = MakeVenus();
    maps[3] = LoadImage(Map(paths, "earth_cmap.png"));
    maps[4] = LoadImage(Map(paths, "mars.png"));
    maps[5] = LoadImage(Map(paths, "jupiter.png"));
    maps[6] = LoadImage(Map(paths, "saturn.png"));
    maps[7] = LoadImage(Map(paths, "uranus.png"));
    maps[8] = LoadImage(Map(paths, "neptune.png"));
    maps[9] = LoadImage(Map(paths, "pluto.png"));
    maps[10] = TintSun(LoadImage(Map(paths, "sun.png")));
    maps[11] = MakeClouds();
    // The maps of 512 x 256 are doubled: the giant planets fill much of the screen.
    for (int i = 1; i <= 11; ++i)
        if (maps[i].width < 1024)
            maps[i] = Enlarge2x(maps[i]);
    for (int i = 1; i <= 11; ++i)
        if (maps[i].width < 512 || maps[i].height < 256 || maps[i].width % 4)
            Fail("surface map " + std::to_string(i) + " is too small");
}

// The sky tile: 1024 x 512 texels cover 36 x 18 degrees of the sky sphere, so a
// texel is square on the sky near the equator and the stars are drawn round.
Image MakeGalaxy()
{
    const int w = 1024, h = 512;
    Image im(w, h);
    // Faint nebular haze: periodic noise shaped into wisps and clouds, with dark
    // dust lanes; no feature is larger than half the tile, so the repeats do not
    // line up into a pattern.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            float base = Clamp01(TileNoise(u, v, 4, 2, 4, 41) * 0.9f + 0.35f);
            float wisps = 1 - std::abs(TileNoise(u, v, 8, 4, 5, 42));
            float dust = Smooth(-0.2f, 0.5f, TileNoise(u, v, 16, 8, 4, 43));
            float haze = base * base * (0.35f + 0.65f * wisps * wisps * wisps) * (0.45f + 0.55f * dust);
            float g = 0.26f * haze + 0.008f;
            im.at(x, y) = {g, g, g};
        }
    // Stars: a steep brightness law (many faint, few bright), each a small Gaussian
    // wrapped round the tile; they gather a little where the haze is.
    Random rnd(2026);
    auto splat = [&](float cx, float cy, float sigma, float peak) {
        int r = int(std::ceil(sigma * 3.5f));
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                int ix = int(std::floor(cx)) + dx, iy = int(std::floor(cy)) + dy;
                float ddx = ix + 0.5f - cx, ddy = iy + 0.5f - cy;
                float e = std::exp(-(ddx * ddx + ddy * ddy) / (2 * sigma * sigma)) * peak;
                Rgb& p = im.at(((ix % w) + w) % w, ((iy % h) + h) % h);
                p.r += e;
            }
    };
    int placed = 0;
    while (placed < 4200) {
        float x = rnd.Uniform() * w, y = rnd.Uniform() * h;
        float u = x / w, v = y / h;
        float density = Clamp01(TileNoise(u, v, 4, 2, 4, 41) * 0.9f + 0.6f);
        if (rnd.Uniform() > 0.35f + 0.65f * density)
            continue;
        ++placed;
        float m = std::pow(rnd.Uniform(), 2.6f);
        float bright = 0.07f * std::pow(1 / 0.07f, m);  // 0.07 .. 1
        float sigma = 0.55f + 0.45f * bright;  // no smaller than a texel: no shimmer
        splat(x, y, sigma, std::min(1.0f, bright * 1.6f));
        if (bright > 0.45f)  // the brightest get a soft halo
            splat(x, y, sigma * 3.5f, bright * 0.07f);
    }
    for (Rgb& p : im.pixels) {
        float g = Clamp01(p.r);
        p = {g, g, g};
    }
    return im;
}

// Corona: a soft glow round the Sun's disc (radius 0.46 of the half-width) with
// faint rays, black well before the quad's edge so no square shows. Two layers of
// it are added over each other, tinted, so it stays below full white.
Image MakeCrown()
{
    const int n = 256;
    Image im(n, n);
    Random rnd(7);
    float phase[10], freq[10] = {3, 5, 7, 11, 13, 17, 19, 23, 29, 31};
    for (float& p : phase)
        p = rnd.Range(0, 2 * Pi);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float v = 0;
            // 2 x 2 samples per texel keep the thin rays smooth.
            for (int j = 0; j < 2; ++j)
                for (int i = 0; i < 2; ++i) {
                    float dx = (x + 0.25f + 0.5f * i) / n * 2 - 1, dy = (y + 0.25f + 0.5f * j) / n * 2 - 1;
                    float r = std::sqrt(dx * dx + dy * dy), a = std::atan2(dy, dx);
                    float rays = 0;
                    for (int k = 0; k < 10; ++k)
                        rays += std::pow(0.5f + 0.5f * std::cos(freq[k] * a + phase[k]), 10.0f);
                    rays /= 2.2f;
                    float streak = 0.5f + 0.5f * TileNoise(a / (2 * Pi) + 0.5f, r * 0.5f, 64, 1, 2, 51);
                    float d = std::max(0.0f, r - 0.45f);
                    float glow = 0.50f * std::exp(-d / 0.05f) + 0.22f * std::exp(-d / 0.16f);
                    float ray = (0.20f * rays + 0.10f * streak) * std::exp(-d / 0.20f) * Smooth(0.0f, 0.04f, d);
                    float s = r < 0.45f ? 0.72f : glow + ray;
                    v += s * (1 - Smooth(0.72f, 0.94f, r));
                }
            v = Clamp01(v / 4);
            im.at(x, y) = {v, v, v};
        }
    return im;
}

// Saturn's rings for a GLU disk from 1.25 to 1.75 planet radii: the disk's outer
// edge is the texture's edge, so the real radial profile goes between 5/7 and 1.
Image MakeSaturnRing(const Paths& paths)
{
    std::vector<float> alpha;
    Image profile = LoadImage(Map(paths, "saturn_rings_radial.png"), &alpha);
    const int n = 512;
    Image im(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            Rgb sum;
            // 3 x 3 samples per texel keep the fine ringlets from aliasing.
            for (int j = 0; j < 3; ++j)
                for (int i = 0; i < 3; ++i) {
                    float dx = (x + (i + 0.5f) / 3) / n * 2 - 1, dy = (y + (j + 0.5f) / 3) / n * 2 - 1;
                    float r = std::sqrt(dx * dx + dy * dy);
                    float t = (r - 5.0f / 7.0f) / (2.0f / 7.0f);
                    if (t < 0 || t >= 1)
                        continue;
                    float px = t * profile.width;
                    int i0 = std::min(profile.width - 1, int(px));
                    Rgb c = profile.SampleWrapX(px, 0.5f);
                    // Additive drawing: the colour counts as much as the ring is opaque.
                    sum = sum + c * (alpha[i0] * 1.15f);
                }
            im.at(x, y) = sum * (1.0f / 9);
        }
    // The disk is lit at a slant and added to the scene: let its brightest ringlet
    // reach nearly full brightness.
    float peak = 0;
    for (const Rgb& p : im.pixels)
        peak = std::max({peak, p.r, p.g, p.b});
    for (Rgb& p : im.pixels)
        p = p * (0.95f / peak);
    return im;
}

// Uranus's rings for two GLU disks whose outer edges (1.5 and 1.8 planet radii)
// both map to the texture's edge: the narrow rings sit between 0.89 and 0.99 of the
// half-width, which both disks cover, each ring a few texels wide with dark gaps,
// inside them the faint dusty inner ring.
Image MakeUranusRing()
{
    const int n = 1024;
    Image im(n, n);
    struct Ring {
        float at, width, bright;
    };
    // From the innermost (6, 5, 4) over alpha, beta and eta, gamma, delta to epsilon.
    const Ring rings[] = {{0.893f, 0.0022f, 0.45f}, {0.900f, 0.0022f, 0.50f}, {0.907f, 0.0022f, 0.50f},
                          {0.922f, 0.0034f, 0.65f}, {0.933f, 0.0034f, 0.65f}, {0.948f, 0.0024f, 0.45f},
                          {0.956f, 0.0026f, 0.60f}, {0.964f, 0.0030f, 0.70f}, {0.984f, 0.0070f, 1.00f}};
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float v = 0;
            for (int j = 0; j < 3; ++j)
                for (int i = 0; i < 3; ++i) {
                    float dx = (x + (i + 0.5f) / 3) / n * 2 - 1, dy = (y + (j + 0.5f) / 3) / n * 2 - 1;
                    float r = std::sqrt(dx * dx + dy * dy);
                    float s = 0.05f * Smooth(0.80f, 0.84f, r) * (1 - Smooth(0.87f, 0.89f, r));
                    for (const Ring& ring : rings)
                        if (std::abs(r - ring.at) < ring.width / 2)
                            s += ring.bright;
                    v += s;
                }
            v /= 9;
            im.at(x, y) = Rgb{0.80f, 0.86f, 0.92f} * v;
        }
    return im;
}

// The orbit band: t runs from 0 at the outer edge to 1 at the inner one; a bright
// thin core in a soft glow, dark at both edges so additive drawing leaves no seam.
Image MakeOrbit()
{
    Image im(32, 64);
    for (int y = 0; y < im.height; ++y) {
        float t = (y + 0.5f) / im.height;
        float d = (t - 0.5f) / 0.5f;
        float v = 0.75f * std::exp(-d * d * 40) + 0.35f * std::exp(-d * d * 6);
        v *= 1 - Smooth(0.8f, 1.0f, std::abs(d));
        for (int x = 0; x < im.width; ++x)
            im.at(x, y) = Rgb{1, 1, 1} * Clamp01(v);
    }
    return im;
}

// The description panel: a solid title strip across the top 3/32 (24 texels) and a
// dark pane with a thin luminous border; it is drawn additively and stretched, so
// the border keeps to a few texels at the edge.
Image MakePanel()
{
    const int n = 256;
    Image im(n, n);
    const int strip = n * 3 / 32;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float u = (x + 0.5f) / n, v = (y + 0.5f) / n;
            Rgb c;
            if (y < strip) {
                // Title strip: a deep blue bar that brightens towards the middle, with
                // a lit upper edge and a darker rim below.
                float across = 0.75f + 0.25f * std::sin(u * Pi);
                float fromTop = (y + 0.5f) / strip;
                c = Mix(Rgb{0.20f, 0.42f, 0.78f}, Rgb{0.07f, 0.16f, 0.38f}, fromTop) * across;
                if (y < 2)
                    c = c + Rgb{0.25f, 0.30f, 0.35f};
                if (y >= strip - 2)
                    c = Rgb{0.45f, 0.65f, 0.95f};
            } else {
                // Body: a dark, slightly graded pane.
                c = Mix(Rgb{0.05f, 0.09f, 0.19f}, Rgb{0.02f, 0.04f, 0.10f}, v);
            }
            // A thin border two texels in, on the sides and at the bottom.
            int edge = std::min({x, n - 1 - x, n - 1 - y});
            if (edge == 2 || edge == 3)
                c = Rgb{0.33f, 0.52f, 0.85f};
            else if (edge < 2)
                c = c * 0.5f;
            im.at(x, y) = c;
        }
    return im;
}
