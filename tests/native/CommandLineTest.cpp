#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Whole command lines as the host passes them: the mode and the window handle.
TEST(CommandLine, LetterIsTheArgumentOrItsSecondCharacter)
{
    using Case = std::tuple<const char*, SaverMode, std::int32_t>;
    for (const auto& [commandLine, mode, handle] : std::initializer_list<Case>{
             // no argument, or only empty ones
             {"", SaverMode::Configure, 0}, {"Astrolume.scr", SaverMode::Configure, 0},
             {"a.scr \"\"", SaverMode::Configure, 0}, {"a.scr  \t ", SaverMode::Configure, 0},
             // the forms hosts and users give
             {"\"C:\\Program Files\\Astrolume.scr\" /s", SaverMode::Run, 0}, {"a.scr s", SaverMode::Run, 0},
             {"a.scr -S", SaverMode::Run, 0}, {"a.scr xs", SaverMode::Run, 0}, {"a.scr \"\" /s", SaverMode::Run, 0},
             {"a.scr c", SaverMode::Configure, 0}, {"a.scr -C", SaverMode::Configure, 0},
             {"a.scr /c:1234", SaverMode::Configure, 0}, {"a.scr /p 1234", SaverMode::Preview, 1234},
             {"a.scr /P $1F", SaverMode::Preview, 0x1F}, {"a.scr A 0x10", SaverMode::Password, 16},
             // malformed: no mode, or the valid prefix of the handle
             {"a.scr /x", SaverMode::None, 0}, {"a.scr /", SaverMode::None, 0}, {"a.scr s/", SaverMode::None, 0},
             {"a.scr /p 12ab", SaverMode::Preview, 12}, {"a.scr /p window", SaverMode::Preview, 0},
             {"a.scr /p", SaverMode::Preview, 0}, {"a.scr /a 99999999999", SaverMode::Password, 999999999},
             // hosts write handles unsigned: the same 32 bits as Windows sign-extends
             {"a.scr /p 2147483664", SaverMode::Preview, INT32_MIN + 16},
             {"a.scr /p 4294967295", SaverMode::Preview, -1},
             {"a.scr /p 4294967296", SaverMode::Preview, 429496729}, {"a.scr /p 2147483664x", SaverMode::Preview, 214748366},
             {"a.scr \"/p\" \"12 34\"", SaverMode::Preview, 12}}) {
        const auto arguments = SplitCommandLine(commandLine);
        EXPECT_EQ(SelectMode(arguments), mode) << commandLine;
        EXPECT_EQ(WindowHandleArgument(arguments), handle) << commandLine;
    }
    // The configuration dialog's owner comes after "/c:" or as the second argument.
    for (const auto& [commandLine, owner] : std::initializer_list<std::pair<const char*, std::int32_t>>{
             {"a.scr /c:1234", 1234}, {"a.scr /c:3000000000", -1294967296}, {"a.scr /c 77", 77}, {"a.scr /c", 0},
             {"a.scr", 0}})
        EXPECT_EQ(ConfigOwnerArgument(SplitCommandLine(commandLine)), owner) << commandLine;
}

} // namespace
