#include "shell/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, ProgramNameIsSkippedQuotedOrNot)
{
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\Astrolume.scr\" /s"), Args{"/s"});
    EXPECT_EQ(SplitCommandLine("C:\\Windows\\Astrolume.scr /p 1234"), (Args{"/p", "1234"}));
    EXPECT_EQ(SplitCommandLine("Astrolume.scr"), Args{});
    EXPECT_EQ(SplitCommandLine(""), Args{});
}

TEST(SplitCommandLine, EmptyArgumentsDoNotCount)
{
    EXPECT_EQ(SplitCommandLine("a.scr \"\""), Args{});
    EXPECT_EQ(SplitCommandLine("a.scr \"\" /s"), Args{"/s"});
    EXPECT_EQ(SplitCommandLine("a.scr   \t  "), Args{});
}

TEST(SplitCommandLine, QuotesAndBackslashes)
{
    EXPECT_EQ(SplitCommandLine("a.scr \"two words\" x"), (Args{"two words", "x"}));
    EXPECT_EQ(SplitCommandLine("a.scr C:\\dir\\ next"), (Args{"C:\\dir\\", "next"}));
    EXPECT_EQ(SplitCommandLine("a.scr \\\"q\\\\\"r s\""), (Args{"\"q\\r s"}));
    EXPECT_EQ(SplitCommandLine("a.scr \"say \"\"hi\"\"\""), Args{"say \"hi\""});
    EXPECT_EQ(SplitCommandLine("a.scr \"unterminated arg"), Args{"unterminated arg"});
}

TEST(SelectMode, LetterIsTheArgumentOrItsSecondCharacter)
{
    struct Case {
        Args arguments;
        SaverMode mode;
    };
    const Case cases[] = {
        {{}, SaverMode::Configure},
        {{"c"}, SaverMode::Configure},
        {{"/c"}, SaverMode::Configure},
        {{"-C"}, SaverMode::Configure},
        {{"/c:1234"}, SaverMode::Configure},
        {{"s"}, SaverMode::Run},
        {{"/s"}, SaverMode::Run},
        {{"-S"}, SaverMode::Run},
        {{"xs"}, SaverMode::Run},
        {{"/p", "1234"}, SaverMode::Preview},
        {{"/P"}, SaverMode::Preview},
        {{"/a", "1234"}, SaverMode::Password},
        {{"A"}, SaverMode::Password},
        {{"/x"}, SaverMode::None},
        {{"/"}, SaverMode::None},
        {{"/sx"}, SaverMode::Run},
        {{"s/"}, SaverMode::None},
    };
    for (const Case& c : cases) {
        const std::string shown = c.arguments.empty() ? "(none)" : c.arguments[0];
        EXPECT_EQ(SelectMode(c.arguments), c.mode) << shown;
    }
}

TEST(WindowHandleArgument, ReadsTheSecondArgument)
{
    EXPECT_EQ(WindowHandleArgument({"/p", "1234"}), 1234);
    EXPECT_EQ(WindowHandleArgument({"/p", "  $1F"}), 0x1F);
    EXPECT_EQ(WindowHandleArgument({"/a", "0x10"}), 16);
    EXPECT_EQ(WindowHandleArgument({"/p", "12ab"}), 12);
    EXPECT_EQ(WindowHandleArgument({"/p", "window"}), 0);
    EXPECT_EQ(WindowHandleArgument({"/p"}), 0);
    EXPECT_EQ(WindowHandleArgument({}), 0);
}

} // namespace
