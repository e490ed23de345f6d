#include "Image.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

void Fail(const std::string& message)
{
    std::fprintf(stderr, "astrolume_datagen: %s\n", message.c_str());
    std::exit(1);
}

static Rgb Bilinear(const Image& im, float x, float y, bool wrapY)
{
    x -= 0.5f;
    y -= 0.5f;
    float fx = std::floor(x), fy = std::floor(y);
    float tx = x - fx, ty = y - fy;
    auto wrap = [](int v, int n) { return ((v % n) + n) % n; };
    int x0 = wrap(int(fx), im.width), x1 = wrap(int(fx) + 1, im.width);
    int y0, y1;
    if (wrapY) {
        y0 = wrap(int(fy), im.height);
        y1 = wrap(int(fy) + 1, im.height);
    } else {
        y0 = std::clamp(int(fy), 0, im.height - 1);
        y1 = std::clamp(int(fy) + 1, 0, im.height - 1);
    }
    Rgb top = Mix(im.at(x0, y0), im.at(x1, y0), tx);
    Rgb bottom = Mix(im.at(x0, y1), im.at(x1, y1), tx);
    return Mix(top, bottom, ty);
}

Rgb Image::SampleWrapX(float x, float y) const { return Bilinear(*this, x, y, false); }
Rgb Image::SampleTile(float x, float y) const { return Bilinear(*this, x, y, true); }

Image LoadImage(const std::string& path, std::vector<float>* alpha)
{
    int w = 0, h = 0, n = 0;
    // 16-bit sources keep their precision until the final rounding.
    unsigned short* data = stbi_load_16(path.c_str(), &w, &h, &n, 4);
    if (!data)
        Fail("cannot read " + path + ": " + stbi_failure_reason());
    Image im(w, h);
    if (alpha)
        alpha->assign(size_t(w) * h, 1.0f);
    for (size_t i = 0; i < size_t(w) * h; ++i) {
        im.pixels[i] = {data[4 * i] / 65535.0f, data[4 * i + 1] / 65535.0f, data[4 * i + 2] / 65535.0f};
        if (alpha)
            (*alpha)[i] = data[4 * i + 3] / 65535.0f;
    }
    stbi_image_free(data);
    return im;
}

Image Resize(const Image& source, int width, int height)
{
    Image out(width, height);
    float sx = float(source.width) / width, sy = float(source.height) / height;
    // Average a few bilinear taps per output pixel when shrinking.
    int nx = std::max(1, int(std::ceil(sx))), ny = std::max(1, int(std::ceil(sy)));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            for (int j = 0; j < ny; ++j)
                for (int i = 0; i < nx; ++i)
                    sum = sum + source.SampleWrapX((x + (i + 0.5f) / nx) * sx, (y + (j + 0.5f) / ny) * sy);
            out.at(x, y) = sum * (1.0f / (nx * ny));
        }
    return out;
}

Image Enlarge2x(const Image& src)
{
    auto cubic = [](float t, float a, float b, float c, float d) {
        return b + 0.5f * t * (c - a + t * (2 * a - 5 * b + 4 * c - d + t * (3 * (b - c) + d - a)));
    };
    auto texel = [&](int x, int y) -> const Rgb& {
        x = ((x % src.width) + src.width) % src.width;
        y = std::clamp(y, 0, src.height - 1);
        return src.at(x, y);
    };
    Image big(src.width * 2, src.height * 2);
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x) {
            float fx = (x + 0.5f) / 2 - 0.5f, fy = (y + 0.5f) / 2 - 0.5f;
            int ix = int(std::floor(fx)), iy = int(std::floor(fy));
            float tx = fx - ix, ty = fy - iy;
            float rows[3][4];
            for (int j = 0; j < 4; ++j)
                for (int c = 0; c < 3; ++c) {
                    float v[4];
                    for (int i = 0; i < 4; ++i) {
                        const Rgb& p = texel(ix - 1 + i, iy - 1 + j);
                        v[i] = c == 0 ? p.r : (c == 1 ? p.g : p.b);
                    }
                    rows[c][j] = cubic(tx, v[0], v[1], v[2], v[3]);
                }
            big.at(x, y) = {cubic(ty, rows[0][0], rows[0][1], rows[0][2], rows[0][3]),
                            cubic(ty, rows[1][0], rows[1][1], rows[1][2], rows[1][3]),
                            cubic(ty, rows[2][0], rows[2][1], rows[2][2], rows[2][3])};
        }
    // Unsharp mask against a 3 x 3 blur.
    Image out(big.width, big.height);
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x) {
            Rgb blur;
            for (int j = -1; j <= 1; ++j)
                for (int i = -1; i <= 1; ++i)
                    blur = blur + big.at(((x + i) % big.width + big.width) % big.width,
                                         std::clamp(y + j, 0, big.height - 1)) *
                                      (1.0f / 9);
            Rgb p = big.at(x, y);
            Rgb sharp = p + (p + blur * -1.0f) * 0.5f;
            out.at(x, y) = {Clamp01(sharp.r), Clamp01(sharp.g), Clamp01(sharp.b)};
        }
    return out;
}

