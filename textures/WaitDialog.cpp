#include "textures/WaitDialog.h"

#include "resources/ResourceIds.h"

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

// NOTE: the dialog thread may need the main thread for messages sent across
// threads (activation, for one) while it starts or ends; the wait for it serves them.
constexpr DWORD ThreadEndTimeout = 10000;

DWORD WINAPI WaitThreadProc(LPVOID)
{
    return static_cast<DWORD>(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_WAIT), nullptr,
                                              WaitDlgProc, 0));
}

void WaitForThreadEnd(HANDLE thread)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= ThreadEndTimeout) return;
        const DWORD wait = MsgWaitForMultipleObjects(1, &thread, FALSE, ThreadEndTimeout - spent, QS_SENDMESSAGE);
        if (wait != WAIT_OBJECT_0 + 1) return;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
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
        if (outcome != Loading) EndDialog(dialog, outcome);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
        else if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
        return 0;
    default:
        return 0;
    }
}

bool RunWithWaitDialog(const std::function<bool()>& load)
{
    LoadOutcome.store(Loading);
    CurrentDialog.store(nullptr);
    WaitThread.reset(CreateThread(nullptr, 0, WaitThreadProc, nullptr, 0, nullptr));

    const bool ok = load();

    LoadOutcome.store(ok ? Loaded : Failed);
    if (HWND dialog = CurrentDialog.load()) PostMessageA(dialog, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
    if (WaitThread) {
        WaitForThreadEnd(WaitThread.get());
        WaitThread.reset();
    }
    return ok;
}
