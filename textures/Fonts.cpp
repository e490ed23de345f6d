#include "textures/Fonts.h"

#include "common/DataResources.h"
#include "support/Streams.h"

#include <GL/gl.h>

std::uint32_t NumberFontBase = 0;
std::uint32_t TextFontBase = 0;
std::uint32_t SignBase = 0;
std::uint8_t FontWidths[256] = {};

namespace {
constexpr std::int32_t WidthsResource = DATA_FONT_WIDTHS;
constexpr GLsizei NumberGlyphs = 13, TextGlyphs = 256, SignGlyphs = 10;
// The texture names the sets were built over; each print binds its set's.
TTextureNames GlyphTextures = {};

// One glyph set: its cell grid in the texture, the quad side and the pen step.
struct TGlyphGrid {
    TTexName texture;
    GLsizei count;
    int columns, rows;  // cells are 1 / columns wide; rows start at multiples of 1 / rows
    GLfloat cellHeight; // texture units
    GLfloat side;       // quad side, overlay units before any scale
};

// Cells run row by row from the texture's top-left corner; `advance(i)` is the
// pen step after glyph i. Zero when OpenGL gave no list names.
template <typename Advance>
GLuint BuildGlyphLists(const TGlyphGrid& grid, Advance advance)
{
    const GLuint base = glGenLists(grid.count);
    if (base == 0) return 0;
    glBindTexture(GL_TEXTURE_2D, GlyphTextures[grid.texture]);
    for (GLsizei i = 0; i < grid.count; ++i) {
        const GLfloat s0 = static_cast<GLfloat>(i % grid.columns) / static_cast<GLfloat>(grid.columns);
        const GLfloat s1 = s0 + 1.0f / static_cast<GLfloat>(grid.columns);
        const GLfloat t1 = 1.0f - static_cast<GLfloat>(i / grid.columns) / static_cast<GLfloat>(grid.rows);
        const GLfloat t0 = t1 - grid.cellHeight;
        glNewList(base + static_cast<GLuint>(i), GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(s0, t0);
        glVertex2f(0.0f, 0.0f);
        glTexCoord2f(s1, t0);
        glVertex2f(grid.side, 0.0f);
        glTexCoord2f(s1, t1);
        glVertex2f(grid.side, grid.side);
        glTexCoord2f(s0, t1);
        glVertex2f(0.0f, grid.side);
        glEnd();
        glTranslatef(advance(i), 0.0f, 0.0f);
        glEndList();
    }
    return base;
}

void ReadFontWidths(HMODULE dataLibrary)
{
    TResourceStream widths(dataLibrary, WidthsResource, RT_RCDATA);
    widths.Read(FontWidths, static_cast<std::int32_t>(sizeof FontWidths));
}

void DeleteLists(std::uint32_t& base, GLsizei count)
{
    if (base != 0) glDeleteLists(base, count);
    base = 0;
}

// Steps 2 to 4 of both print operations: depth off, the stretched 800 x 600
// screen, the pen at (x, y). Undone by EndOverlay.
void BeginOverlay(std::int32_t x, std::int32_t y, TTexName texture)
{
    glBindTexture(GL_TEXTURE_2D, GlyphTextures[texture]);
    glDisable(GL_DEPTH_TEST);
    PushOverlayScreen();
    glTranslatef(static_cast<GLfloat>(x), static_cast<GLfloat>(y), 0.0f);
}

void EndOverlay()
{
    PopOverlayScreen();
    glEnable(GL_DEPTH_TEST);
}
} // namespace

void PushOverlayScreen()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 800.0, 0.0, 600.0, -100.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void PopOverlayScreen()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

bool BuildFontLists(HMODULE dataLibrary, const TTextureNames& textures)
{
    GlyphTextures = textures;
    glPushAttrib(GL_TEXTURE_BIT);  // the lists bind no texture; the build binds three
    NumberFontBase = BuildGlyphLists({txNumberFont, NumberGlyphs, 4, 4, 0.25f, 32.0f},
                                     [](GLsizei) { return 22.0f; });

    if (dataLibrary != nullptr) ReadFontWidths(dataLibrary);
    // Lists 224 to 255 would stand for codes 256 to 287, which no byte names and
    // the table does not hold: they keep the pen where it is.
    TextFontBase = BuildGlyphLists({txFont, TextGlyphs, 16, 16, 0.0625f, 16.0f}, [](GLsizei i) {
        const GLsizei code = 32 + i;
        return code < static_cast<GLsizei>(sizeof FontWidths) ? static_cast<GLfloat>(FontWidths[code]) : 0.0f;
    });

    // The sign rows start at exact thirds but are a little less than a third high.
    SignBase = BuildGlyphLists({txSign, SignGlyphs, 4, 3, 0.333f, 128.0f},
                               [](GLsizei) { return 128.0f; });
    glPopAttrib();
    return NumberFontBase != 0 && TextFontBase != 0 && SignBase != 0;
}

void ReleaseFontLists()
{
    DeleteLists(SignBase, SignGlyphs);
    DeleteLists(NumberFontBase, NumberGlyphs);
    DeleteLists(TextFontBase, TextGlyphs);
}

void PrintText(std::int32_t x, std::int32_t y, std::string_view text, std::uint32_t listBase, TTexName texture)
{
    BeginOverlay(x, y, texture);
    glListBase(listBase);
    if (texture == txFont) glScalef(FontScale, FontScale, 1.0f);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
    EndOverlay();
}

void PrintSign(std::int32_t x, std::int32_t y, std::int32_t sign)
{
    BeginOverlay(x, y, txSign);
    glScalef(0.25f, 0.25f, 1.0f);
    glCallList(SignBase + static_cast<GLuint>(sign));
    EndOverlay();
}
