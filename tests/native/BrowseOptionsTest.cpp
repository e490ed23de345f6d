// The folder dialog's tables: a root index or option bits outside them must never
// reach the shell as a stray value.
#include "support/BrowseOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(BrowseOptions, RootIndexIsTakenModulo128AndFallsBackToTheDesktop)
{
    const struct {
        std::uint8_t index;
        int csidl;
    } cases[] = {
        {0, 0x00}, {11, 0x0B}, {12, 0x10}, {17, 0x15},  // either side of the gap after the start menu
        {128, 0x00}, {145, 0x15},                        // modulo 128
        {18, 0x00}, {127, 0x00}, {255, 0x00},            // past the table
    };
    for (const auto& c : cases) EXPECT_EQ(BrowseRootFolder(c.index), c.csidl) << "index " << int(c.index);
}

TEST(BrowseOptions, FlagsComeFromTheFiveOptionBitsAndTheStatusLine)
{
    EXPECT_EQ(BrowseFlags(boReturnOnlyFSDirs | boBrowseForComputer, true), 0x1005u);  // the data search's
    EXPECT_EQ(BrowseFlags(0x1F, false), 0x300Bu);
    EXPECT_EQ(BrowseFlags(0xE0, false), 0u) << "bits past the five options";
}

} // namespace
