// The built Astrolume.scr started as the screen-saver host starts it, watched
// from outside: its windows, its message boxes, its exit code.
#include "common/Settings.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <list>

namespace {

// Copies of the program in a folder of its own, run against an empty settings key
// (no "Path"); the mouse pointer is put back where it was (a running saver moves it).
class EndToEnd : public ::testing::Test {
protected:
    EndToEnd() { EXPECT_TRUE(probe::CopyInto(probe::Argument("program"), folder.path())); }
    void SetUp() override { GetCursorPos(&pointer); }
    void TearDown() override { SetCursorPos(pointer.x, pointer.y); }

    // A data library beside the program: a folder of the test data, or "" for the program's own.
    void InstallLibrary(const std::string& from)
    {
        const std::string program = probe::Argument("program");
        const std::string folderOf = from.empty() ? program.substr(0, program.find_last_of('\\'))
                                                  : probe::Argument("testdata") + "\\" + from;
        ASSERT_TRUE(probe::CopyInto(folderOf + "\\duzidad.dll", folder.path()));
    }
    probe::ChildProcess& Start(const std::string& arguments)
    {
        auto& process = processes.emplace_back(folder / "Astrolume.scr", arguments);
        EXPECT_TRUE(process.started()) << arguments;
        return process;
    }

