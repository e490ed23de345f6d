// Preview mode draws the data library's preview picture into the screen-saver
// host's little window.

#include "shell/Preview.h"

#include "common/DataLibrary.h"
#include "support/Handles.h"
#include "textures/imgload.h"

namespace {

constexpr int PreviewPictureId = 288;

RECT HostRect = {};

// Waits until the host shows its window, handling this thread's messages
// meanwhile. False when the handle names no window at all.
bool WaitForhost(HWND host)
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

} // namespace

void ShowPreview(HWND host)
{
    if (!WaitForhost(host)) return;
    if (!GetWindowRect(host, &HostRect)) return;

    HBITMAP picture = nullptr;
    if (DataLibrary == nullptr || !LoadPictureFromResource(PictureInfo, DataLibrary, PreviewPictureId, picture))
        return;
    UniqueGdiObject bitmap(picture);

    WindowDC hostDC(host);
    if (!hostDC) return;
    UniqueMemoryDC memory(CreateCompatibleDC(hostDC.get()));
    if (!memory) return;
    SelectGuard selected(memory.get(), bitmap.get());
    // The picture is stretched to the host's rectangle whatever its aspect.
    SetStretchBltMode(hostDC.get(), HALFTONE);
    StretchBlt(hostDC.get(), 0, 0, HostRect.right - HostRect.left, HostRect.bottom - HostRect.top, memory.get(), 0, 0,
               PictureInfo.Width, PictureInfo.Height, SRCCOPY);
}
