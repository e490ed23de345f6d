// Pictures as the generators handle them: linear floating-point RGB, rows from the
// top, with loading from PNG and saving as JPEG or BMP.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Random.h"

struct Rgb {
    float r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return a * (1 - t) + b * t; }
inline float Luma(Rgb c) { return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b; }

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // 0..1, row 0 at the top

    Image() = default;
    Image(int w, int h) : width(w), height(h), pixels(size_t(w) * h) {}
    Rgb& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgb& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    // Bilinear sample at texel coordinates; x wraps around, y clamps (a map).
    Rgb SampleWrapX(float x, float y) const;
    // Bilinear sample with both axes wrapping (a tile).
    Rgb SampleTile(float x, float y) const;
};

// Loads a PNG (or any format stb_image reads) as linear-ish RGB 0..1; alpha, if
// any, is returned separately. Exits with a message on failure.
Image LoadImage(const std::string& path, std::vector<float>* alpha = nullptr);

// Resamples to a new size with a box-filtered bilinear (good for shrinking and
// for moderate enlarging).
Image Resize(const Image& source, int width, int height);

// Writers. JPEG: baseline, fixed quality, no density, no time stamp. BMP: 8-bit
// grey with a palette when `grey`, 24-bit otherwise; no resolution recorded.
// Doubles a map's size with Catmull-Rom interpolation (x wraps, y clamps) and a
// light unsharp mask, so a magnified globe keeps crisp band edges.
Image Enlarge2x(const Image& source);

void SaveJpeg(const Image& image, const std::string& path, int quality, bool grey = false);
void SaveBmp(const Image& image, const std::string& path, bool grey);
void SavePng(const Image& image, const std::string& path);

inline float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float Smooth(float e0, float e1, float x)
{
    float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}


[[noreturn]] void Fail(const std::string& message);
