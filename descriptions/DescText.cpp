#include "descriptions/DescText.h"

#include <algorithm>

std::vector<std::string> CutLines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t cr = text.find('\r');
        if (cr == std::string_view::npos) {
            // Each byte after the last CR makes an empty line of its own; added
            // at once, since searching the rest again for each one takes
            // minutes on a text of a megabyte.
            lines.resize(lines.size() + text.size());
            break;
        }
        lines.emplace_back(text.substr(0, cr));
        text.remove_prefix(std::min(cr + 2, text.size()));
    }
    return lines;
}

namespace {
std::size_t FirstLineWith(const std::vector<std::string>& lines, std::size_t from, std::string_view key)
{
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i].find(key) != std::string::npos) return i;
    return lines.size();
}
} // namespace

void ParseDescriptions(std::string_view text, std::array<TPlanetDesc, BodyCount>& descs)
{
    const std::vector<std::string> lines = CutLines(text);
    for (std::int32_t body = 0; body < BodyCount; ++body) {
        TPlanetDesc& desc = descs[body];
        desc = TPlanetDesc{};
        const std::size_t header = FirstLineWith(lines, 0, std::string("object ") + BodyNames[body]);
        if (header == lines.size()) continue;
        // The closing search starts at the header itself, so a header that also
        // holds "objend" closes at once: that body keeps an empty entry.
        const std::size_t end = FirstLineWith(lines, header, "objend");
        if (end == lines.size() || end == header) continue;
        desc.Lines.assign(lines.begin() + static_cast<std::ptrdiff_t>(header) + 1,
                          lines.begin() + static_cast<std::ptrdiff_t>(end));
        desc.Count = static_cast<std::int32_t>(desc.Lines.size());
    }
}

void CentreMessages(std::vector<std::string>& lines)
{
    std::size_t longest = 0;
    for (const std::string& line : lines) longest = std::max(longest, line.size());
    for (std::string& line : lines) {
        if (line.size() >= longest) continue;
        line.insert(0, longest / 2 - line.size() / 2, ' ');
        line.resize(longest, ' ');
    }
}

namespace {
// The palette index of a hexadecimal digit, or -1 for any other byte.
int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The colour selected by a code at `index` (0-based), or -1 when none starts there.
int CodeAt(std::string_view line, std::size_t index)
{
    if (index + 1 >= line.size() || line[index] != ColorCodeByte) return -1;
    return HexValue(line[index + 1]);
}
} // namespace

bool HasColorCode(std::string_view line)
{
    const std::size_t first = line.find(ColorCodeByte);
    return first != std::string_view::npos && CodeAt(line, first) >= 0;
}

bool NextColorSegment(std::string_view line, std::string_view& segment, std::int32_t& position, std::uint8_t& color)
{
    color = DefaultColor;
    segment = {};
    if (line.find(ColorCodeByte) == std::string_view::npos) return false;
    // A position from outside the line starts over rather than reading before it.
    if (position < 1) position = 1;
    const auto length = static_cast<std::int32_t>(line.size());
    std::int32_t start = position;
    bool found = false;
    while (position <= length) {
        const int code = CodeAt(line, static_cast<std::size_t>(position - 1));
        if (code >= 0) {
            if (start != position) break;
            color = static_cast<std::uint8_t>(code);
            position += 2;
            start = position;
        } else {
            position += 1;
        }
        found = true;
    }
    if (start <= length) segment = line.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(position - start));
    return found;
}

float TextWidth(std::string_view text, float scale, const std::uint8_t (&widths)[256])
{
    std::uint32_t sum = 0;
    for (char c : text) sum += widths[static_cast<std::uint8_t>(c)];
    return static_cast<float>(sum) * scale;
}
