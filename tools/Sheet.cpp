// A mock-up of the description panel for the contact sheet: the panel texture,
// one body's lines set with the text font and the width table the way the saver
// sets them (12-unit glyphs, advances at 0.75, colour codes), and the body's sign.
#include "Generators.h"

#include <cctype>
#include <cmath>
#include <fstream>
#include <iterator>

namespace {

constexpr float Px = 2;  // sheet pixels per overlay unit

const Rgb Palette[16] = {{0, 0, 0},       {0.5f, 0, 0},    {0, 0.5f, 0}, {0.5f, 0.5f, 0}, {0, 0, 0.5f},
                         {0.5f, 0, 0.5f}, {0, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {0.75f, 0.75f, 0.75f},
                         {1, 0, 0},       {0, 1, 0},       {1, 1, 0},    {0, 0, 1},       {1, 0, 1},
                         {0, 1, 1},       {1, 1, 1}};

// Adds a textured quad: the overlay rectangle (x, y, w, h; y up from the bottom of
// the 800 x 600 screen) shows the texture's part s0..s1, t0..t1 (t up).
void Quad(Image& canvas, float top, const Image& tex, float x, float y, float w, float h, float s0, float t0,
          float s1, float t1, Rgb colour, bool additive)
{
    int px0 = int(std::floor(x * Px)), px1 = int(std::ceil((x + w) * Px));
    int py0 = int(std::floor((top - y - h) * Px)), py1 = int(std::ceil((top - y) * Px));
    for (int py = std::max(0, py0); py < std::min(canvas.height, py1); ++py)
        for (int px = std::max(0, px0); px < std::min(canvas.width, px1); ++px) {
            float u = ((px + 0.5f) / Px - x) / w, v = (top - (py + 0.5f) / Px - y) / h;
            if (u < 0 || u > 1 || v < 0 || v > 1)
                continue;
            float s = s0 + (s1 - s0) * u, t = t0 + (t1 - t0) * v;
            Rgb texel = tex.SampleWrapX(s * tex.width, (1 - t) * tex.height) * colour;
            Rgb& p = canvas.at(px, py);
            p = additive ? p + texel : texel;
        }
}

} // namespace

Image RenderPanelSample(const std::string& descriptions, const std::array<unsigned char, 256>& widths,
                        const Image& panel, const Image& font, const Image& sign, const Image& galaxy)
{
    std::ifstream in(descriptions, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t cr = text.find('\r', start);
        if (cr == std::string::npos)
            break;
        lines.push_back(text.substr(start, cr - start));
        start = cr + 2;
    }
    // The Earth's block, body 2.
    size_t header = 0;
    while (header < lines.size() && lines[header].find("object Earth") == std::string::npos)
        ++header;
    std::vector<std::string> body;
    for (size_t i = header + 1; i < lines.size() && lines[i].find("objend") == std::string::npos; ++i)
        body.push_back(lines[i]);
    const int n = int(body.size()), rows = 3 * n + 9;

    // The overlay from x 0 to 260 and from y 560 down to below the frame, which
    // stands below the frame-rate number as it does by default (its top at 553).
    const float top = 560, bottom = 505 - 12.0f * n - 8;
    Image canvas(int(260 * Px), int((top - bottom) * Px));
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            canvas.at(x, y) = galaxy.SampleTile(float(x), float(y));

    const float w = 58 * 4 + 12, b = 244 - rows * 4.0f, y0 = 297;
    Quad(canvas, top, panel, 5, y0 + b, w, 256 - b, 0, 0, 1, 1, {1, 1, 1}, true);
    const float h = rows * 4 / 10.666666666666666f;
    Quad(canvas, top, panel, 5, y0 + 256 - h, w, h, 0, 0.90625f, 1, 1, {1, 1, 1}, false);
    for (int i = 0; i < n; ++i) {
        const std::string& line = body[i];
        float x = 12, y = 510 - 12.0f * i;
        Rgb colour = Palette[15];
        for (size_t k = 0; k < line.size(); ++k) {
            unsigned char c = line[k];
            if (c == 2 && k + 1 < line.size() && std::isxdigit((unsigned char)line[k + 1])) {
                char d = line[++k];
                colour = Palette[std::isdigit((unsigned char)d) ? d - '0' : std::toupper(d) - 'A' + 10];
                continue;
            }
            int g = c - 32;
            float s0 = (g % 16) / 16.0f, t1 = 1 - (g / 16) / 16.0f;
            Quad(canvas, top, font, x, y, 12, 12, s0, t1 - 0.0625f, s0 + 0.0625f, t1, colour, true);
            x += widths[c] * 0.75f;
        }
    }
    float t1 = 1 - (2 / 4) / 3.0f;
    Quad(canvas, top, sign, 210, 490, 32, 32, 0.5f, t1 - 0.333f, 0.75f, t1, {1, 1, 0}, true);
    for (Rgb& p : canvas.pixels)
        p = {Clamp01(p.r), Clamp01(p.g), Clamp01(p.b)};
    return canvas;
}
