// The two texts of the data library that the description panel shows: the
// planet descriptions and the message list, cut into lines, and the in-line
// colour codes of a description line. Nothing here includes <windows.h> or GL.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::int32_t BodyCount = 10;
// Body index 0 Mercury ... 8 Pluto, 9 Sun: the order of txMercury..txSun and of the signs.
inline constexpr std::array<const char*, BodyCount> BodyNames = {
    "Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto", "Sun"};

// One body's description lines, byte for byte (colour codes included).
struct TPlanetDesc {
    std::int32_t Count = 0;
    std::vector<std::string> Lines;
};

// The message list and the state of its fade; the timers count in steps of Step.
struct TMsgDesc {
    float Step = 0.01f;
    bool Starting = true;     // the initial delay runs
    float StartTime = 0.0f;
    bool FadingOut = false;
    bool Holding = false;
    float HoldTime = 0.0f;
    bool Pausing = false;
    float PauseTime = 0.0f;
    float Alpha = 0.0f;       // opacity of the message shown
    std::int32_t HighIndex = 0;  // index of the last message; 0 with fewer than two
    std::int32_t Current = 0;    // index of the message shown
    std::vector<std::string> Lines;
};

// Lines ended by CR; the byte after each CR is dropped unseen. Every byte after
// the last CR is used up as one empty line.
std::vector<std::string> CutLines(std::string_view text);

// Fills the ten entries from the description text. Each body's block is searched
// from the top: the first line holding "object <Name>" up to the next line holding
// "objend". A body without a closed block keeps an empty entry.
void ParseDescriptions(std::string_view text, std::array<TPlanetDesc, BodyCount>& descs);

// Pads every message shorter than the longest one with spaces on both sides so
// that all have the longest length.
void CentreMessages(std::vector<std::string>& lines);

// The colour-code introducer: followed by one hexadecimal digit, it selects the
// palette colour of the text after it.
inline constexpr char ColorCodeByte = 2;

// True when the line's first byte 2 starts a colour code.
bool HasColorCode(std::string_view line);
// Cuts the next segment of one colour out of the line. `position` is 1-based:
// the caller sets it to 1 before the first call and passes it back unchanged.
// `color` gets the palette index (0-15) of the segment. False when no segment is left.
// `segment` points into `line`.
bool NextColorSegment(std::string_view line, std::string_view& segment, std::int32_t& position, std::uint8_t& color);

// Width of the text in overlay units: the sum of the font's advances of its bytes
// (`widths` has one entry per byte value), times `scale`.
float TextWidth(std::string_view text, float scale, const std::uint8_t (&widths)[256]);

struct TColor {
    float Red, Green, Blue;  // 0..1
};
// The colours a colour code selects; 15 (white) is the colour of uncoloured text.
inline constexpr std::array<TColor, 16> Palette = {{
    {0.0f, 0.0f, 0.0f},    {0.5f, 0.0f, 0.0f},   {0.0f, 0.5f, 0.0f},   {0.5f, 0.5f, 0.0f},
    {0.0f, 0.0f, 0.5f},    {0.5f, 0.0f, 0.5f},   {0.0f, 0.5f, 0.5f},   {0.5f, 0.5f, 0.5f},
    {0.75f, 0.75f, 0.75f}, {1.0f, 0.0f, 0.0f},   {0.0f, 1.0f, 0.0f},   {1.0f, 1.0f, 0.0f},
    {0.0f, 0.0f, 1.0f},    {1.0f, 0.0f, 1.0f},   {0.0f, 1.0f, 1.0f},   {1.0f, 1.0f, 1.0f},
}};
inline constexpr std::uint8_t DefaultColor = 15;
