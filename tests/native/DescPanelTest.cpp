#include "descriptions/ShowMsg.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Lines = std::vector<std::string>;
using Segments = std::vector<std::pair<std::string, int>>;

TEST(DescText, LinesBlocksAndMessages)
{
    const std::pair<std::string_view, Lines> cuts[] = {
        {"", {}}, {"a\rbc\r\n", {"a", "c"}}, {"ab\r\ncd", {"ab", "", ""}}, {"\r\n\r\nx\r", {"", "", "x"}}};
    for (const auto& [text, lines] : cuts) EXPECT_EQ(CutLines(text), lines) << text;
    const std::pair<std::string_view, std::vector<std::pair<int, Lines>>> blocks[] = {
        {"object Mars\r\nred\r\nobjend", {}},  // the last objend is not a line
        {"object Earth\r\nobjend\r\nObject Mars\r\nobject  Mars\r\nobject mars\r\nM\r\nobjend\r\n", {}},
        {"object Sun\r\nS\r\nobjend\r\nobject Mars\r\nM\r\n\r\nobjend\r\n-- object Earth --\r\nE\r\nx objend\r\n",
         {{9, {"S"}}, {3, {"M", ""}}, {2, {"E"}}}},
        {"object Venus\r\nupper\r\nobjend\r\nobject Venus\r\nlower\r\nobjend\r\n", {{1, {"upper"}}}},
        // A header that closes itself keeps its body empty and touches no other.
        {"object Pluto objend\r\nP\r\nobjend\r\nobject Sun\r\nS\r\nobjend\r\n", {{9, {"S"}}}},
    };
    for (const auto& [text, filled] : blocks) {
        std::array<TPlanetDesc, BodyCount> descs;
        ParseDescriptions(text, descs);
        std::array<std::pair<std::size_t, Lines>, BodyCount> expected, found;
        for (const auto& [body, lines] : filled) expected[body] = {lines.size(), lines};
        for (int body = 0; body < BodyCount; ++body) found[body] = {descs[body].Count, descs[body].Lines};
        EXPECT_EQ(found, expected) << text;
    }
    const std::pair<std::string_view, Lines> messages[] = {{"ab\r\nabcd\r\n", {" ab ", "abcd"}},
        {"a\r\nabcd\r\nabc\r\n", {"  a ", "abcd", " abc"}}, {"only one\r\n", {"only one"}}, {"", {}}};
    for (const auto& [text, lines] : messages) {
        TDrawMsg panel;
        EXPECT_EQ(panel.LoadMessages(text), lines.size() > 1) << text;
        EXPECT_EQ(panel.Msg.Lines, lines);
    }
}

Segments SegmentsOf(std::string_view line)
{
    Segments segments;
    std::string_view segment;
    std::int32_t position = 1;
    for (std::uint8_t color = 0; segments.size() <= line.size() && NextColorSegment(line, segment, position, color);)
        segments.emplace_back(segment, color);
    return segments;
}

TEST(DescText, ColorSegmentsAndWidths)
{
    const std::tuple<std::string_view, bool, Segments> cases[] = {
        {"P\x02" "aQ\x02" "FR", true, {{"P", 15}, {"Q", 10}, {"R", 15}}},
        {"\x02" "F\x02" "CP", true, {{"P", 12}}},
        {"a\x02" "zb\x02" "9c", false, {{"a\x02zb", 15}, {"c", 9}}},  // drawn whole: its first 2 is no code
        {"P\x02" "B", true, {{"P", 15}, {"", 11}}},                   // a code at the end: one empty segment
        {std::string_view("x\x02" "F", 2), false, {{"x\x02", 15}}},   // nothing read past the end
        {"plain", false, {}},
    };
    for (const auto& [line, coded, segments] : cases) {
        EXPECT_EQ(HasColorCode(line), coded) << line;
        EXPECT_EQ(SegmentsOf(line), segments) << line;
    }
    std::uint8_t widths[256];
    for (int i = 0; i < 256; ++i) widths[i] = static_cast<std::uint8_t>(i % 13);
    EXPECT_EQ(TextWidth("AB\xE9\xFF", 0.75f, widths), (65 % 13 + 66 % 13 + 233 % 13 + 255 % 13) * 0.75f);
}

// Frames until `done` holds after a step; -1 when it never does.
template <typename Done> int FramesUntil(TDrawMsg& panel, Done done)
{
    for (int frame = 1; frame <= 5000; ++frame)
        if (panel.StepPanel(), done()) return frame;
    return -1;
}

