// The built Astrolume.scr started as the screen-saver host starts it, watched
// from outside: its windows, its message boxes, its exit code.
#include "common/Settings.h"
#include "resources/ResourceIds.h"
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
    // Unknown letters end at once; preview and password modes are not built
    // yet and end at once too.
    for (const char* arguments : {"/x", "/", "/p 1234", "/a 1234"}) {
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

TEST(EndToEnd, ConfigurationModeShowsTheDialogUntilItIsClosed)
{
    // The data library beside the program: no folder question comes first.
    Installed installed("v272");
    probe::ScratchRegistryKey scratch(SettingsKey);
    // An empty quoted argument counts as no argument.
    for (const char* arguments : {"/c", "", "\"\"", "c", "/c:1234", "-C"}) {
        SCOPED_TRACE(arguments);
        probe::ChildProcess saver(installed.program, arguments);
        ASSERT_TRUE(saver.started());
        HWND dialog = probe::WaitForWindow(saver.id(), "Astrolume Configuration", 20000);
        ASSERT_NE(dialog, nullptr) << "no configuration dialog";
        EXPECT_EQ(probe::VisibleWindowsOf(saver.id()).size(), 1u);
        ASSERT_TRUE(probe::PressButton(dialog, IDCANCEL));
        auto code = saver.Wait(20000);
        ASSERT_TRUE(code.has_value()) << "still running after the dialog was closed";
        EXPECT_EQ(*code, 0u);
    }
}

TEST(EndToEnd, ConfigurationOkWritesTheRegistry)
{
    Installed installed("v272");
    probe::ScratchRegistryKey scratch(SettingsKey);
    probe::ChildProcess saver(installed.program, "/c");
    ASSERT_TRUE(saver.started());
    HWND dialog = probe::WaitForWindow(saver.id(), "Astrolume Configuration", 20000);
    ASSERT_NE(dialog, nullptr);
    // Opening stored the defaults (a first start).
    auto values = probe::ReadRegValues(SettingsKey);
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(values->size(), 16u);

    SendMessageA(GetDlgItem(dialog, IDC_SETTING_OPTIONS), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(dialog, IDC_QUALITY), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("45"));
    SendMessageA(GetDlgItem(dialog, IDC_MOUSE_MOVE), BM_CLICK, 0, 0);
    ASSERT_TRUE(probe::PressButton(dialog, IDOK));
    auto code = saver.Wait(20000);
    ASSERT_TRUE(code.has_value()) << "still running after OK";
    EXPECT_EQ(*code, 0u);

    values = probe::ReadRegValues(SettingsKey);
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(values->at("DefaultSettings").Text(), "0");
    EXPECT_EQ(values->at("Quality").Text(), "45");
    EXPECT_EQ(values->at("MouseMove").Text(), "1");
    EXPECT_EQ(values->at("CamDistance").Text(), "25.0");
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
