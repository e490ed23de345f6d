// Preview mode: the data library's preview picture in the screen-saver host's
// little window, as a child window that paints it whenever the host repaints
// and goes with the host.

#include "shell/Preview.h"

#include "common/DataLibrary.h"
#include "support/Handles.h"
#include "textures/imgload.h"

namespace {

constexpr int PreviewPictureId = DATA_PREVIEW_PICTURE;
constexpr const char* PreviewClassName = "Astrolume preview";
// How often the preview looks whether its host is still there (ms): a host in
// another process may go without its children hearing of it.
constexpr DWORD HostCheckInterval = 250;

RECT HostRect = {};
HBITMAP PreviewPicture = nullptr;  // owned by ShowPreview while its window lives
int PictureWidth = 0, PictureHeight = 0;

// Waits until the host shows its window, handling this thread's messages
// meanwhile. False when the handle names no window at all.
bool WaitForHost(HWND host)
{
    while (!IsWindowVisible(host)) {
        // NOTE: a handle that names no window would be waited for forever, and
        // a bare loop would spin a core; give up on the one and sleep through the other.
        if (!IsWindow(host)) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            if ((message.message == WM_KEYDOWN || message.message == WM_KEYUP) && message.wParam == VK_ESCAPE)
                continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return true;
}

// The picture stretched over the whole client area, whatever its aspect.
void PaintPicture(HWND window)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr) return;
    RECT area{};
    GetClientRect(window, &area);
    const UniqueMemoryDC memory(CreateCompatibleDC(dc));
    if (memory) {
        const SelectGuard selected(memory.get(), PreviewPicture);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, 0, 0, area.right, area.bottom, memory.get(), 0, 0, PictureWidth, PictureHeight, SRCCOPY);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK PreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintPicture(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the picture covers everything
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // the settings dialog keeps the focus
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The child window over the host's client area; null when it cannot be made.
HWND CreatePreviewWindow(HWND host)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PreviewWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.lpszClassName = PreviewClassName;
    if (!RegisterClassA(&wc)) return nullptr;
    HWND window = CreateWindowExA(0, PreviewClassName, "", WS_CHILD | WS_VISIBLE, 0, 0,
                                  HostRect.right, HostRect.bottom, host, nullptr, wc.hInstance, nullptr);
    if (window == nullptr) UnregisterClassA(PreviewClassName, wc.hInstance);
    return window;
}

} // namespace

void ShowPreview(HWND host)
{
    if (!WaitForHost(host)) return;
    if (!GetClientRect(host, &HostRect)) return;

    HBITMAP picture = nullptr;
    if (DataLibrary == nullptr || !LoadPictureFromResource(PictureInfo, DataLibrary, PreviewPictureId, picture))
        return;
    const UniqueGdiObject bitmap(picture);
    PreviewPicture = picture;
    PictureWidth = PictureInfo.Width;
    PictureHeight = PictureInfo.Height;

    HWND window = CreatePreviewWindow(host);
    if (window == nullptr) return;
    // Waits for messages, the end of the host's process, or the next look at the
    // host: the picture is painted when the host repaints. NOTE: when the host's
    // process ends without destroying its window, the child may go without a
    // message (Wine) or stay as an orphan whose parent is no longer the host;
    // only the handle we were given tells.
    DWORD hostProcessId = 0;
    GetWindowThreadProcessId(host, &hostProcessId);
    const UniqueKernelHandle hostProcess(OpenProcess(SYNCHRONIZE, FALSE, hostProcessId));
    HANDLE waitFor[1] = {hostProcess.get()};
    for (bool done = false; !done;) {
        const DWORD woken =
            MsgWaitForMultipleObjects(hostProcess ? 1 : 0, waitFor, FALSE, HostCheckInterval, QS_ALLINPUT);
        if (woken == WAIT_FAILED) break;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) done = true;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!done && (!IsWindow(host) || !IsWindow(window) || GetParent(window) != host ||
                      (hostProcess && woken == WAIT_OBJECT_0))) {
            if (IsWindow(window)) DestroyWindow(window);
            done = true;
        }
    }
    UnregisterClassA(PreviewClassName, GetModuleHandleA(nullptr));
    PreviewPicture = nullptr;
}
