// Number text and other small helpers shared by every part of the program.
// Nothing here includes <windows.h>, so it builds and is tested natively too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The decimal separator of every number conversion of the process. Start-up sets
// it to '.' whatever the user's locale says, so settings written on one machine
// read the same on any other.
extern char DecimalSeparator;

// Fixed-point text of `value` with `decimals` digits after the separator,
// rounded to nearest: FloatToText(1.23456, 3) == "1.235".
std::string FloatToText(double value, int decimals);

// The number in `text` (optional blanks around it, optional sign, digits with
// DecimalSeparator, optional exponent). Text that does not convert in full gives 0.
double TextToFloat(std::string_view text);

// The same as a 32-bit float: a number beyond the float range does not convert
// either and gives 0 (converting it would be undefined).
float TextToSingle(std::string_view text);

// Result of reading a signed 32-bit integer the way the command line and the
// settings write them: leading blanks, a sign, decimal digits or hexadecimal
// digits after '$', 'x' or '0x'. `value` is built from the characters before the
// first one that does not fit; `complete` says whether the whole text was used.
struct IntegerText {
    std::int32_t value = 0;
    bool complete = false;
};
IntegerText ParseInteger(std::string_view text);

// The integer in `text`, or 0 when the text does not convert in full.
std::int32_t TextToInt(std::string_view text);

// `angle` moved on by `step`, kept within [0, turn): every animation angle goes
// round for as long as the saver runs, and a float far from zero would round a
// frame's small step away (after a day the motion stutters, after days it stops).
// A turn draws the same picture, so wrapping changes nothing on screen.
float AdvanceWithinTurn(float angle, double step, double turn);

inline constexpr double TurnDegrees = 360.0;
inline constexpr double TurnRadians = 6.283185307179586476925;

// Whether the space-separated `list` (an OpenGL extension string; may be null)
// holds `name` as a whole entry, not as the start or end of a longer one.
bool ListsName(const char* list, std::string_view name);

// The program's own pseudo-random generator (a 32-bit linear congruential one),
// so that a seed gives the same sequence on every platform.
void RandomSeed(std::uint32_t seed);
// A value in [0, 1).
double RandomFloat();
// An integer in [0, range); 0 when range <= 0.
std::int32_t RandomInt(std::int32_t range);
