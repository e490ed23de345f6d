#include "scene/Viewports.h"

#include <gtest/gtest.h>

namespace {

// Desktop rectangles (y down, the primary at 0,0) to GL viewports (y up from the
// client area's bottom), the primary's first whatever order Windows lists them in.
// Full screen the window is `placed` over them all, or over one in the desktop mode.
TEST(Viewports, EachMonitorGetsItsPartOfTheClientAreaPrimaryFirst)
{
    using V = std::vector<TViewport>;
    const struct { const char* layout; std::vector<TScreenRect> monitors; TScreenRect client; V expected; bool placed; } cases[] = {
        {"primary right", {{-800, 0, 0, 600}, {0, 0, 800, 600}}, {-800, 0, 800, 600},
         V{{800, 0, 800, 600}, {0, 0, 800, 600}}, true},
        {"smaller one above right", {{1920, -200, 2944, 568}, {0, 0, 1920, 1080}}, {0, -200, 2944, 1080},
         V{{0, 0, 1920, 1080}, {1920, 512, 1024, 768}}, true},
        {"window on part of one", {{0, 0, 1600, 900}, {1600, 0, 2400, 900}}, {100, 100, 900, 700}, V{{0, 0, 800, 600}}, false},
        {"one", {{0, 0, 1920, 1080}}, {0, 0, 1920, 1080}, V{{0, 0, 1920, 1080}}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MonitorViewports(c.monitors, c.client), c.expected) << c.layout;
        const TScenePlacement full = PlaceScene(true, {640, 480, 32}, {1920, 1080, 24}, c.monitors);
        EXPECT_TRUE(!c.placed || (full.client == c.client && full.views == c.expected)) << c.layout;
    }
}

} // namespace
