// The saver's window: the refused full-screen switch, the window procedure's
// input table, the teardown, and what run mode makes of the settings. The
// switch that succeeds is seen end to end.
#include "descriptions/ShowMsg.h"
#include "model/PlanetaryModel.h"
#include "shell/MainLoop.h"
#include "shell/RunMode.h"
#include "tests/windows/SceneWindow.h"
#include "tests/windows/probe/SettingsTexts.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The cursor's show count: ShowCursor returns the count after its change.
int CursorCount()
{
    ShowCursor(TRUE);
    return ShowCursor(FALSE);
}

class SaverWindowModes : public ::testing::Test {
protected:
    void SetUp() override { RunModeSettings(); }
    void TearDown() override
    {
        model.reset();
        FullScreen = false;
        QueryDesktopMode();
    }
    // Full screen, as run mode opens it, or windowed as after F4.
    bool Open(bool fullScreen, int width = 800, int height = 600)
    {
        FullScreen = fullScreen;
        model = std::make_unique<TPlanetaryModel>();
        return OpenSceneWindow("Astrolume", width, height, 32, *model) == TSceneOpening::Opened;
    }
    UseTestLibrary library{"scene"};
    std::unique_ptr<TPlanetaryModel> model;
};

// ChoosePixelFormat gives the closest format, not one with what was asked: the
// saver takes only one it can draw the scene in, such as the one it asks for.
TEST(SaverWindow, SceneFormatIsDoubleBufferedRgbaWithDepth)
{
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, nullptr, nullptr);
    const HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd, pfd.nVersion = 1, pfd.cColorBits = 32, pfd.cDepthBits = 16;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    EXPECT_TRUE(IsSceneFormat(dc, ChoosePixelFormat(dc, &pfd)));
    int refused = 0;
    for (int format = 1; format <= DescribePixelFormat(dc, 1, 0, nullptr); ++format) {
        DescribePixelFormat(dc, format, sizeof pfd, &pfd);
        if (!(pfd.dwFlags & PFD_DOUBLEBUFFER) || pfd.cDepthBits == 0) refused += !IsSceneFormat(dc, format) ? 1 : -1000;
    }
    EXPECT_GT(refused, 0) << "a single-buffered or depthless format was taken";
    ReleaseDC(window, dc);
    DestroyWindow(window);
}

// A display mode the screen cannot take stands for a refused switch; the real
// question box is answered.
TEST_F(SaverWindowModes, RefusedSwitchAsksYesGoesOnNoEnds)
{
    for (int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        probe::BoxWatcher watcher(answer);
        QueryDesktopMode();
        DesktopMode.dmPelsWidth = 4321;
        const int cursor = CursorCount();
        const bool opened = Open(true);
        ASSERT_TRUE(watcher.WaitForBoxes(answer == IDYES ? 1 : 2, 10000));
        const auto boxes = watcher.Boxes();
        EXPECT_EQ(boxes[0].text, "Required full screen mode is not supported\nYour video card. Use window mode?");
        EXPECT_EQ(FullScreen, answer == IDNO);
        if (answer == IDYES) {
            ASSERT_TRUE(opened);
            // Full-screen size and style all the same, but the saver now counts as
            // windowed, where mouse moves do not end it.
            RECT client;
            EXPECT_TRUE(GetClientRect(SaverWindow, &client) && client.right == DesktopWidth);
            EXPECT_NE(GetWindowLongA(SaverWindow, GWL_STYLE) & WS_POPUP, 0);
            EXPECT_EQ(CursorCount(), cursor - 1);
            CloseSceneWindow();
            EXPECT_EQ(watcher.Boxes().size(), 1u);
        } else {
            EXPECT_FALSE(opened);
            EXPECT_EQ(boxes[1].text, "The Program is closed.");
        }
        EXPECT_EQ(CursorCount(), cursor) << "the cursor is given back";
    }
}

TEST_F(SaverWindowModes, TeardownOfAPartialStateAndOfAWholeOne)
{
    probe::BoxWatcher watcher;
    FullScreen = false;
    CloseSceneWindow();  // nothing open: only the class unregistration, which fails
    ASSERT_TRUE(watcher.WaitForBoxes(1, 5000));
    EXPECT_EQ(watcher.Boxes()[0].caption + ": " + watcher.Boxes()[0].text, "SHUTDOWN ERROR: Could Not Unregister Class.");

    // Messages are answered while the textures load (Windows ghosts a window that
    // leaves them five seconds); a quit stays for the main loop.
    PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
    PostQuitMessage(0);
    ASSERT_TRUE(Open(false, 200, 150));
    std::vector<UINT> left;  // a quit comes whatever range is asked for: take all
    for (MSG message; left.empty() || left.back() != WM_QUIT;) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) break;
        left.push_back(message.message);
    }
    EXPECT_EQ(std::count(left.begin(), left.end(), WM_APP), 0) << "left waiting while loading";
    EXPECT_EQ(std::count(left.begin(), left.end(), WM_QUIT), 1) << "the quit was lost";
    EXPECT_EQ(FrameMeter.FrameCount, 0) << "a new window starts a new measurement";
    using GetSwapInterval = int WINAPI();
    const auto swapInterval = reinterpret_cast<GetSwapInterval*>(
        reinterpret_cast<void*>(wglGetProcAddress("wglGetSwapIntervalEXT")));
    ASSERT_NE(swapInterval, nullptr);
    EXPECT_EQ(swapInterval(), 1) << "frames wait for the display's refresh";
    HWND window = SaverWindow;
    CloseSceneWindow();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(!SaverWindow && !SaverDC && !SaverRC && !wglGetCurrentContext());
    // A new context, as F4 makes: the shapes are compiled into it anew.
    ASSERT_EQ(OpenSceneWindow("Astrolume", 200, 150, 32, *model), TSceneOpening::Opened);
    EXPECT_TRUE(glIsList(model->SunList) && glIsList(model->Planets[6]->RingsList));
    CloseSceneWindow();
    model.reset();
    EXPECT_EQ(watcher.Boxes().size(), 1u);
}

