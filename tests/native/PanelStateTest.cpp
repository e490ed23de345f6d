#include "descriptions/ShowMsg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

namespace {

std::uint32_t NextSeed()
{
    static std::uint32_t seed = 0;
    return ++seed;
}

// Every body described by `lines` lines.
std::string Descriptions(int lines)
{
    std::string text;
    for (const char* name : BodyNames) {
        text += std::string("object ") + name + "\r\n";
        for (int i = 0; i < lines; ++i) text += "line " + std::to_string(i) + "\r\n";
        text += "objend\r\n";
    }
    return text;
}

// Frames until `done` holds after a step; -1 when it never does within `limit`.
template <typename Done>
int FramesUntil(TDrawMsg& panel, Done done, int limit = 5000)
{
    for (int frame = 1; frame <= limit; ++frame) {
        panel.StepPanel();
        if (done()) return frame;
    }
    return -1;
}

TEST(PanelState, TwentyLinesOpenTypeAndClose)
{
    ShuffleSeed = NextSeed;
    TDrawMsg panel;
    panel.Create(Descriptions(20), "");
    ASSERT_TRUE(panel.DescOn);
    for (int frame = 1; frame < 100; ++frame) ASSERT_FALSE(panel.StepPanel()) << frame;  // waiting
    // Wider first, then taller, the last widening frame also the first growing one.
    EXPECT_EQ(FramesUntil(panel, [] { return Opened; }), 58 + 69 - 1);
    EXPECT_EQ(TargetRows, 69);
    EXPECT_EQ(panel.Cols, 58);
    EXPECT_TRUE(ShowText);
    EXPECT_EQ(FramesUntil(panel, [] { return VisibleLines == 1; }), 5);
    EXPECT_EQ(FramesUntil(panel, [] { return VisibleLines == 20; }), 95);
    FramesUntil(panel, [&] { return VisibleLines > 20 || panel.ShowCount == panel.ShowFrames - 1; });
    EXPECT_EQ(VisibleLines, 20);
    panel.StepPanel();
    EXPECT_FALSE(ShowText);
    EXPECT_EQ(VisibleLines, 0);
    // Closing: the height shrinks to nothing before the width does. The frame that
    // ended the showing took the first row, the one taking the last row a column.
    const int body = panel.Body();
    EXPECT_EQ(FramesUntil(panel, [&] {
                  EXPECT_TRUE(panel.Rows == 0 || panel.Cols == 58);
                  return panel.Current == 1;
              }),
              68 + 57);
    EXPECT_NE(panel.Body(), body);
    EXPECT_FALSE(Opened);
    EXPECT_FALSE(panel.StepPanel());
}

TEST(PanelState, TenBodiesPerCycleThenANewOrder)
{
    ShuffleSeed = NextSeed;
    TDrawMsg panel;
    panel.Create("no blocks", "");
    ASSERT_TRUE(panel.DescOn);  // empty entries still get their frame
    panel.WaitFrames = panel.ShowFrames = 1;
    std::vector<int> shown;
    for (int panels = 0; panels < 20; ++panels) {
        shown.push_back(panel.Body());
        const int opening = FramesUntil(panel, [] { return Opened; });
        EXPECT_EQ(TargetRows, 9);
        EXPECT_EQ(opening, 58 + 9 - 1);
        FramesUntil(panel, [&] { return !Opened; });
        EXPECT_EQ(VisibleLines, 0);
    }
    const std::vector<int> first(shown.begin(), shown.begin() + 10), second(shown.begin() + 10, shown.end());
    for (std::vector<int> cycle : {first, second}) {
        std::sort(cycle.begin(), cycle.end());
        EXPECT_EQ(cycle, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    }
    EXPECT_NE(first, second);
}

TEST(PanelState, MessagePhasesAndOrder)
{
    TDrawMsg panel;
    panel.Create("", "one\r\ntwo\r\nsix\r\n");
    ASSERT_TRUE(panel.MsgOn);
    // Run lengths of the phase each frame advances, with the message shown.
    std::vector<std::pair<std::string, int>> runs;
    for (int frame = 0; frame < 3316; ++frame) {
        const TMsgDesc& m = panel.Msg;
        const std::string phase = m.Starting ? "delay" : m.Holding ? "hold" : m.Pausing ? "pause" : m.FadingOut ? "out" : "in";
        const std::string key = phase + std::to_string(m.Current);
        if (runs.empty() || runs.back().first != key) runs.emplace_back(key, 0);
        ++runs.back().second;
        ASSERT_TRUE(panel.StepMessage());
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {"delay0", 500}, {"in0", 101}, {"hold0", 201}, {"out0", 102}, {"pause0", 500},
        {"in1", 102},    {"hold1", 201}, {"out1", 102}, {"pause1", 500},  // later fade-ins start below 0
        {"in2", 102},    {"hold2", 201}, {"out2", 102}, {"pause2", 500}, {"in0", 102},
    };
    EXPECT_EQ(runs, expected);
}

} // namespace