TEST(PanelState, TwentyLinesOpenTypeAndClose)
{
    std::string text;
    for (const char* name : BodyNames) text += "object " + std::string(name) + "\r\n" + std::string(40, '\r') + "objend\r\n";
    TDrawMsg panel;
    panel.Create(text, "");  // twenty empty lines for every body: each CR eats the next
    for (int frame = 1; frame < 100; ++frame) ASSERT_FALSE(panel.StepPanel()) << frame;  // waiting
    // Wider first, then taller; the last widening frame is also the first growing one.
    EXPECT_EQ(FramesUntil(panel, [] { return Opened; }), 58 + 69 - 1);
    EXPECT_EQ(FramesUntil(panel, [] { return VisibleLines == 20; }), 100);  // one every 5 frames
    FramesUntil(panel, [&] { return VisibleLines > 20 || panel.ShowCount == panel.ShowFrames; });
    EXPECT_TRUE(panel.ShowCount == 800 && !ShowText && !VisibleLines);
    // Height before width; the frames ending the showing and the last row take one more each.
    int narrowedEarly = 0;
    EXPECT_EQ(FramesUntil(panel, [&] { return narrowedEarly += panel.Rows > 0 && panel.Cols < 58, panel.Current == 1; }), 68 + 57);
    EXPECT_FALSE(narrowedEarly || Opened || panel.StepPanel());  // and waiting again
}

TEST(PanelState, TenBodiesPerCycleThenANewOrder)
{
    ShuffleSeed = [] { static std::uint32_t seed = 0; return ++seed; };  // whatever the clock says
    TDrawMsg panel;
    panel.Create("no blocks", "");  // empty entries still get their frame, of 9 rows
    panel.WaitFrames = panel.ShowFrames = 1;
    std::vector<int> cycles[2];
    for (int panels = 0; panels < 20; ++panels) {
        cycles[panels / 10].push_back(panel.Body());
        EXPECT_EQ(FramesUntil(panel, [] { return Opened; }), 58 + 9 - 1);
        EXPECT_GT(FramesUntil(panel, [] { return !Opened; }), 0);
    }
    EXPECT_NE(cycles[0], cycles[1]);
    for (const std::vector<int>& cycle : cycles) EXPECT_EQ(std::set<int>(cycle.begin(), cycle.end()).size(), 10u);
}

TEST(PanelState, MessagePhasesAndOrder)
{
    TDrawMsg panel;
    panel.Create("", "one\r\ntwo\r\nsix\r\n");
    std::vector<std::pair<std::string, int>> runs;  // the phase each frame advances, with the message shown
    for (int frame = 0; frame < 3316; ++frame) {
        const TMsgDesc& m = panel.Msg;
        const std::string key = (m.Starting ? "delay" : m.Holding ? "hold" : m.Pausing ? "pause" : m.FadingOut ? "out" : "in") + std::to_string(m.Current);
        if (runs.empty() || runs.back().first != key) runs.emplace_back(key, 0);
        ++runs.back().second;
        ASSERT_TRUE(panel.StepMessage());
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {"delay0", 500}, {"in0", 101}, {"hold0", 201}, {"out0", 102}, {"pause0", 500}, {"in1", 102},  // from below 0
        {"hold1", 201}, {"out1", 102}, {"pause1", 500}, {"in2", 102}, {"hold2", 201}, {"out2", 102}, {"pause2", 500}, {"in0", 102}};
    EXPECT_EQ(runs, expected);
}

TEST(Calibration, TenUpdatesThenScaledByThePeak)
{
    struct { std::int32_t peak, wait, show; } const cases[] = {
        {60, 102, 816}, {85, 144, 1156}, {45, 76, 612}, {1, 2, 14}, {0, 0, 0}};
    for (auto c : cases) {
        SCOPED_TRACE(c.peak);
        TDrawMsg panel;
        for (int second = 1; second <= 9; ++second) {
            panel.Calibrate(second == 4 ? c.peak : c.peak / 2);
            EXPECT_TRUE(!panel.IsActive() && panel.WaitFrames == 100 && panel.ShowFrames == 800) << second;
        }
        panel.Calibrate(0);
        EXPECT_TRUE(panel.IsActive() && panel.RefFps == c.peak);
        EXPECT_EQ(std::make_pair(panel.WaitFrames, panel.ShowFrames), std::make_pair(c.wait, c.show));
    }
}

} // namespace
