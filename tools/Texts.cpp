// The description text and the message list: authored as UTF-8 with LF lines and
// {X} for colour code X, stored as Windows-1251 with CR LF lines and byte 2 + X.
// The descriptions are checked against the panel they are shown in.
#include "Cp1251.h"
#include "Generators.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// Panel geometry in overlay units: lines start at x 12; the frame's border is at
// 5 + 244 − 4; the planet's sign covers x 210..242 beside the first three lines.
constexpr float FontScale = 0.75f;
constexpr float LineStart = 12;
constexpr float FrameInside = 5 + 244 - 4;
constexpr float SignLeft = 208;
constexpr int SignLines = 3;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Fail("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One line of UTF-8 to Windows-1251, colour marks {X} to byte 2 + X.
bool Encode(const std::string& line, std::string& out, int lineNumber, const std::string& file)
{
    out.clear();
    for (size_t i = 0; i < line.size();) {
        unsigned char c = line[i];
        if (c == '{' && i + 2 < line.size() && line[i + 2] == '}' && std::isxdigit((unsigned char)line[i + 1])) {
            out += '\x02';
            out += line[i + 1];
            i += 3;
            continue;
        }
        unsigned cp = c;
        int extra = 0;
        if (c >= 0xF0) {
            cp = c & 7;
            extra = 3;
        } else if (c >= 0xE0) {
            cp = c & 15;
            extra = 2;
        } else if (c >= 0xC0) {
            cp = c & 31;
            extra = 1;
        }
        for (int k = 1; k <= extra && i + k < line.size(); ++k)
            cp = (cp << 6) | (line[i + k] & 63);
        i += 1 + extra;
        if (cp < 32) {
            std::fprintf(stderr, "%s:%d: control character in text\n", file.c_str(), lineNumber);
            return false;
        }
        int byte = -1;
        if (cp < 128)
            byte = int(cp);
        for (int b = 0; b < 128 && byte < 0; ++b)
            if (Cp1251High[b] == cp)
                byte = 128 + b;
        if (byte < 0) {
            std::fprintf(stderr, "%s:%d: character U+%04X is not in the font\n", file.c_str(), lineNumber, cp);
            return false;
        }
        out += char(byte);
    }
    return true;
}

std::vector<std::string> EncodeLines(const std::string& path, bool& ok)
{
    std::string text = ReadFile(path);
    std::vector<std::string> lines;
    size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string encoded;
        ok = Encode(text.substr(start, end - start), encoded, ++number, path) && ok;
        lines.push_back(encoded);
        start = end + 1;
    }
    return lines;
}

// Width of a line as the panel sets it: colour codes take no room.
float LineWidth(const std::string& line, const std::array<unsigned char, 256>& widths)
{
    float w = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\x02' && i + 1 < line.size() && std::isxdigit((unsigned char)line[i + 1])) {
            ++i;
            continue;
        }
        w += widths[(unsigned char)line[i]];
    }
    return w * FontScale;
}

void Write(const std::vector<std::string>& lines, const std::string& path)
{
    std::string out;
    for (const std::string& line : lines)
        out += line + "\r\n";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0)
        Fail("cannot write " + path);
}

} // namespace

bool MakeDescriptions(const std::string& source, const std::string& target, const std::array<unsigned char, 256>& widths)
{
    bool ok = true;
    std::vector<std::string> lines = EncodeLines(source, ok);
    const char* names[10] = {"Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto", "Sun"};
    for (const char* name : names) {
        std::string key = std::string("object ") + name;
        size_t header = 0;
        while (header < lines.size() && lines[header].find(key) == std::string::npos)
            ++header;
        size_t end = header;
        while (end < lines.size() && lines[end].find("objend") == std::string::npos)
            ++end;
        if (header >= lines.size() || end >= lines.size()) {
            std::fprintf(stderr, "%s: no complete block for %s\n", source.c_str(), name);
            ok = false;
            continue;
        }
        int count = int(end - header - 1);
        if (count < 8 || count > 14) {
            std::fprintf(stderr, "%s: %s has %d lines, not 8 to 14\n", source.c_str(), name, count);
            ok = false;
        }
        for (size_t i = header + 1; i < end; ++i) {
            int row = int(i - header - 1);
            float right = LineStart + LineWidth(lines[i], widths);
            float limit = row < SignLines ? SignLeft : FrameInside;
            if (right > limit) {
                std::fprintf(stderr, "%s:%zu: line ends at %.1f, past %.0f\n", source.c_str(), i + 1, right, limit);
                ok = false;
            }
        }
    }
    if (ok)
        Write(lines, target);
    return ok;
}

bool MakeMessages(const std::string& source, const std::string& target, const std::array<unsigned char, 256>& widths)
{
    bool ok = true;
    std::vector<std::string> lines = EncodeLines(source, ok);
    if (lines.size() < 6) {
        std::fprintf(stderr, "%s: fewer than six messages\n", source.c_str());
        ok = false;
    }
    // The message line starts at x 15 and must stay on the 800-unit screen.
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i].find('\x02') != std::string::npos) {
            std::fprintf(stderr, "%s:%zu: empty line or colour code in a message\n", source.c_str(), i + 1);
            ok = false;
        }
        if (15 + LineWidth(lines[i], widths) > 785) {
            std::fprintf(stderr, "%s:%zu: message too long for the screen\n", source.c_str(), i + 1);
            ok = false;
        }
    }
    if (ok)
        Write(lines, target);
    return ok;
}
