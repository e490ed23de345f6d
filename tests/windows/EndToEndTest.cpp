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
        probe::SettleFolderTimes(folder.path());
    }
    probe::TempFolder folder;
    std::string program;
};

// Each test starts and ends with no "Path" stored, so none sees what another chose,
// and leaves the mouse pointer where it found it (a running saver may move it).
class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        probe::ClearStoredDataPath();
        GetCursorPos(&pointer);
    }
    void TearDown() override
    {
        probe::ClearStoredDataPath();
        SetCursorPos(pointer.x, pointer.y);
    }
    POINT pointer{};
};

// Waits for the folder dialog that asks for the data library, checks how it opens
// and cancels it.
void CancelDataFolderDialog(probe::ChildProcess& saver)
{
    auto dialog = probe::WaitForFolderDialog(saver.id(), 20000);
    ASSERT_TRUE(dialog.has_value()) << "no folder dialog";
    char caption[64] = {};
    GetWindowTextA(*dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "Select folder with data");
    EXPECT_EQ(probe::WaitForFolderDialogStatus(*dialog, "The Data file not found.", 5000), "The Data file not found.");
    EXPECT_FALSE(probe::WaitForFolderDialogOk(*dialog, false, 2000));
    ASSERT_TRUE(probe::PressButton(*dialog, IDCANCEL));
    ASSERT_TRUE(probe::WaitUntilGone(*dialog, 10000));
}

TEST_F(EndToEnd, RunModeWithoutDataLibraryAsksThenShowsOneErrorAndEnds)
{
    Installed installed;
    for (const char* argument : {"/s", "s", "-S", "xs"}) {
        SCOPED_TRACE(argument);
        probe::ChildProcess saver(installed.program, argument);
        ASSERT_TRUE(saver.started());
        CancelDataFolderDialog(saver);

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
    EXPECT_FALSE(probe::StoredDataPath().has_value()) << "a cancelled dialog stores nothing";
}

TEST_F(EndToEnd, OtherArgumentsEndWithoutAnyWindowAfterTheDataDialog)
{
    Installed installed;
    // Every mode looks for the data library first. Unknown letters end at once;
    // preview and password modes are not built yet and end at once too.
    for (const char* arguments : {"/x", "/", "/p 1234", "/a 1234"}) {
        SCOPED_TRACE(arguments);
        probe::ChildProcess saver(installed.program, arguments);
        ASSERT_TRUE(saver.started());
        CancelDataFolderDialog(saver);
        bool sawWindow = false;
        auto code = probe::WaitWithoutWindows(saver, 20000, sawWindow);
        ASSERT_TRUE(code.has_value()) << "did not end";
        EXPECT_EQ(*code, 0u);
        EXPECT_FALSE(sawWindow);
    }
}

TEST_F(EndToEnd, ConfigurationModeShowsTheDialogUntilItIsClosed)
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

TEST_F(EndToEnd, ConfigurationOkWritesTheRegistry)
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

TEST_F(EndToEnd, CancelledDataDialogStillLeadsToTheConfiguration)
{
    // The configuration dialog does not need the data library.
    Installed installed;
    probe::ChildProcess saver(installed.program, "/c");
    ASSERT_TRUE(saver.started());
    CancelDataFolderDialog(saver);
    HWND dialog = probe::WaitForWindow(saver.id(), "Astrolume Configuration", 20000);
    ASSERT_NE(dialog, nullptr) << "no configuration dialog after the cancelled search";
    ASSERT_TRUE(probe::PressButton(dialog, IDCANCEL));
    auto code = saver.Wait(20000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

// The saver window of a running saver; null when none appeared.
HWND WaitForSaver(probe::ChildProcess& saver)
{
    return probe::WaitForWindowOfClass(saver.id(), "Astrolume", 30000);
}

// Waits until the caption shows a measured frame rate.
bool WaitForFpsCaption(HWND window, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        const std::string caption = probe::CaptionOf(window);
        if (caption.rfind("Astrolume - FPS = ", 0) == 0 && caption.size() > 18) return true;
        Sleep(100);
    }
    return false;
}

TEST_F(EndToEnd, RunModeShowsTheWaitDialogThenTheSceneFullScreenAndEscEndsIt)
{
    // The program's own data library, whose large pictures take a while to load.
    Installed installed;
    const std::string program = probe::Argument("program");
    ASSERT_TRUE(probe::CopyInto(program.substr(0, program.find_last_of('\\')) + "\\duzidad.dll",
                                installed.folder.path()));
    probe::ChildProcess saver(installed.program, "/s");
    ASSERT_TRUE(saver.started());
    auto wait = probe::WaitForDialog(saver.id(), 30000);
    ASSERT_TRUE(wait.has_value()) << "no wait dialog";
    HWND notice = FindWindowExA(wait->window, nullptr, "Static", nullptr);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(probe::CaptionOf(notice), "Loading the textures. Wait");
    EXPECT_EQ(GetDlgCtrlID(notice), -1);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(wait->window, GWL_STYLE)) & (WS_POPUP | DS_MODALFRAME | WS_CAPTION),
              static_cast<DWORD>(WS_POPUP | DS_MODALFRAME));
    EXPECT_NE(static_cast<DWORD>(GetWindowLongA(wait->window, GWL_EXSTYLE)) & WS_EX_CLIENTEDGE, 0u);
    EXPECT_EQ(wait->caption, "");
    EXPECT_TRUE(probe::WaitUntilGone(wait->window, 60000)) << "the wait dialog stayed";
    HWND window = WaitForSaver(saver);
    ASSERT_NE(window, nullptr) << "no saver window";
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              static_cast<DWORD>(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(style & WS_CAPTION, 0u);
    RECT rect;
    ASSERT_TRUE(GetWindowRect(window, &rect));
    EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(WaitForFpsCaption(window, 20000)) << probe::CaptionOf(window);

    ASSERT_TRUE(PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1));
    // Esc ends without any message box.
    EXPECT_FALSE(probe::WaitForDialog(saver.id(), 1000).has_value());
    auto code = saver.Wait(20000);
    ASSERT_TRUE(code.has_value()) << "Esc did not end the saver";
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(probe::StoredDataPath().has_value()) << "a library beside the program is not remembered";
}

