// The built Astrolume.scr started as the screen-saver host starts it, watched from outside.
#include "common/Settings.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <list>
#include <string>

using namespace std::string_literals;

namespace {

// Copies of the program in a folder of its own, run against an empty settings key
// (no "Path"); the mouse pointer is put back where it was (a running saver moves it).
class EndToEnd : public ::testing::Test {
protected:
    EndToEnd() { EXPECT_TRUE(probe::CopyInto(probe::Argument("program"), folder.path())); }
    void SetUp() override { GetCursorPos(&pointer); }
    void TearDown() override { SetCursorPos(pointer.x, pointer.y); }

    // A data library beside the program: from a folder of the test data, or "" for its own.
    void InstallLibrary(const std::string& from)
    {
        const std::string program = probe::Argument("program");
        const std::string source = from.empty() ? program.substr(0, program.find_last_of('\\'))
                                                : probe::Argument("testdata") + "\\" + from;
        ASSERT_TRUE(probe::CopyInto(source + "\\duzidad.dll", folder.path()));
    }
    probe::ChildProcess& Start(const std::string& arguments)
    {
        auto& process = processes.emplace_back(folder / "Astrolume.scr", arguments);
        EXPECT_NE(process.id(), 0u) << arguments;
        return process;
    }

    probe::ScratchRegistryKey settings{SettingsKey};
    probe::TempFolder folder;
    std::list<probe::ChildProcess> processes;
    POINT pointer{};
};

// Handles this thread's messages (the host window is the test's own) until
// `done` holds or `milliseconds` have passed; the last `done()`.
template <typename Done>
bool PumpUntil(DWORD milliseconds, Done done)
{
    const DWORD start = GetTickCount();
    for (bool result = done();; result = done()) {
        if (result || GetTickCount() - start >= milliseconds) return result;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
    }
}

// Once its last window has gone the process ends with code 0, showing nothing more.
void ExpectQuietEnd(probe::ChildProcess& process, HWND last = nullptr)
{
    bool sawWindow = false;
    ASSERT_TRUE(probe::WaitUntilGone(last, 20000));
    EXPECT_EQ(probe::WaitWithoutWindows(process, 20000, sawWindow), 0u) << "the exit code, if it ended";
    EXPECT_FALSE(sawWindow) << "a window appeared";
}

HWND SaverWindowOf(probe::ChildProcess& saver)
{
    return probe::WaitForWindowWhere(saver.id(), 0, [](HWND window) { return probe::ClassOf(window) == "Astrolume"; });
}

// Reads each expected box and closes it with OK, passing the untitled wait dialog
// by. No saver window stands behind a box: a full-screen one would hide it.
void CloseBoxes(probe::ChildProcess& saver, std::initializer_list<const char*> texts)
{
    for (const char* text : texts) {
        auto box = probe::WaitForDialog(saver.id(), 30000);
        for (; box && box->caption.empty(); box = probe::WaitForDialog(saver.id(), 30000))
            ASSERT_TRUE(probe::WaitUntilGone(box->window, 30000));
        ASSERT_TRUE(box.has_value()) << "no box for " << text;
        EXPECT_EQ(box->caption + ": " + box->text, "Error: "s + text);
        EXPECT_EQ(SaverWindowOf(saver), nullptr) << "the saver window still stands behind " << text;
        HWND above = box->window;
        while ((above = GetWindow(above, GW_HWNDPREV)) != nullptr && !IsWindowVisible(above)) {}
        EXPECT_EQ(above, nullptr) << probe::TextOf(above) << " stands above " << text;
        ASSERT_TRUE(probe::PressButton(box->window, IDOK) && probe::WaitUntilGone(box->window, 10000));
    }
}

TEST_F(EndToEnd, RunModeErrorsShowTheirBoxesAndOtherCommandLinesEndQuietly)
{
    // Without a library the search asks for its folder; cancelled, one box follows.
    auto& saver = Start("/s");
    HWND search = probe::WaitForFolderDialog(saver.id(), 20000);
    ASSERT_TRUE(search && probe::PressButton(search, IDCANCEL) && probe::WaitUntilGone(search, 10000));
    CloseBoxes(saver, {"Error of the loading the library 'duzidad.dll or bass.dll'\nProgram terminate!"});
    ExpectQuietEnd(saver);
    // Preview and password modes never ask for the folder: they end without a window.
    HWND host = CreateWindowExA(WS_EX_TOOLWINDOW, "Static", "", WS_POPUP | WS_VISIBLE, 40, 40, 152, 112, nullptr,
                                nullptr, nullptr, nullptr);
    for (const std::string& arguments : {"/p " + std::to_string(reinterpret_cast<INT_PTR>(host)), "/a 0"s})
        ExpectQuietEnd(Start(arguments));
    DestroyWindow(host);
    // A picture missing from the library: the window goes, then one box.
    InstallLibrary("scene-missing");
    auto& missing = Start("/s");
    CloseBoxes(missing, {"Error when loading the textures."});
    ExpectQuietEnd(missing);
    // Command lines any host can pass (their parsing is checked natively): an unknown
    // letter, and preview or password mode without a window of its own to draw in,
    // end without any window; no argument or "/c:" and a handle open the configuration.
    InstallLibrary("v272");
    for (const std::string& arguments : {"/x"s, "/"s + std::string(10000, 'q'), "/p 0"s, "/a garbage"s})
        ExpectQuietEnd(Start(arguments));
    for (const std::string& arguments : {""s, "/c:1234"s}) {
        auto& saver = Start(arguments);
        HWND dialog = probe::WaitForWindow(saver.id(), "Astrolume Configuration", 20000);
        ASSERT_TRUE(dialog && probe::PressButton(dialog, IDOK)) << "no configuration dialog for " << arguments;
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr) << arguments;
        ExpectQuietEnd(saver, dialog);
    }
    // The settings window's own handle: the dialog is that window's, over its middle.
    HWND settings = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 60, 40, 700, 600, nullptr, nullptr,
                                    nullptr, nullptr);
    auto& owned = Start("/c:" + std::to_string(reinterpret_cast<INT_PTR>(settings)));
    HWND dialog = nullptr;
    ASSERT_TRUE(PumpUntil(20000, [&] {
        return (dialog = probe::WaitForWindow(owned.id(), "Astrolume Configuration", 0)) != nullptr;
    }));
    RECT inner{}, outer{};
    ASSERT_TRUE(GetWindowRect(dialog, &inner) && GetWindowRect(settings, &outer));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), settings);
    EXPECT_FALSE(IsWindowEnabled(settings)) << "the settings window waits for its dialog";
    EXPECT_NEAR(inner.left + inner.right, outer.left + outer.right, 2);
    EXPECT_NEAR(inner.top + inner.bottom, outer.top + outer.bottom, 2);
    ASSERT_TRUE(probe::PressButton(dialog, IDCANCEL));
    EXPECT_TRUE(PumpUntil(10000, [&] { return !IsWindow(dialog); }));
    ExpectQuietEnd(owned, dialog);
    EXPECT_TRUE(IsWindowEnabled(settings));
    DestroyWindow(settings);
}

