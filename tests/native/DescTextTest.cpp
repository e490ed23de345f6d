#include "descriptions/ShowMsg.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>

namespace {

using Lines = std::vector<std::string>;

TEST(DescText, LinesEndAtCrAndLoseTheByteAfterIt)
{
    const std::pair<std::string_view, Lines> cases[] = {
        {"", {}},
        {"a\rbc\r\n", {"a", "c"}},       // a lone CR eats the next line's first byte
        {"ab\r\ncd", {"ab", "", ""}},    // bytes after the last CR give no text
        {"\r\n\r\nx\r", {"", "", "x"}},
    };
    for (const auto& [text, lines] : cases) EXPECT_EQ(CutLines(text), lines) << text;
}

TEST(DescText, BlocksByHeaderAndObjend)
{
    const struct {
        std::string_view text;
        std::vector<std::pair<int, Lines>> filled;  // every other body stays empty
    } cases[] = {
        {"object Mars\r\nred\r\nobjend", {}},  // the last objend is not a line
        {"object Earth\r\nobjend\r\n", {}},
        {"object Sun\r\nS\r\nobjend\r\nobject Mars\r\nM1\r\n\r\nobjend\r\n-- object Earth --\r\nE\r\nx objend x\r\n",
         {{9, {"S"}}, {3, {"M1", ""}}, {2, {"E"}}}},
        {"object Venus\r\nupper\r\nobjend\r\nobject Venus\r\nlower\r\nobjend\r\n", {{1, {"upper"}}}},
        {"Object Mars\r\nobject  Mars\r\nobject mars\r\nM\r\nobjend\r\n", {}},  // case and spacing count
        // A line inside one block may be another body's header.
        {"object Mercury\r\nobject Venus\r\nv\r\nobjend\r\n", {{0, {"object Venus", "v"}}, {1, {"v"}}}},
        // A header that closes itself keeps its body empty; the blocks after it are untouched.
        {"object Pluto objend\r\nP\r\nobjend\r\nobject Sun\r\nS\r\nobjend\r\n", {{9, {"S"}}}},
    };
    for (const auto& c : cases) {
        std::array<TPlanetDesc, BodyCount> descs;
        descs[4].Lines = {"left over"};
        ParseDescriptions(c.text, descs);
        std::array<Lines, BodyCount> expected;
        for (const auto& [body, lines] : c.filled) expected[body] = lines;
        for (int body = 0; body < BodyCount; ++body) {
            EXPECT_EQ(descs[body].Lines, expected[body]) << c.text << " body " << body;
            EXPECT_EQ(descs[body].Count, static_cast<std::int32_t>(expected[body].size()));
        }
    }
}

std::vector<std::pair<std::string, int>> Segments(std::string_view line)
{
    std::vector<std::pair<std::string, int>> segments;
    std::string segment;
    std::int32_t position = 1;
    std::uint8_t color = 0;
    while (NextColorSegment(line, segment, position, color) && segments.size() <= line.size())
        segments.emplace_back(segment, color);
    return segments;
}

TEST(DescText, ColorSegments)
{
    const struct {
        std::string_view line;
        bool coded;
        std::vector<std::pair<std::string, int>> segments;
    } cases[] = {
        {"P\x02" "aQ\x02" "FR", true, {{"P", 15}, {"Q", 10}, {"R", 15}}},
        {"\x02" "F\x02" "CP", true, {{"P", 12}}},                // of codes in a row the last wins
        {"a\x02" "zb\x02" "9c", false, {{"a\x02zb", 15}, {"c", 9}}},  // drawn whole: first 2 is no code
        {"P\x02" "B", true, {{"P", 15}, {"", 11}}},              // a code at the end: one empty segment
        {std::string_view("x\x02" "F", 2), false, {{"x\x02", 15}}},  // nothing read past the end
        {"plain", false, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HasColorCode(c.line), c.coded) << c.line;
        EXPECT_EQ(Segments(c.line), c.segments) << c.line;
    }
}

TEST(DescText, TextWidthSumsTheTableByUnsignedByte)
{
    std::uint8_t widths[256];
    for (int i = 0; i < 256; ++i) widths[i] = static_cast<std::uint8_t>(i % 13);
    EXPECT_EQ(TextWidth("", 0.75f, widths), 0.0f);
    EXPECT_EQ(TextWidth("AB", 0.75f, widths), (65 % 13 + 66 % 13) * 0.75f);
    EXPECT_EQ(TextWidth("\xE9\xFF", 1.0f, widths), static_cast<float>(233 % 13 + 255 % 13));
}

TEST(DescText, MessagesCentredToTheLongest)
{
    const struct {
        std::string_view text;
        bool shown;
        Lines lines;
    } cases[] = {
        {"ab\r\nabcd\r\n", true, {" ab ", "abcd"}},
        {"a\r\nabcd\r\nabc\r\n", true, {"  a ", "abcd", " abc"}},
        {"only one\r\n", false, {"only one"}},
        {"", false, {}},
    };
    for (const auto& c : cases) {
        TDrawMsg panel;
        EXPECT_EQ(panel.LoadMessages(c.text), c.shown) << c.text;
        EXPECT_EQ(panel.Msg.Lines, c.lines);
        EXPECT_EQ(panel.Msg.HighIndex, c.shown ? static_cast<std::int32_t>(c.lines.size()) - 1 : 0);
    }
}

// Hostile texts through both loaders, the segmenter and the panel's steps; the
// sanitizers catch any read outside a string or a table.
TEST(DescText, RandomTextsStayInBounds)
{
    const std::string_view pieces[] = {"object ", "Venus", "Sun", "objend", "\r\n", "\r", "\x02", "F", "z", " "};
    std::mt19937 random(1234);
    std::uint8_t widths[256] = {};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int n = static_cast<int>(random() % 40); n > 0; --n) {
            if (random() % 3 == 0) text += static_cast<char>(random() % 256);
            else text += pieces[random() % std::size(pieces)];
        }
        TDrawMsg panel;
        panel.Create(text, text);
        for (const TPlanetDesc& desc : panel.Descs) {
            ASSERT_EQ(desc.Count, static_cast<std::int32_t>(desc.Lines.size()));
            for (const std::string& line : desc.Lines) {
                std::size_t drawn = 0;
                for (const auto& segment : Segments(line)) drawn += segment.first.size() + 2;
                ASSERT_LE(drawn, line.size() + 2) << line;
                TextWidth(line, 0.75f, widths);
            }
        }
        for (const std::string& message : panel.Msg.Lines) ASSERT_EQ(message.size(), panel.Msg.Lines[0].size());
        panel.WaitFrames = panel.ShowFrames = 1;
        for (int frame = 0; frame < 200; ++frame) {
            panel.StepPanel();
            panel.StepMessage();
            ASSERT_LE(VisibleLines, panel.Descs[panel.Body()].Count);
        }
    }
}

} // namespace