TEST_F(EndToEnd, FolderChosenInTheDialogIsRememberedForTheNextStart)
{
    Installed installed;
    probe::TempFolder data;
    ASSERT_TRUE(probe::CopyInto(probe::Argument("testdata") + "\\scene\\duzidad.dll", data.path()));
    probe::SettleFolderTimes(data.path());

    {
        probe::ChildProcess saver(installed.program, "/s");
        ASSERT_TRUE(saver.started());
        auto dialog = probe::WaitForFolderDialog(saver.id(), 20000);
        ASSERT_TRUE(dialog.has_value()) << "no folder dialog";
        ASSERT_TRUE(probe::SelectFolder(*dialog, data.path()));
        EXPECT_EQ(probe::WaitForFolderDialogStatus(*dialog, "The Data file found.", 5000), "The Data file found.");
        ASSERT_TRUE(probe::WaitForFolderDialogOk(*dialog, true, 5000));
        ASSERT_TRUE(probe::PressButton(*dialog, IDOK));
        ASSERT_TRUE(probe::WaitUntilGone(*dialog, 10000));

        // With the library loaded, run mode goes on to the scene.
        HWND window = WaitForSaver(saver);
        ASSERT_NE(window, nullptr) << "no saver window after a confirmed folder";
        ASSERT_TRUE(PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1));
        auto code = saver.Wait(20000);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0u);
    }
    const auto stored = probe::StoredDataPath();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(lstrcmpiA(stored->c_str(), data.path().c_str()), 0) << *stored;

    // The next start uses the remembered folder without asking.
    probe::ChildProcess again(installed.program, "/s");
    ASSERT_TRUE(again.started());
    HWND window = WaitForSaver(again);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(probe::WaitForFolderDialog(again.id(), 0).has_value());
    ASSERT_TRUE(PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1));
    ASSERT_TRUE(again.Wait(20000).has_value());
}

TEST_F(EndToEnd, RunModeEndsOnAClickAndOnSpaceAndTogglesOnF4)
{
    Installed installed("scene");
    struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        bool opensConfiguration;
    } const endings[] = {{"click", WM_LBUTTONDOWN, 0, false},
                         {"space", WM_KEYDOWN, VK_SPACE, true},
                         {"close", WM_CLOSE, 0, false}};
    for (auto ending : endings) {
        SCOPED_TRACE(ending.name);
        probe::ChildProcess saver(installed.program, "/s");
        ASSERT_TRUE(saver.started());
        HWND window = WaitForSaver(saver);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(PostMessageA(window, ending.message, ending.wParam, 1));
        if (ending.opensConfiguration) {
            // Space ends the saver and opens the configuration dialog, after the
            // saver window is gone.
            HWND dialog = probe::WaitForWindow(saver.id(), "Astrolume Configuration", 20000);
            ASSERT_NE(dialog, nullptr) << "no configuration dialog after space";
            EXPECT_FALSE(IsWindow(window));
            ASSERT_TRUE(probe::PressButton(dialog, IDCANCEL));
        }
        auto code = saver.Wait(20000);
        ASSERT_TRUE(code.has_value()) << "did not end";
        EXPECT_EQ(*code, 0u);
        EXPECT_TRUE(probe::VisibleWindowsOf(saver.id()).empty());
    }

    // F4: the window is made again framed, and F4 once more makes it full screen.
    probe::ChildProcess saver(installed.program, "/s");
    ASSERT_TRUE(saver.started());
    HWND window = WaitForSaver(saver);
    ASSERT_NE(window, nullptr);
    for (bool framed : {true, false}) {
        SCOPED_TRACE(framed);
        ASSERT_TRUE(PostMessageA(window, WM_KEYDOWN, VK_F4, 1));
        ASSERT_TRUE(probe::WaitUntilGone(window, 20000));
        window = WaitForSaver(saver);
        ASSERT_NE(window, nullptr);
        const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
        EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, framed);
        EXPECT_EQ((style & WS_POPUP) != 0, !framed);
        EXPECT_TRUE(WaitForFpsCaption(window, 20000));
    }
    ASSERT_TRUE(PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1));
    ASSERT_TRUE(saver.Wait(20000).has_value());
}

