// Runs code that opens the shell's folder dialog on a thread of its own (the dialog
// is modal on the thread that opens it) and drives the dialog from the test thread.
#pragma once

#include "support/Com.h"
#include "tests/windows/probe/Probe.h"

#include <atomic>
#include <functional>
#include <thread>

namespace probe {

// Runs `work` on its own thread, in a COM apartment as the program's main thread
// has, until it returns. Every folder dialog it opens is handed to `drive`; a
// dialog still open afterwards is cancelled. Returns how many dialogs opened.
inline int RunWithFolderDialog(const std::function<void()>& work, const std::function<void(HWND)>& drive)
{
    std::atomic<bool> done{false};
    std::thread worker([&] {
        ComApartment com;
        if (com.initialised()) work();
        done = true;
    });
    int dialogs = 0;
    while (!done) {
        auto dialog = WaitForFolderDialog(GetCurrentProcessId(), 50);
        if (!dialog) continue;
        ++dialogs;
        if (drive) drive(*dialog);
        if (IsWindow(*dialog)) PressButton(*dialog, IDCANCEL);
        WaitUntilGone(*dialog, 10000);
    }
    worker.join();
    return dialogs;
}

} // namespace probe
