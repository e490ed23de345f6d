// The glyph grids of the number font, the text font and the planet signs, drawn
// from DejaVu white on black with anti-aliasing, and the text font's width table.
#include "Cp1251.h"
#include "Generators.h"

#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

class Font {
public:
    explicit Font(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        data_.assign(std::istreambuf_iterator<char>(in), {});
        if (data_.empty() || !stbtt_InitFont(&info_, data_.data(), stbtt_GetFontOffsetForIndex(data_.data(), 0)))
            Fail("cannot read font " + path);
    }
    // Pixels per font unit for an em of `em` pixels.
    float Scale(float em) const { return stbtt_ScaleForMappingEmToPixels(&info_, em); }
    bool Has(unsigned cp) const { return stbtt_FindGlyphIndex(&info_, cp) != 0; }
    float Advance(unsigned cp) const
    {
        int advance = 0, lsb = 0;
        stbtt_GetCodepointHMetrics(&info_, cp, &advance, &lsb);
        return float(advance);
    }
    // Ink box in font units (y up); false for a blank glyph.
    bool Box(unsigned cp, int& x0, int& y0, int& x1, int& y1) const
    {
        return stbtt_GetCodepointBox(&info_, cp, &x0, &y0, &x1, &y1) != 0;
    }
    // Adds the glyph into the image with its origin at (ox, baseline), scaled by
    // (sx, sy) pixels per font unit, clipped to the cell [cx0, cx1) x [cy0, cy1).
    void Draw(Image& im, unsigned cp, float sx, float sy, float ox, float baseline, int cx0, int cy0, int cx1,
              int cy1) const
    {
        int glyph = stbtt_FindGlyphIndex(&info_, cp);
        if (!glyph)
            return;
        float fx = ox - std::floor(ox), fy = baseline - std::floor(baseline);
        int w = 0, h = 0, xoff = 0, yoff = 0;
        unsigned char* bits = stbtt_GetGlyphBitmapSubpixel(&info_, sx, sy, fx, fy, glyph, &w, &h, &xoff, &yoff);
        if (!bits)
            return;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int px = int(std::floor(ox)) + xoff + x, py = int(std::floor(baseline)) + yoff + y;
                if (px < cx0 || px >= cx1 || py < cy0 || py >= cy1)
                    continue;
                float v = bits[y * w + x] / 255.0f;
                Rgb& p = im.at(px, py);
                float m = std::max(p.r, v);
                p = {m, m, m};
            }
        stbtt_FreeBitmap(bits, nullptr);
    }

private:
    std::vector<unsigned char> data_;
    stbtt_fontinfo info_{};
};

// Draws `text` centred in the cell at its ink box, with the given em and a
// vertical stretch (the sign cells are taller than wide on the texture).
void DrawCentred(Image& im, const Font& font, const std::vector<unsigned>& text, float em, float stretch, int cx0,
                 int cy0, int cx1, int cy1, float baselineFromBottom = -1)
{
    float s = font.Scale(em);
    // Ink extent of the whole run in font units.
    float pen = 0, minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (unsigned cp : text) {
        int x0, y0, x1, y1;
        if (font.Box(cp, x0, y0, x1, y1)) {
            minX = std::min(minX, pen + x0);
            maxX = std::max(maxX, pen + x1);
            minY = std::min(minY, float(y0));
            maxY = std::max(maxY, float(y1));
        }
        pen += font.Advance(cp);
    }
    float ox = (cx0 + cx1) / 2.0f - (minX + maxX) / 2 * s;
    float baseline = baselineFromBottom >= 0 ? cy1 - baselineFromBottom
                                             : (cy0 + cy1) / 2.0f + (minY + maxY) / 2 * s * stretch;
    pen = 0;
    for (unsigned cp : text) {
        font.Draw(im, cp, s, s * stretch, ox + pen * s, baseline, cx0, cy0, cx1, cy1);
        pen += font.Advance(cp);
    }
}

// Saves the grid as an 8-bit grey BMP (lossless: JPEG would ring round every
// glyph), and for the contact sheet a copy with the cell lines drawn in.
void Save(const Image& im, const Paths& paths, const char* name, int columns, int rows)
{
    SaveBmp(im, paths.out + "/" + name + ".bmp", true);
    Image sheet = im;
    for (int y = 0; y < sheet.height; ++y)
        for (int x = 0; x < sheet.width; ++x) {
            bool line = (x * columns) % sheet.width < columns || (y * rows) % sheet.height < rows;
            if (line)
                sheet.at(x, y) = Mix(sheet.at(x, y), Rgb{0.9f, 0.25f, 0.2f}, 0.8f);
        }
    SavePng(sheet, paths.out + "/sheet/" + name + ".png");
}

} // namespace