// What the timer steps of the display test saw; the main loop runs them.
struct {
    int step = 0;
    float angle = 0;       // the Sun's angle when the display went off
    bool darkFrames = false;
    float advanced = -1;   // degrees turned since the display came back, 200 ms before
} Dark;

void BroadcastDisplayState(DWORD state)
{
    alignas(POWERBROADCAST_SETTING) unsigned char buffer[sizeof(POWERBROADCAST_SETTING) + sizeof state] = {};
    auto& setting = *reinterpret_cast<POWERBROADCAST_SETTING*>(buffer);
    setting = {GUID_CONSOLE_DISPLAY_STATE, sizeof state, {}};
    std::memcpy(setting.Data, &state, sizeof state);
    SendMessageA(SaverWindow, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(buffer));
}

// Every 200 ms: off after the first frames, a second of darkness, on, a look, Esc.
void CALLBACK DarkStep(HWND, UINT, UINT_PTR, DWORD)
{
    const int step = Dark.step++;
    if (step == 0) {
        Dark.angle = SunAngle;
        BroadcastDisplayState(0);
    } else if (step < 6) {
        Dark.darkFrames = Dark.darkFrames || SunAngle != Dark.angle;
    } else if (step == 6) {
        BroadcastDisplayState(1);
    } else if (step == 7) {
        Dark.advanced = std::fmod(SunAngle - Dark.angle + 360.0f, 360.0f);  // within one turn
        Keys[VK_ESCAPE] = true;
    }
}

// While Windows reports the display off the loop draws nothing; back on, the
// planets go on from where they stood: the Sun turns 0.05 degrees a millisecond,
// 60 in the dark 1.2 seconds that must not show as a jump.
TEST_F(SaverWindowModes, NoFramesWhileTheDisplayIsOffAndNoJumpAfter)
{
    ASSERT_TRUE(Open(false, 200, 150));
    for (bool& key : Keys) key = false;
    TDrawMsg panel;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, DarkStep);
    RunMainLoop(200, 150, 32, *model, panel);
    KillTimer(nullptr, timer);
    EXPECT_EQ(Dark.step, 8);
    EXPECT_FALSE(Dark.darkFrames) << "frames were drawn while the display was off";
    EXPECT_GT(Dark.advanced, 0.0f) << "no frames after the display came back";
    EXPECT_LT(Dark.advanced, 40.0f) << "the planets jumped";
    EXPECT_FALSE(DisplayOff || SaverWindow);
    Keys[VK_ESCAPE] = false;
}

// "Show description" off keeps the panel closed but not the message line.
TEST(RunMode, ShowDescriptionDecidesThePanelOnly)
{
    UseTestLibrary library(nullptr);
    probe::ScratchRegistryKey key(SettingsKey);
    for (const char* show : {"1", "0"}) {
        probe::StoreSettingTexts(probe::With(probe::OwnTexts, {{"DescPlanet", show}}));
        ASSERT_TRUE(InitRunMode());
        EXPECT_EQ(DescPanel->DescOn, *show == '1');
        EXPECT_TRUE(DescPanel->MsgOn);
        Model.reset();
        DescPanel.reset();
    }
}

// The window procedure's table: the key each input sets. Mouse moves count only
// full screen with MouseMove on, and the 21st asks to end; any click does.
TEST(SaverWndProc, KeysActivationAndMouse)
{
    RunModeSettings();
    const struct {
        UINT message;
        WPARAM wParam;
        bool fullScreen, mouseMove;
        int times, key;
        bool set;
    } cases[] = {{WM_KEYDOWN, 0x1FF, false, false, 1, 0xFF, true},  // out of range: kept within the table
                 {WM_MOUSEMOVE, 0, true, true, 20, VK_ESCAPE, false},
                 {WM_MOUSEMOVE, 0, true, true, 21, VK_ESCAPE, true},
                 {WM_MOUSEMOVE, 0, false, true, 50, VK_ESCAPE, false},
                 {WM_MOUSEMOVE, 0, true, false, 50, VK_ESCAPE, false},
                 {WM_LBUTTONDOWN, 0, false, false, 1, VK_ESCAPE, true},
                 {WM_RBUTTONDOWN, 0, false, false, 1, VK_ESCAPE, true},
                 {WM_MBUTTONDOWN, 0, false, false, 1, VK_ESCAPE, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.message) + " x" + std::to_string(c.times));
        for (bool& key : Keys) key = false;
        FullScreen = c.fullScreen;
        Settings.MouseMove = c.mouseMove;
        MouseMoves = 0;
        for (int i = 0; i < c.times; ++i) EXPECT_EQ(SaverWndProc(nullptr, c.message, c.wParam, 0), 0);
        EXPECT_EQ(Keys[c.key], c.set);
    }
    for (bool& key : Keys) key = false;
    FullScreen = false;

    SaverWndProc(nullptr, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0);
    EXPECT_FALSE(WindowActive);
    SaverWndProc(nullptr, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    EXPECT_TRUE(WindowActive);

    // Closing posts the quit message.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    EXPECT_EQ(SaverWndProc(nullptr, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

} // namespace