// The saver window once its caption shows a measured frame rate; null if none.
HWND WaitForScene(probe::ChildProcess& saver)
{
    return probe::WaitForWindowWhere(saver.id(), 120000, [](HWND window) {
        return probe::ClassOf(window) == "Astrolume" && probe::TextOf(window).rfind("Astrolume - FPS = ", 0) == 0;
    });
}

// The default settings show the clock in the lower right corner and the frame
// rate in the upper left of the 800 x 600 overlay screen stretched over `area`:
// white glyph strokes where the backdrop has only a few stars; or, not `shown`, none.
void ExpectOverlays(const probe::Screenshot& screen, RECT area, bool shown = true)
{
    const auto white = [&](RECT part) {
        return screen.Count(part, [](COLORREF c) {
            return GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200;
        });
    };
    const int x = area.left, y = area.top, w = area.right - x, h = area.bottom - y;
    EXPECT_EQ(white({x + w * 609 / 800, y + h * 563 / 600, x + w * 795 / 800, y + h * 595 / 600}) > 150, shown)
        << "clock";
    EXPECT_EQ(white({x, y + h * 5 / 600, x + w * 61 / 800, y + h * 37 / 600}) > 30, shown) << "frame rate";
}

TEST_F(EndToEnd, RunModeFromTheWaitDialogToItsEndings)
{
    InstallLibrary("");  // the program's own library, whose large pictures take a while
    auto& saver = Start("/s");
    const auto wait = probe::WaitForDialog(saver.id(), 30000);
    ASSERT_TRUE(wait && FindWindowExA(wait->window, nullptr, "Static", "Loading the textures. Wait"));
    HWND window = WaitForScene(saver);
    EXPECT_FALSE(IsWindowVisible(wait->window)) << "the wait dialog is off the screen once the scene shows";
    // Full screen (no caption bar); F4 makes it framed, F4 full screen again; space
    // ends it, and the configuration opens once the saver window has gone.
    for (int step = 0; step < 3; ++step) {
        ASSERT_NE(window, nullptr) << "no saver window with its frame rate at step " << step;
        if (step == 0) {  // the screen is saved for a look
            const probe::Screenshot screen = probe::CaptureWindow(GetDesktopWindow(), false);
            probe::SaveScreenshot(screen, "run-mode-overlays");
            ExpectOverlays(screen, {0, 0, screen.width, screen.height});
        }
        EXPECT_EQ((GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION, step == 1);
        ASSERT_TRUE(PostMessageA(window, WM_KEYDOWN, step < 2 ? VK_F4 : VK_SPACE, 1));
        if (step < 2) {
            ASSERT_TRUE(probe::WaitUntilGone(window, 20000));
            window = WaitForScene(saver);
        }
    }
    HWND dialog = probe::WaitForWindow(saver.id(), "Astrolume Configuration", 20000);
    EXPECT_FALSE(IsWindow(window)) << "the configuration came before the saver window had gone";
    ASSERT_TRUE(dialog && probe::PressButton(dialog, IDCANCEL)) << "no configuration dialog";
    ExpectQuietEnd(saver, dialog);
}

// Windows shows what one process draws into another's window, and Wine from 10
// on; Wine 8 never does.
bool ShowsOtherProcessesDrawing()
{
    using Version = const char*(CDECL*)();
    const auto version =
        reinterpret_cast<Version>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    return version == nullptr || std::atoi(version()) >= 10;
}

// Preview waits while the host's window is hidden, then lives in it as a child
// window that idles and ends with it.
TEST_F(EndToEnd, PreviewStaysInItsHostUntilTheHostGoes)
{
    InstallLibrary("");
    HWND host = CreateWindowExA(WS_EX_TOOLWINDOW, "Static", "", WS_POPUP, 40, 40, 152, 112, nullptr, nullptr,
                                nullptr, nullptr);
    const std::string handle = std::to_string(reinterpret_cast<INT_PTR>(host));
    auto& preview = Start("/p " + handle);
    EXPECT_FALSE(preview.Wait(1500).has_value()) << "did not wait for the hidden host";
    ShowWindow(host, SW_SHOWNOACTIVATE);
    const auto child = [&] { return FindWindowExA(host, nullptr, "Astrolume preview", nullptr); };
    ASSERT_TRUE(PumpUntil(20000, child)) << "no preview window in the host";
    RECT area{}, hostArea{};
    GetWindowRect(child(), &area);
    GetWindowRect(host, &hostArea);
    EXPECT_TRUE(EqualRect(&area, &hostArea)) << "the preview covers the host's client area";
    // The picture as the screen shows it in the host: the Sun's orange on a dark
    // sky. It is drawn again whenever the host repaints, after anything covered it.
    if (ShowsOtherProcessesDrawing()) {
        const auto picture = [&] {
            const probe::Screenshot shown = probe::CaptureScreen(hostArea);
            const RECT all{0, 0, shown.width, shown.height};
            return shown.Count(all, [](COLORREF c) { return GetRValue(c) > 200 && GetBValue(c) < 100; }) > 20 &&
                   shown.Count(all, [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 90; }) >
                       shown.width * shown.height / 3;
        };
        EXPECT_TRUE(PumpUntil(10000, picture)) << "no preview picture in the host";
        const WindowDC covering(host);
        RECT inside{};
        GetClientRect(host, &inside);
        FillRect(covering.get(), &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EXPECT_TRUE(PumpUntil(3000, [&] { return !picture(); })) << "the picture was not covered";
        RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(PumpUntil(10000, picture)) << "the picture did not come back when the host repainted";
    }
    // Idle, it waits for messages: a spinning loop would take most of a second.
    const auto before = preview.CpuMilliseconds();
    PumpUntil(1000, [] { return false; });
    const auto after = preview.CpuMilliseconds();
    ASSERT_TRUE(before && after);
    EXPECT_LT(*after - *before, 100u) << "ms of CPU time in a second of idling";
    DestroyWindow(host);
    EXPECT_TRUE(PumpUntil(5000, [&] { return preview.Wait(0).has_value(); })) << "still running without its host";
    ExpectQuietEnd(preview);
    // A host whose process ends without destroying its window takes the preview along.
    auto& settings = Start("");
    HWND dialog = probe::WaitForWindow(settings.id(), "Astrolume Configuration", 20000);
    ASSERT_NE(dialog, nullptr);
    auto& orphan = Start("/p " + std::to_string(reinterpret_cast<INT_PTR>(dialog)));
    ASSERT_TRUE(PumpUntil(20000, [&] { return FindWindowExA(dialog, nullptr, "Astrolume preview", nullptr); }));
    const UniqueKernelHandle hostProcess(OpenProcess(PROCESS_TERMINATE, FALSE, settings.id()));
    ASSERT_TRUE(hostProcess && TerminateProcess(hostProcess.get(), 1));
    EXPECT_TRUE(orphan.Wait(5000).has_value()) << "still running after its host's process ended";
}

// On the bench's two-monitor displays (two of equal size side by side) run mode
// starts full screen without a question and covers both, each with its own view
// in its own aspect, the overlays on the primary alone.
TEST_F(EndToEnd, RunModeCoversEveryMonitor)
{
    const char* kind = std::getenv("ASTROLUME_DISPLAY_KIND");
    if (!kind) GTEST_SKIP() << "for ASTROLUME_DISPLAY_KIND=dual or dual-left";
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    const RECT desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                       GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    EXPECT_EQ(desktop.left < 0, std::string(kind) == "dual-left") << "the bench's arrangement";
    InstallLibrary("");
    auto& saver = Start("/s");
    const HWND window = WaitForScene(saver);
    ASSERT_NE(window, nullptr) << "no scene (a question instead?)";
    RECT placed{};
    EXPECT_TRUE(GetWindowRect(window, &placed) && EqualRect(&placed, &desktop));
    // In the window: the primary's area, then the other's.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const RECT areas[2] = {{-desktop.left, 0, width - desktop.left, height},
                           {desktop.left < 0 ? 0 : width, 0, desktop.left < 0 ? width : 2 * width, height}};
    // The width and height of the Sun's orange disc in the middle of each monitor,
    // from its first to its last pixel across and down (a planet may cross it);
    // the smaller of the two monitors'.
    const auto sun = [&](const probe::Screenshot& screen) {
        if (screen.width < 2 * width || screen.height < height) return std::pair<int, int>{};
        std::pair<int, int> size{height, height};
        for (const RECT& area : areas) {
            int across[2] = {height, -height}, down[2] = {height, -height};
            const auto extend = [&](int (&span)[2], int d, COLORREF c) {
                if (GetRValue(c) > 220 && GetGValue(c) > 110 && GetBValue(c) < 90)
                    span[0] = std::min(span[0], d), span[1] = std::max(span[1], d);
            };
            const int cx = area.left + width / 2, cy = height / 2;
            for (int d = -height / 4; d <= height / 4; ++d)
                extend(across, d, screen.At(cx + d, cy)), extend(down, d, screen.At(cx, cy + d));
            size = {std::min(size.first, across[1] - across[0] + 1), std::min(size.second, down[1] - down[0] + 1)};
        }
        return size;
    };
    // Planets pass in front of the Sun: the first picture with its discs whole and
    // round, which a Sun stretched to another aspect never is.
    const auto whole = [&](std::pair<int, int> size) {
        return size.second >= height / 10 && std::abs(size.first - size.second) <= height / 60;
    };
    probe::Screenshot screen = probe::CaptureWindow(window, false);
    for (int tries = 0; tries < 60 && !whole(sun(screen)); ++tries, Sleep(250))
        screen = probe::CaptureWindow(window, false);
    probe::SaveScreenshot(screen, desktop.left < 0 ? "two-monitors-primary-right" : "two-monitors");
    ASSERT_EQ(screen.width, desktop.right - desktop.left);
    const auto [across, down] = sun(screen);
    EXPECT_GE(down, height / 10) << "the Sun in the middle of each monitor";
    EXPECT_NEAR(across, down, height / 60) << "a round Sun";
    for (int i = 0; i < 2; ++i) ExpectOverlays(screen, areas[i], i == 0);
    ASSERT_TRUE(PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1));
    ExpectQuietEnd(saver, window);
}

} // namespace