std::array<unsigned char, 256> MakeGlyphs(const Paths& paths)
{
    Font sans(paths.fonts + "/DejaVuSans.ttf");
    Font bold(paths.fonts + "/DejaVuSans-Bold.ttf");
    Font condensed(paths.fonts + "/DejaVuSansCondensed-Bold.ttf");

    // Number font: 4 x 4 cells of 64 texels (32 units: the quad); glyphs advance by
    // 22 units, so each digit is centred and at most 19 units wide.
    {
        Image im(256, 256);
        const float em = 54;
        float digitBaseline = 0;
        for (int i = 0; i < 13; ++i) {
            int cx = (i % 4) * 64, cy = (i / 4) * 64;
            if (i <= 10) {
                unsigned cp = i < 10 ? '0' + i : ':';
                DrawCentred(im, bold, {cp}, em, 1, cx, cy, cx + 64, cy + 64);
                if (i == 0) {  // remember where the digits stand, for the marks
                    int x0, y0, x1, y1;
                    bold.Box('0', x0, y0, x1, y1);
                    digitBaseline = 32 + (y0 + y1) / 2.0f * bold.Scale(em);  // texels from the cell top
                }
            } else {
                // The twelve-hour marks stand on the digits' baseline, in small capitals.
                std::vector<unsigned> mark = {i == 11 ? 65u : 80u, 77u};  // "AM", "PM"
                DrawCentred(im, condensed, mark, 30, 1, cx, cy, cx + 64, cy + 64, 64 - digitBaseline);
            }
        }
        Save(im, paths, "numberfont", 4, 4);
    }

    // Text font: 16 x 16 cells of 32 texels (16 units); glyph i is code 32 + i.
    // Glyphs start one unit into their cell and stand on a common baseline; the
    // width table holds their advances in the same units.
    std::array<unsigned char, 256> widths{};
    {
        Image im(512, 512);
        const float em = 24, unit = 2;  // texels per font unit
        const float s = sans.Scale(em);
        const float baseline = 2 + 0.928f * em;
        for (int code = 32; code < 256; ++code) {
            unsigned cp = CharOfByte((unsigned char)code);
            int i = code - 32, cx = (i % 16) * 32, cy = (i / 16) * 32;
            if (cp == 0 || !sans.Has(cp)) {
                widths[code] = (unsigned char)std::lround(sans.Advance(' ') * s / unit);
                continue;
            }
            float advance = sans.Advance(cp) * s;
            int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
            bool ink = sans.Box(cp, x0, y0, x1, y1);
            // A glyph wider than its cell is narrowed to fit, with its advance.
            float room = 32 - 2 * unit, need = std::max(advance, ink ? x1 * s : 0.0f);
            float sx = need > room ? s * room / need : s;
            // A glyph that reaches left of its origin (J) moves right just enough to
            // keep a clear texel column at the cell's edge.
            float origin = cx + unit + std::max(0.0f, -x0 * sx - unit + 1);
            if (ink)
                sans.Draw(im, cp, sx, s, origin, cy + baseline, cx, cy, cx + 32, cy + 32);
            widths[code] = (unsigned char)std::lround(sans.Advance(cp) * sx / unit);
        }
        Save(im, paths, "font", 16, 16);
    }

    // Signs: 4 x 3 cells, each 128 texels wide and a third of 512 high; the quad
    // shows a cell square, so the symbols are drawn a third taller than wide.
    {
        Image im(512, 512);
        const unsigned signs[10] = {0x263F, 0x2640, 0x2295, 0x2642, 0x2643, 0x2644, 0x2645, 0x2646, 0x2647, 0x2609};
        for (int i = 0; i < 10; ++i) {
            int cx = (i % 4) * 128;
            int cy0 = int(std::lround((i / 4) * 512 / 3.0)), cy1 = int(std::lround((i / 4 + 1) * 512 / 3.0));
            int x0, y0, x1, y1;
            bold.Box(signs[i], x0, y0, x1, y1);
            // Fit the ink into 92 texels square (as shown), leaving margins.
            float side = float(std::max(x1 - x0, y1 - y0));
            float em = 92.0f / side * 2048.0f;
            DrawCentred(im, bold, {signs[i]}, em, 4.0f / 3.0f, cx, cy0, cx + 128, cy1 - 1);
        }
        Save(im, paths, "sign", 4, 3);
    }

    FILE* out = std::fopen((paths.out + "/widths.bin").c_str(), "wb");
    if (!out || std::fwrite(widths.data(), 1, 256, out) != 256 || std::fclose(out) != 0)
        Fail("cannot write widths.bin");
    return widths;
}
