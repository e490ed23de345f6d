#include "common/Util.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

char DecimalSeparator = '.';

std::string FloatToText(double value, int decimals)
{
    if (decimals < 0) decimals = 0;
    if (!std::isfinite(value)) value = 0.0;
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return "0";
    std::string text(buffer, result.ptr);
    if (text == "-0" || text.find_first_not_of("-0.") == std::string::npos) {
        // "-0.00" reads oddly in a settings file; a rounded zero is just zero.
        if (!text.empty() && text[0] == '-') text.erase(0, 1);
    }
    for (char& c : text)
        if (c == '.') c = DecimalSeparator;
    return text;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

double TextToFloat(std::string_view text)
{
    text = Trim(text);
    if (text.empty()) return 0.0;

    // from_chars takes neither a '+' nor a separator other than '.', and it would
    // take "inf" and "nan", which are not numbers in a settings file.
    std::string plain;
    plain.reserve(text.size());
    std::size_t start = 0;
    if (text[0] == '+' || text[0] == '-') {
        if (text[0] == '-') plain.push_back('-');
        start = 1;
    }
    for (std::size_t i = start; i < text.size(); ++i) {
        char c = text[i];
        if (c == DecimalSeparator) c = '.';
        else if (c == '.') return 0.0;
        const bool allowed = (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' ||
                             ((c == '+' || c == '-') && i > start && (text[i - 1] == 'e' || text[i - 1] == 'E'));
        if (!allowed) return 0.0;
        plain.push_back(c);
    }
    double value = 0.0;
    const char* first = plain.data();
    const char* last = plain.data() + plain.size();
    auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value)) return 0.0;
    return value;
}

float TextToSingle(std::string_view text)
{
    const double value = TextToFloat(text);
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) return 0.0f;
    return static_cast<float>(value);
}

IntegerText ParseInteger(std::string_view text)
{
    IntegerText out;
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }

    // Hexadecimal digits give the 32-bit pattern ("$FFFFFFFF" is -1); decimal
    // digits must stay within the signed range. A digit that would overflow is
    // the first invalid character.
    std::uint32_t magnitude = 0;
    std::size_t digits = 0;
    const std::uint32_t decimalLimit = negative ? 2147483648u : 2147483647u;
    for (; i < text.size(); ++i) {
        if (hex) {
            const int d = HexDigit(text[i]);
            if (d < 0 || (magnitude >> 28) != 0) break;
            magnitude = (magnitude << 4) | static_cast<std::uint32_t>(d);
        } else {
            const char c = text[i];
            if (c < '0' || c > '9') break;
            const std::uint32_t d = static_cast<std::uint32_t>(c - '0');
            if (magnitude > (decimalLimit - d) / 10) break;
            magnitude = magnitude * 10 + d;
        }
        ++digits;
    }

    const std::uint32_t bits = negative ? (0u - magnitude) : magnitude;
    out.value = static_cast<std::int32_t>(bits);
    out.complete = digits > 0 && i == text.size();
    return out;
}

std::int32_t TextToInt(std::string_view text)
{
    const IntegerText parsed = ParseInteger(text);
    return parsed.complete ? parsed.value : 0;
}

float AdvanceWithinTurn(float angle, double step, double turn)
{
    double next = std::fmod(static_cast<double>(angle) + step, turn);
    if (next < 0.0) next += turn;
    // Just below a turn may round up to it as a float: that is the start again.
    const float result = static_cast<float>(next);
    return std::isfinite(result) && result < static_cast<float>(turn) ? result : 0.0f;
}

bool ListsName(const char* list, std::string_view name)
{
    for (std::string_view rest = list ? list : ""; !rest.empty();) {
        const std::size_t end = std::min(rest.find(' '), rest.size());
        if (rest.substr(0, end) == name) return true;
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return false;
}

namespace {
std::uint32_t RandSeed = 0;
}

void RandomSeed(std::uint32_t seed) { RandSeed = seed; }

static std::uint32_t NextRandom()
{
    RandSeed = RandSeed * 134775813u + 1u;
    return RandSeed;
}

double RandomFloat() { return static_cast<double>(NextRandom()) / 4294967296.0; }

std::int32_t RandomInt(std::int32_t range)
{
    if (range <= 0) return 0;
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(NextRandom()) * static_cast<std::uint32_t>(range)) >> 32);
}
