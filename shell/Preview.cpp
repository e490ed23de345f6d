// Preview mode draws the data library's preview picture into the screen-saver
// host's little window; password mode opens the system's change-password dialog.

#include "shell/Preview.h"

#include "common/DataLibrary.h"
#include "shell/Main.h"
#include "shell/CommandLine.h"
#include "support/Handles.h"
#include "textures/imgload.h"

namespace {

constexpr int PreviewPictureId = 288;

HWND HostWindow = nullptr;
RECT HostRect = {};

// Waits until the host shows its window, handling this thread's messages
// meanwhile. False when the handle names no window at all.
bool WaitForHostWindow()
{
    while (!IsWindowVisible(HostWindow)) {
        // NOTE: a handle that names no window would be waited for forever, and
        // a bare loop would spin a core; give up on the one and sleep through the other.
        if (!IsWindow(HostWindow)) return false;
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

void ShowPreview()
{
    HostWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(WindowHandleArgument(CommandArguments())));
    if (!WaitForHostWindow()) return;
    if (!GetWindowRect(HostWindow, &HostRect)) return;

    HBITMAP picture = nullptr;
    if (DataLibrary == nullptr || !LoadPictureFromResource(PictureInfo, DataLibrary, PreviewPictureId, picture))
        return;
    UniqueGdiObject bitmap(picture);

    WindowDC host(HostWindow);
    if (!host) return;
    UniqueMemoryDC memory(CreateCompatibleDC(host.get()));
    if (!memory) return;
    SelectGuard selected(memory.get(), bitmap.get());
    // The picture is stretched to the host's rectangle whatever its aspect.
    SetStretchBltMode(host.get(), HALFTONE);
    StretchBlt(host.get(), 0, 0, HostRect.right - HostRect.left, HostRect.bottom - HostRect.top, memory.get(), 0, 0,
               PictureInfo.Width, PictureInfo.Height, SRCCOPY);
}

void ChangePassword()
{
    HMODULE mpr = LoadLibraryA("MPR.DLL");
    if (mpr == nullptr) return;
    UniqueModule library(mpr);
    using ChangePasswordFunction = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
    auto change = reinterpret_cast<ChangePasswordFunction>(
        reinterpret_cast<void*>(GetProcAddress(mpr, "PwdChangePasswordA")));
    if (change == nullptr) return;
    const HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(WindowHandleArgument(CommandArguments())));
    change("SCRSAVE", owner, 0, nullptr);
}
