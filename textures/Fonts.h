// Display-list fonts: the number font, the text font and the planet signs, one
// list per glyph (a textured quad, then the pen moves right), drawn over the
// scene in a virtual screen of 800 x 600 units stretched over the viewport.
#pragma once

#include "common/Commons.h"
#include "support/Win.h"

#include <cstdint>
#include <string_view>

// First list of each set (13, 256 and 10 lists); 0 when the set is not built.
extern std::uint32_t NumberFontBase;
extern std::uint32_t TextFontBase;
extern std::uint32_t SignBase;
// Text-font advance of each character code, in font units before FontScale.
extern std::uint8_t FontWidths[256];
inline constexpr float FontScale = 0.75f;

// Builds the three sets for the current context over its font textures in
// `textures`, reading the widths (resource DATA_FONT_WIDTHS) from `dataLibrary`.
// A width resource that is missing or short leaves the rest of the table as it
// was. False when a set got no list names.
bool BuildFontLists(HMODULE dataLibrary, const TTextureNames& textures);
// Deletes whatever sets are built; the context must still be current.
void ReleaseFontLists();

// Draws `text` with its first glyph's lower-left corner at (x, y) overlay units.
// `listBase` is NumberFontBase - 48 with txNumberFont or TextFontBase - 32 with
// txFont. The caller enables texturing and chooses blending and colour; this
// leaves depth testing on, the list base at `listBase`, `texture` bound and the
// model-view matrix current.
void PrintText(std::int32_t x, std::int32_t y, std::string_view text, std::uint32_t listBase, TTexName texture);
// The 800 x 600 overlay screen stretched over the viewport: both matrix stacks
// pushed, the model-view matrix current at the screen's lower-left corner.
void PushOverlayScreen();
// Pops both stacks again; the model-view matrix stays current.
void PopOverlayScreen();

// Draws planet sign 0-9, 32 x 32 units, with its lower-left corner at (x, y).
void PrintSign(std::int32_t x, std::int32_t y, std::int32_t sign);
