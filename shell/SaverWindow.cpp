#include "shell/SaverWindow.h"

#include "common/Settings.h"
#include "model/PlanetaryModel.h"
#include "resources/ResourceIds.h"
#include "scene/GlDraw.h"
#include "scene/SceneLoad.h"
#include "scene/SmoothFrame.h"
#include "shell/GlWindow.h"
#include "shell/Password.h"
#include "shell/ShowError.h"
#include "textures/Fonts.h"
#include "textures/WaitDialog.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <vector>

DEVMODEA DesktopMode = {};
int DesktopWidth = 0;
int DesktopHeight = 0;
int DesktopBits = 0;

bool FullScreen = false;

HWND SaverWindow = nullptr;
HDC SaverDC = nullptr;
HGLRC SaverRC = nullptr;
RECT WindowRect = {};

bool Keys[256] = {};
bool WindowActive = true;
bool DisplayOff = false;
int MouseMoves = 0;
TFrameRateMeter FrameMeter;

namespace {
constexpr DWORD FullScreenExStyle = WS_EX_APPWINDOW;
constexpr DWORD FullScreenStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD WindowedExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
constexpr DWORD WindowedStyle = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// The model whose shapes the open window's context holds as lists.
TPlanetaryModel* SceneModel = nullptr;

// The open window with its DC and context; SaverWindow, SaverDC and SaverRC show them.
std::optional<TGlWindow> GlWindow;

// Windows tells the window when the display is switched off and on: the newer
// console display state, and the monitor power of systems that only know that.
const GUID* const DisplayStateSettings[] = {&GUID_CONSOLE_DISPLAY_STATE, &GUID_MONITOR_POWER_ON};
HPOWERNOTIFY DisplayNotices[2] = {};

// Full screen with more than one monitor: the window covers the whole desktop,
// or the other monitors would go on showing it, and each shows its own view.
bool SpansMonitors = false;

// The cursor is hidden once per full-screen opening and shown again by the
// teardown, also when the user chose to go on in a window after the full-screen
// switch was refused (the saver then no longer counts as full screen).
bool CursorHidden = false;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

TSceneOpening Fail(unsigned messageId, TSceneOpening failure = TSceneOpening::WindowFailed)
{
    ShowError("", messageId, IDS_ERROR);
    return failure;
}

// The box comes after the teardown: a topmost full-screen window left standing,
// with the cursor hidden, would cover it.
TSceneOpening TearDownAndFail(unsigned messageId, TSceneOpening failure = TSceneOpening::WindowFailed)
{
    CloseSceneWindow();
    return Fail(messageId, failure);
}

// Answers the window's messages while the textures load: Windows takes a window
// that leaves them for five seconds for a hung one and ghosts it. Keys land in
// Keys as ever; a quit is put back for the main loop (PeekMessage hands it over
// whatever range it is asked for).
void AnswerMessages()
{
    MSG message;
    std::optional<WPARAM> quit;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = message.wParam;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (quit) PostQuitMessage(static_cast<int>(*quit));
}

int AskYesNo(unsigned messageId, unsigned captionId)
{
    ErrorText question;
    LoadErrorText("", messageId, captionId, question);
    return MessageBoxA(nullptr, question.message, question.caption, MB_YESNO | MB_ICONEXCLAMATION);
}
// The display's state from a power-setting notice: 0 is off, 1 on, 2 dimmed.
// Back on, the animation clock starts afresh, so the planets go on from where
// they stood instead of jumping over the dark time.
void NoteDisplayState(const POWERBROADCAST_SETTING& setting)
{
    const bool known = std::any_of(std::begin(DisplayStateSettings), std::end(DisplayStateSettings),
                                   [&](const GUID* guid) { return IsEqualGUID(setting.PowerSetting, *guid); });
    if (!known || setting.DataLength < sizeof(DWORD)) return;
    DWORD state = 0;
    std::memcpy(&state, setting.Data, sizeof state);
    const bool off = state == 0;
    if (DisplayOff && !off) {
        FirstFrame = true;
        FrameMeter.Restart(GetTickCount());
    }
    DisplayOff = off;
}

// Collects each monitor's rectangle, in desktop pixels, into a vector of TScreenRect.
BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT area, LPARAM list)
{
    reinterpret_cast<std::vector<TScreenRect>*>(list)->push_back({area->left, area->top, area->right, area->bottom});
    return TRUE;
}

