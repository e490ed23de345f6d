// The built Astrolume.scr started as the screen-saver host starts it, watched
// from outside: its windows, its message boxes, its exit code.
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

namespace {

// A copy of the program in a folder of its own, optionally with a data library beside it.
class Installed {
public:
    explicit Installed(const char* dataVariant = nullptr)
    {
        program = folder / "Astrolume.scr";
        EXPECT_TRUE(probe::CopyInto(probe::Argument("program"), folder.path()));
        if (dataVariant) {
            const std::string library = probe::Argument("testdata") + "\\" + dataVariant + "\\duzidad.dll";
            EXPECT_TRUE(probe::CopyInto(library, folder.path()));
        }
    }
    probe::TempFolder folder;
    std::string program;
};

TEST(EndToEnd, RunModeWithoutDataLibraryShowsOneErrorAndEnds)
{
    Installed installed;
    for (const char* argument : {"/s", "s", "-S", "xs"}) {
        SCOPED_TRACE(argument);
        probe::ChildProcess saver(installed.program, argument);
        ASSERT_TRUE(saver.started());
        auto box = probe::WaitForDialog(saver.id(), 20000);
        ASSERT_TRUE(box.has_value()) << "no error box";
        EXPECT_EQ(box->caption, "Error");
        EXPECT_EQ(box->text, "Error of the loading the library 'duzidad.dll or bass.dll'\nProgram terminate!");
        EXPECT_EQ(probe::VisibleWindowsOf(saver.id()).size(), 1u);
        ASSERT_TRUE(probe::PressButton(box->window, IDOK));
        ASSERT_TRUE(probe::WaitUntilGone(box->window, 10000));

        bool sawWindow = false;
        auto code = probe::WaitWithoutWindows(saver, 10000, sawWindow);
        ASSERT_TRUE(code.has_value()) << "still running after the box was closed";
        EXPECT_EQ(*code, 0u);
        EXPECT_FALSE(sawWindow) << "a second window appeared";
    }
}

TEST(EndToEnd, OtherArgumentsEndWithoutAnyWindow)
{
    Installed installed;
    // Unknown letters end at once; configuration, preview and password modes
    // are not built yet and end at once too.
    for (const char* arguments : {"/x", "/", "\"\"", "/c", "/c:1234", "", "c", "/p 1234", "/a 1234"}) {
        SCOPED_TRACE(arguments);
        probe::ChildProcess saver(installed.program, arguments);
        ASSERT_TRUE(saver.started());
        bool sawWindow = false;
        auto code = probe::WaitWithoutWindows(saver, 20000, sawWindow);
        ASSERT_TRUE(code.has_value()) << "did not end";
        EXPECT_EQ(*code, 0u);
        EXPECT_FALSE(sawWindow);
    }
}

TEST(EndToEnd, RunModeWithDataLibraryGoesPastTheLibraryCheck)
{
    Installed installed("v272");
    probe::ChildProcess saver(installed.program, "/s");
    ASSERT_TRUE(saver.started());
    bool sawWindow = false;
    auto code = probe::WaitWithoutWindows(saver, 20000, sawWindow);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(sawWindow) << "no error box when the library is there";
}

} // namespace