TEST_F(EndToEnd, RunModeWithAMissingPictureEndsWithTwoMessages)
{
    Installed installed("scene-missing");
    probe::ChildProcess saver(installed.program, "/s");
    ASSERT_TRUE(saver.started());
    const char* expected[] = {"Error when loading the textures.", "Can't create window"};
    for (const char* text : expected) {
        std::optional<probe::DialogText> box;
        const DWORD start = GetTickCount();
        // The wait dialog may still be closing when the first box comes.
        while (GetTickCount() - start < 30000) {
            box = probe::WaitForDialog(saver.id(), 30000);
            if (!box || !box->caption.empty()) break;  // not the untitled wait dialog
            Sleep(50);
        }
        ASSERT_TRUE(box.has_value()) << text;
        EXPECT_EQ(box->caption, "Error");
        EXPECT_EQ(box->text, text);
        ASSERT_TRUE(probe::PressButton(box->window, IDOK));
        ASSERT_TRUE(probe::WaitUntilGone(box->window, 10000));
    }
    auto code = saver.Wait(20000);
    ASSERT_TRUE(code.has_value()) << "still running after the two messages";
    EXPECT_EQ(*code, 0u);
}

// A window standing in for the host's little preview monitor.
class PreviewHost {
public:
    PreviewHost()
    {
        WNDCLASSA type{};
        type.lpfnWndProc = DefWindowProcA;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "AstrolumePreviewHost";
        RegisterClassA(&type);
        window = CreateWindowExA(WS_EX_TOOLWINDOW, type.lpszClassName, "preview host", WS_POPUP, 40, 40, 160, 90,
                                 nullptr, nullptr, type.hInstance, nullptr);
    }
    ~PreviewHost()
    {
        DestroyWindow(window);
        UnregisterClassA("AstrolumePreviewHost", GetModuleHandleA(nullptr));
    }
    HWND window = nullptr;
};

// NOTE: what another process draws into a window does not show in this
// process's reads of it under Wine, so the picture itself is not checked here.
TEST_F(EndToEnd, PreviewDrawsOnceTheHostIsShownAndEnds)
{
    Installed installed;
    const std::string program = probe::Argument("program");
    ASSERT_TRUE(probe::CopyInto(program.substr(0, program.find_last_of('\\')) + "\\duzidad.dll",
                                installed.folder.path()));
    PreviewHost host;
    ASSERT_NE(host.window, nullptr);
    probe::ChildProcess preview(installed.program, "/p " + std::to_string(reinterpret_cast<INT_PTR>(host.window)));
    ASSERT_TRUE(preview.started());
    EXPECT_FALSE(preview.Wait(1500).has_value()) << "ended before the host window was shown";
    ShowWindow(host.window, SW_SHOWNOACTIVATE);
    auto code = preview.Wait(20000);
    ASSERT_TRUE(code.has_value()) << "preview did not end once the host was shown";
    EXPECT_EQ(*code, 0u);
}

TEST_F(EndToEnd, PreviewWaitsForAHiddenHostAndGivesUpOnAGoneOne)
{
    Installed installed("v272");
    PreviewHost host;
    ASSERT_NE(host.window, nullptr);
    probe::ChildProcess preview(installed.program, "/p " + std::to_string(reinterpret_cast<INT_PTR>(host.window)));
    ASSERT_TRUE(preview.started());
    EXPECT_FALSE(preview.Wait(1500).has_value()) << "stopped waiting for the hidden host";
    // A handle that names no window any more ends preview mode instead of waiting for ever.
    DestroyWindow(host.window);
    auto code = preview.Wait(20000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

} // namespace