// Every monitor's rectangle; none when Windows cannot say.
std::vector<TScreenRect> Monitors()
{
    std::vector<TScreenRect> monitors;
    if (!EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors))) return {};
    return monitors;
}

// The viewport of each monitor on `window`'s client area; none when Windows cannot say.
std::vector<TViewport> ViewportsOfMonitors(HWND window)
{
    RECT client{};
    POINT corners[2];
    if (!GetClientRect(window, &client)) return {};
    corners[0] = {client.left, client.top};
    corners[1] = {client.right, client.bottom};
    if (!ClientToScreen(window, &corners[0]) || !ClientToScreen(window, &corners[1])) return {};
    return MonitorViewports(Monitors(), {corners[0].x, corners[0].y, corners[1].x, corners[1].y});
}

// The scene over the whole client area, or once per monitor where the window spans several.
void FitScene(HWND window, int width, int height)
{
    ResizeScene(width, height);
    if (SpansMonitors) SetSceneViewports(ViewportsOfMonitors(window));
}
} // namespace

void QueryDesktopMode()
{
    DesktopMode = DEVMODEA{};
    DesktopMode.dmSize = sizeof DesktopMode;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &DesktopMode)) {
        // Leave the sizes at 0: the window code falls back to its own size then.
        DesktopWidth = DesktopHeight = DesktopBits = 0;
        return;
    }
    DesktopWidth = static_cast<int>(DesktopMode.dmPelsWidth);
    DesktopHeight = static_cast<int>(DesktopMode.dmPelsHeight);
    DesktopBits = static_cast<int>(DesktopMode.dmBitsPerPel);
}

bool RegisterSaverClass()
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    wc.lpfnWndProc = SaverWndProc;
    wc.hInstance = Instance();
    wc.hIcon = LoadIconA(Instance(), MAKEINTRESOURCEA(IDI_SAVER));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.lpszMenuName = "";
    wc.lpszClassName = SaverClassName;
    return RegisterClassA(&wc) != 0;
}

