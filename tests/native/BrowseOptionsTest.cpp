#include "support/BrowseOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(BrowseOptions, EachOptionBitMapsToItsShellFlag)
{
    const struct {
        std::uint8_t options;
        bool status;
        std::uint32_t flags;
    } cases[] = {
        {0, false, 0},
        {0, true, 0x0004},
        {boReturnOnlyFSDirs, false, 0x0001},
        {boDontGoBelowDomain, false, 0x0002},
        {boReturnFSAncestors, false, 0x0008},
        {boBrowseForComputer, false, 0x1000},
        {boBrowseForPrinter, false, 0x2000},
        {boReturnOnlyFSDirs | boBrowseForComputer, true, 0x1005}, // what the data search asks for
        {0x1F, true, 0x300F},
        // Bits beyond the five options are ignored, and the status flag never
        // comes from them.
        {0xE0, false, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BrowseFlags(c.options, c.status), c.flags) << "options " << int(c.options);
}

TEST(BrowseOptions, RootIndexNamesItsSpecialFolder)
{
    const struct {
        std::uint8_t index;
        int csidl;
    } cases[] = {
        {0, 0x00}, {1, 0x01}, {11, 0x0B}, {12, 0x10}, {13, 0x11}, {17, 0x15},
        {128, 0x00}, {129, 0x01}, {145, 0x15},  // taken modulo 128
        {18, 0x00}, {127, 0x00}, {255, 0x00},   // past the table: the desktop, never a stray value
    };
    for (const auto& c : cases) EXPECT_EQ(BrowseRootFolder(c.index), c.csidl) << "index " << int(c.index);
}

TEST(BrowseOptions, OneTrailingBackslashIsRemoved)
{
    EXPECT_EQ(WithoutTrailingBackslash("C:\\Data\\"), "C:\\Data");
    EXPECT_EQ(WithoutTrailingBackslash("C:\\Data"), "C:\\Data");
    EXPECT_EQ(WithoutTrailingBackslash("C:\\Data\\\\"), "C:\\Data\\");
    EXPECT_EQ(WithoutTrailingBackslash("C:\\"), "C:");
    EXPECT_EQ(WithoutTrailingBackslash("\\"), "");
    EXPECT_EQ(WithoutTrailingBackslash(""), "");
}

} // namespace
