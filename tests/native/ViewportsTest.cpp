#include "scene/Viewports.h"

#include <gtest/gtest.h>

namespace {

// Desktop rectangles (y down, the primary at 0,0) to GL viewports (y up from the
// client area's bottom), the primary's first whatever order Windows lists them in.
TEST(Viewports, EachMonitorGetsItsPartOfTheClientAreaPrimaryFirst)
{
    using V = std::vector<TViewport>;
    const struct { const char* layout; std::vector<TScreenRect> monitors; TScreenRect client; V expected; } cases[] = {
        {"primary right", {{-800, 0, 0, 600}, {0, 0, 800, 600}}, {-800, 0, 800, 600},
         V{{800, 0, 800, 600}, {0, 0, 800, 600}}},
        {"smaller one above right", {{1920, -200, 2944, 568}, {0, 0, 1920, 1080}}, {0, -200, 2944, 1080},
         V{{0, 0, 1920, 1080}, {1920, 512, 1024, 768}}},
        {"window on part of one", {{0, 0, 1600, 900}, {1600, 0, 2400, 900}}, {100, 100, 900, 700}, V{{0, 0, 800, 600}}},
    };
    for (const auto& c : cases) EXPECT_EQ(MonitorViewports(c.monitors, c.client), c.expected) << c.layout;
}

} // namespace
