// A root index outside the folder dialog's table must never reach the shell as a
// stray folder.
#include "support/BrowseOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(BrowseOptions, RootIndexIsTakenModulo128AndFallsBackToTheDesktop)
{
    const struct { std::uint8_t index; int csidl; } cases[] = {
        {0, 0x00}, {11, 0x0B}, {12, 0x10}, {17, 0x15},  // either side of the gap after the start menu
        {128, 0x00}, {145, 0x15},                        // modulo 128
        {18, 0x00}, {127, 0x00}, {255, 0x00},            // past the table
    };
    for (const auto& c : cases) EXPECT_EQ(BrowseRootFolder(c.index), c.csidl) << "index " << int(c.index);
}

} // namespace
