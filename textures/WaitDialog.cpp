#include "textures/WaitDialog.h"

#include "resources/ResourceIds.h"

#include <algorithm>
#include <atomic>

HWND WaitDialog = nullptr;
UniqueKernelHandle WaitThread;

namespace {
// The hand-over between the two threads. The dialog publishes its handle and
// then looks at the outcome; the main thread publishes the outcome and then
// looks at the handle. With both sequentially consistent, at least one side
// sees the other, so the dialog closes whichever of them comes first.
enum Outcome : int { Loading = -1, Failed = 0, Loaded = 1 };
std::atomic<int> LoadOutcome{Loading};
std::atomic<HWND> CurrentDialog{nullptr};
std::atomic<int> EndedWith{Loading};  // the result the dialog was ended with

// NOTE: the dialog thread may need the main thread for messages sent across
// threads (activation, for one) while it starts or ends; the wait for it serves them.
constexpr DWORD DialogEndTimeout = 10000;
constexpr DWORD DialogPollMs = 5;

DWORD WINAPI WaitThreadProc(LPVOID)
{
    return static_cast<DWORD>(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_WAIT), nullptr,
                                              WaitDlgProc, 0));
}

// Whether the dialog has been told its result and is off the screen.
bool DialogHidden()
{
    const HWND dialog = CurrentDialog.load();
    return EndedWith.load() != Loading && dialog != nullptr && !IsWindowVisible(dialog);
}

// Waits until the dialog is hidden or its thread has ended, whichever comes first.
// NOTE: the thread's own end may come much later: Wine without a window manager
// waits two seconds for the X server to withdraw a hidden dialog's window, and
// nothing the saver draws needs that.
void WaitForDialogEnd(HANDLE thread)
{
    const DWORD start = GetTickCount();
    while (!DialogHidden()) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= DialogEndTimeout) return;
        const DWORD wait =
            MsgWaitForMultipleObjects(1, &thread, FALSE, std::min(DialogPollMs, DialogEndTimeout - spent), QS_SENDMESSAGE);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_FAILED) return;
        MSG message;
        if (wait == WAIT_OBJECT_0 + 1) PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// Ends the dialog with `result` (1 loaded, 0 failed), once; a dialog of an
// earlier loading whose thread is still on its way out changes nothing.
void EndWith(HWND dialog, int result)
{
    int loading = Loading;
    if (dialog != CurrentDialog.load()) {
        EndDialog(dialog, result);
        return;
    }
    if (EndedWith.compare_exchange_strong(loading, result)) EndDialog(dialog, result);
}
} // namespace

INT_PTR CALLBACK WaitDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        WaitDialog = dialog;
        CurrentDialog.store(dialog);
        // The saver's window is topmost by now; an ordinary dialog would open
        // behind it, unseen. Topmost and newer, this one shows above it.
        SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        // The loading may already be over: close at once with its result.
        const int outcome = LoadOutcome.load();
        if (outcome != Loading) EndWith(dialog, outcome);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) EndWith(dialog, 1);
        else if (LOWORD(wParam) == IDCANCEL) EndWith(dialog, 0);
        return 0;
    default:
        return 0;
    }
}

bool RunWithWaitDialog(const std::function<bool()>& load)
{
    LoadOutcome.store(Loading);
    CurrentDialog.store(nullptr);
    EndedWith.store(Loading);
    WaitThread.reset(CreateThread(nullptr, 0, WaitThreadProc, nullptr, 0, nullptr));

    const bool ok = load();

    LoadOutcome.store(ok ? Loaded : Failed);
    if (HWND dialog = CurrentDialog.load()) PostMessageA(dialog, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
    if (WaitThread) {
        WaitForDialogEnd(WaitThread.get());
        // The thread ends on its own once its dialog is gone.
        WaitThread.reset();
    }
    return ok;
}