    probe::ScratchRegistryKey settings{SettingsKey};
    probe::TempFolder folder;
    std::list<probe::ChildProcess> processes;
    POINT pointer{};
};

// Once its last window has gone the process ends with code 0, showing nothing more.
void ExpectQuietEnd(probe::ChildProcess& process, HWND last = nullptr)
{
    ASSERT_TRUE(probe::WaitUntilGone(last, 20000));
    bool sawWindow = false;
    const auto code = probe::WaitWithoutWindows(process, 20000, sawWindow);
    ASSERT_TRUE(code.has_value()) << "still running";
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(sawWindow) << "a window appeared";
}

// Reads each expected box, closes it with OK and waits until it has gone; the
// untitled wait dialog is passed by.
void CloseBoxes(probe::ChildProcess& saver, std::initializer_list<const char*> texts)
{
    for (const char* text : texts) {
        auto box = probe::WaitForDialog(saver.id(), 30000);
        for (; box && box->caption.empty(); box = probe::WaitForDialog(saver.id(), 30000))
            ASSERT_TRUE(probe::WaitUntilGone(box->window, 30000));
        ASSERT_TRUE(box.has_value()) << "no box for " << text;
        EXPECT_EQ(box->caption, "Error");
        EXPECT_EQ(box->text, text);
        ASSERT_TRUE(probe::PressButton(box->window, IDOK) && probe::WaitUntilGone(box->window, 10000));
    }
}

TEST_F(EndToEnd, RunModeErrorsShowTheirBoxesAndEnd)
{
    // Without a library the search asks for its folder; cancelled, one box follows.
    auto& saver = Start("/s");
    const auto search = probe::WaitForFolderDialog(saver.id(), 20000);
    ASSERT_TRUE(search && probe::PressButton(*search, IDCANCEL) && probe::WaitUntilGone(*search, 10000));
    CloseBoxes(saver, {"Error of the loading the library 'duzidad.dll or bass.dll'\nProgram terminate!"});
    ExpectQuietEnd(saver);
    // A picture missing from the library: two boxes; the window goes only with the process.
    InstallLibrary("scene-missing");
    auto& missing = Start("/s");
    CloseBoxes(missing, {"Error when loading the textures.", "Can't create window"});
    ExpectQuietEnd(missing, probe::WaitForWindowOfClass(missing.id(), "Astrolume", 0));
}

TEST_F(EndToEnd, UnknownLettersEndWithoutAnyWindowAndConfigurationEndsAfterOk)
{
    InstallLibrary("v272");
    for (const char* arguments : {"/x", "/"}) {
        SCOPED_TRACE(arguments);
        ExpectQuietEnd(Start(arguments));
    }
    // An empty quoted argument counts as no argument; a handle after "/c:" is not used.
    for (const char* arguments : {"/c", "", "\"\"", "/c:1234"}) {
        auto& saver = Start(arguments);
        HWND dialog = probe::WaitForWindow(saver.id(), "Astrolume Configuration", 20000);
        ASSERT_NE(dialog, nullptr) << "no configuration dialog for " << arguments;
        ASSERT_TRUE(probe::PressButton(dialog, IDOK));
        ExpectQuietEnd(saver, dialog);
    }
}

// The saver window once its caption shows a measured frame rate; null if none.
HWND WaitForScene(probe::ChildProcess& saver)
{
    HWND window = probe::WaitForWindowOfClass(saver.id(), "Astrolume", 60000);
    // NOTE: nothing signals a caption change in another process: look again and again.
    for (int tries = 0; window && tries < 600; ++tries, Sleep(100))
        if (probe::CaptionOf(window).rfind("Astrolume - FPS = ", 0) == 0) return window;
    return nullptr;
}

TEST_F(EndToEnd, WaitDialogThenTheFullScreenSceneAndF4BothWays)
{
    InstallLibrary("");  // the program's own library, whose large pictures take a while
    auto& saver = Start("/s");
    const auto wait = probe::WaitForDialog(saver.id(), 30000);
    ASSERT_TRUE(wait.has_value()) << "no wait dialog";
    EXPECT_NE(FindWindowExA(wait->window, nullptr, "Static", "Loading the textures. Wait"), nullptr);
    HWND window = WaitForScene(saver);
    EXPECT_FALSE(IsWindow(wait->window));
    // Full screen (no caption bar); F4 makes it again framed, F4 once more full
    // screen, and then the window is closed.
    for (int step = 0; step < 3; ++step) {
        ASSERT_NE(window, nullptr) << "no saver window with its frame rate at step " << step;
        EXPECT_EQ((GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION, step == 1);
        ASSERT_TRUE(PostMessageA(window, step < 2 ? WM_KEYDOWN : WM_CLOSE, VK_F4, 1));
        ASSERT_TRUE(probe::WaitUntilGone(window, 20000));
        if (step < 2) window = WaitForScene(saver);
    }
    ExpectQuietEnd(saver);
}

TEST_F(EndToEnd, EscAndAClickEndTheSaverAndSpaceOpensTheConfiguration)
{
    InstallLibrary("scene");
    for (const auto& [message, key] : {std::pair<UINT, WPARAM>{WM_KEYDOWN, VK_ESCAPE}, {WM_LBUTTONDOWN, 0},
                                       {WM_KEYDOWN, VK_SPACE}}) {
        SCOPED_TRACE(key);
        auto& saver = Start("/s");
        HWND window = probe::WaitForWindowOfClass(saver.id(), "Astrolume", 30000);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(PostMessageA(window, message, key, 1));
        if (key == VK_SPACE) {
            // The configuration comes after the saver window has gone.
            HWND dialog = probe::WaitForWindow(saver.id(), "Astrolume Configuration", 20000);
            ASSERT_NE(dialog, nullptr) << "no configuration dialog";
            EXPECT_FALSE(IsWindow(window));
            ASSERT_TRUE(probe::PressButton(dialog, IDCANCEL));
            window = dialog;
        }
        ExpectQuietEnd(saver, window);
    }
}

// Preview waits while the host's window is hidden, draws once it is shown and
// ends; a handle that names no window any more ends it instead of waiting for ever.
TEST_F(EndToEnd, PreviewWaitsForAHiddenHostAndGivesUpOnAGoneOne)
{
    InstallLibrary("");
    for (bool shown : {true, false}) {
        HWND host = CreateWindowExA(WS_EX_TOOLWINDOW, "Static", "", WS_POPUP, 40, 40, 160, 90, nullptr, nullptr,
                                    nullptr, nullptr);
        auto& preview = Start("/p " + std::to_string(reinterpret_cast<INT_PTR>(host)));
        EXPECT_FALSE(preview.Wait(1500).has_value()) << "did not wait for the hidden host";
        if (shown) ShowWindow(host, SW_SHOWNOACTIVATE);
        else DestroyWindow(host);
        ExpectQuietEnd(preview);
        DestroyWindow(host);
    }
}

} // namespace