TSceneOpening OpenSceneWindow(const char* title, int width, int height, int bits, TPlanetaryModel& model)
{
    if (!RegisterSaverClass()) return Fail(IDS_REGISTER_CLASS);

    // NOTE: without a recorded desktop mode the requested size is kept.
    const TScenePlacement placement =
        PlaceScene(FullScreen, {width, height, bits}, {DesktopWidth, DesktopHeight, DesktopBits}, Monitors());
    const TScreenRect& client = placement.client;
    width = client.right - client.left;
    height = client.bottom - client.top;
    SpansMonitors = placement.views.size() > 1;
    DWORD exStyle = WindowedExStyle;
    DWORD style = WindowedStyle;
    if (FullScreen) {
        exStyle = FullScreenExStyle;
        style = FullScreenStyle;
        if (!CursorHidden) {
            ShowCursor(FALSE);
            CursorHidden = true;
        }
        POINT cursor;
        if (GetCursorPos(&cursor)) SetCursorPos(cursor.x + 5, cursor.y + 5);
    }
    WindowRect = RECT{0, 0, width, height};

    // NOTE: without a device name the switch is the primary display's alone, the
    // one whose mode was recorded; the other monitors keep theirs. Under Wine with
    // two X heads this succeeds once its XRandR path is off, as for one head.
    if (FullScreen && ChangeDisplaySettingsA(&DesktopMode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) {
        if (AskYesNo(IDS_USE_WINDOW_MODE, IDS_ERROR) == IDYES) {
            FullScreen = false;
        } else {
            // The process ends after this; give the cursor back all the same.
            if (CursorHidden) {
                ShowCursor(TRUE);
                CursorHidden = false;
            }
            UnregisterClassA(SaverClassName, Instance());
            return Fail(IDS_PROGRAM_CLOSED);
        }
    }

    AdjustWindowRectEx(&WindowRect, style, FALSE, exStyle);
    const RECT frame{client.left, client.top, client.left + WindowRect.right - WindowRect.left,
                     client.top + WindowRect.bottom - WindowRect.top};
    GlWindow.emplace(SaverClassName, title, exStyle, style, frame, placement.bits);
    SaverWindow = GlWindow->Window();
    SaverDC = GlWindow->DC();
    SaverRC = GlWindow->Context();
    if (GlWindow->Failure() != 0) return TearDownAndFail(GlWindow->Failure());
    // Where the driver can, frames wait for the display's refresh: a real GPU
    // then draws no faster than the screen shows.
    using SwapIntervalProc = BOOL WINAPI(int);
    if (auto setSwapInterval = reinterpret_cast<SwapIntervalProc*>(
            reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT"))))
        setSwapInterval(1);
    // Without these notices the saver simply draws on while the display is off.
    DisplayOff = false;
    for (int i = 0; i < 2; ++i)
        DisplayNotices[i] =
            RegisterPowerSettingNotification(SaverWindow, DisplayStateSettings[i], DEVICE_NOTIFY_WINDOW_HANDLE);

    SetWindowPos(SaverWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    // NOTE: Windows maximises a window onto the one monitor it mostly covers, so a
    // window spanning them all is shown as placed. (Wine without a window manager
    // leaves it as placed either way.)
    ShowWindow(SaverWindow, SpansMonitors ? SW_SHOWNORMAL : SW_SHOWMAXIMIZED);
    UpdateWindow(SaverWindow);
    SetForegroundWindow(SaverWindow);
    SetFocus(SaverWindow);
    // NOTE: the requested size, not the maximised one; the next WM_SIZE corrects it.
    FitScene(SaverWindow, width, height);

    if (!InitSceneState()) return TearDownAndFail(IDS_INIT_GL);
    // Smooth edges through a framebuffer object where the context has them;
    // else the pixel format chosen above carries the samples, if any.
    if (Settings.SmoothEdges) OpenSmoothFrame();
    SceneModel = &model;
    if (!RunWithWaitDialog([&model] { return LoadScene(model, AnswerMessages); }))
        return TearDownAndFail(IDS_LOAD_TEXTURES, TSceneOpening::TexturesFailed);
    // The wait dialog took the activation while it was up; keys must reach the saver.
    SetForegroundWindow(SaverWindow);
    SetFocus(SaverWindow);
    return TSceneOpening::Opened;
}

void CloseSceneWindow()
{
    // The glyph and shape lists belong to the context: released while it is still current.
    if (SaverRC) {
        ReleaseFontLists();
        if (SceneModel) SceneModel->ReleaseLists();
        CloseSmoothFrame();
    }
    SceneModel = nullptr;
    for (HPOWERNOTIFY& notice : DisplayNotices) {
        if (notice) UnregisterPowerSettingNotification(notice);
        notice = nullptr;
    }
    if (FullScreen) ChangeDisplaySettingsA(nullptr, 0);
    if (CursorHidden) {
        ShowCursor(TRUE);
        CursorHidden = false;
    }
    GlWindow.reset();
    SaverWindow = nullptr;
    SaverDC = nullptr;
    SaverRC = nullptr;
    if (!UnregisterClassA(SaverClassName, Instance())) ShowError("", IDS_UNREGISTER_CLASS, IDS_SHUTDOWN_ERROR);
}

LRESULT CALLBACK SaverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        FrameMeter.Restart(GetTickCount());
        break;
    case WM_SIZE:
        FitScene(window, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_ACTIVATE:
        WindowActive = HIWORD(wParam) == 0;
        return 0;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_POWERBROADCAST:
        if (wParam == PBT_POWERSETTINGCHANGE) {
            NoteDisplayState(*reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam));
            return TRUE;
        }
        break;
    case WM_KEYDOWN:
        Keys[wParam & 0xFF] = true;
        return 0;
    case WM_KEYUP:
        Keys[wParam & 0xFF] = false;
        return 0;
    case WM_SYSCOMMAND:
        // No second saver and no monitor power-down while this one runs.
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
        break;
    case WM_MOUSEMOVE:
        if (FullScreen && Settings.MouseMove) {
            ++MouseMoves;
            if (MouseMoves > MouseMovesAllowed) Keys[VK_ESCAPE] = VerifyPassword(window, MouseMoves);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        Keys[VK_ESCAPE] = VerifyPassword(window, MouseMoves);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