static unsigned char Byte(float v) { return (unsigned char)std::lround(Clamp01(v) * 255.0f); }

static std::vector<unsigned char> Bytes(const Image& im, bool grey)
{
    std::vector<unsigned char> out;
    out.reserve(im.pixels.size() * (grey ? 1 : 3));
    for (const Rgb& p : im.pixels) {
        if (grey) {
            out.push_back(Byte(p.r));
        } else {
            out.push_back(Byte(p.r));
            out.push_back(Byte(p.g));
            out.push_back(Byte(p.b));
        }
    }
    return out;
}

void SaveJpeg(const Image& im, const std::string& path, int quality, bool grey)
{
    std::vector<unsigned char> data = Bytes(im, grey);
    if (!stbi_write_jpg(path.c_str(), im.width, im.height, grey ? 1 : 3, data.data(), quality))
        Fail("cannot write " + path);
}

void SavePng(const Image& im, const std::string& path)
{
    std::vector<unsigned char> data = Bytes(im, false);
    if (!stbi_write_png(path.c_str(), im.width, im.height, 3, data.data(), im.width * 3))
        Fail("cannot write " + path);
}

static void Put16(std::vector<unsigned char>& v, unsigned x)
{
    v.push_back(x & 255);
    v.push_back((x >> 8) & 255);
}
static void Put32(std::vector<unsigned char>& v, unsigned x)
{
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

void SaveBmp(const Image& im, const std::string& path, bool grey)
{
    unsigned bits = grey ? 8 : 24;
    unsigned stride = ((im.width * bits + 31) / 32) * 4;
    unsigned paletteBytes = grey ? 256 * 4 : 0;
    unsigned offset = 14 + 40 + paletteBytes;
    std::vector<unsigned char> f;
    f.push_back('B');
    f.push_back('M');
    Put32(f, offset + stride * im.height);
    Put32(f, 0);
    Put32(f, offset);
    Put32(f, 40);
    Put32(f, im.width);
    Put32(f, im.height);  // positive: bottom-up rows
    Put16(f, 1);
    Put16(f, bits);
    Put32(f, 0);  // uncompressed
    Put32(f, stride * im.height);
    Put32(f, 0);  // no resolution: the reader's screen decides
    Put32(f, 0);
    Put32(f, grey ? 256 : 0);
    Put32(f, 0);
    for (unsigned i = 0; i < paletteBytes / 4; ++i) {
        f.push_back(i);
        f.push_back(i);
        f.push_back(i);
        f.push_back(0);
    }
    for (int y = im.height - 1; y >= 0; --y) {
        size_t start = f.size();
        for (int x = 0; x < im.width; ++x) {
            const Rgb& p = im.at(x, y);
            if (grey) {
                f.push_back(Byte(p.r));
            } else {
                f.push_back(Byte(p.b));
                f.push_back(Byte(p.g));
                f.push_back(Byte(p.r));
            }
        }
        while (f.size() - start < stride)
            f.push_back(0);
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out || std::fwrite(f.data(), 1, f.size(), out) != f.size() || std::fclose(out) != 0)
        Fail("cannot write " + path);
}
