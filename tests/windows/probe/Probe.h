// Test helpers for Windows programs under Wine: CTest's paths, scratch folders and
// registry keys, child processes, their windows and message boxes, screenshots and
// the shell's folder dialog. Every wait takes a limit in milliseconds and looks at least once.
#pragma once

#include "support/Handles.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace probe {

// Paths the runner passes as --name=value; Unix paths become Wine's Z: drive paths.
void ParseArguments(int argc, char** argv);
std::string Argument(const std::string& name);
std::string WindowsPath(const std::string& path);

// A fresh folder in the root of the temporary files' drive, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

bool CopyInto(const std::string& file, const std::string& folder);

// A process started for a test; killed at the end if it is still running.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::string& arguments);
    ~ChildProcess();
    DWORD id() const { return id_; }  // 0 when it did not start
    // The exit code, or nothing on timeout.
    std::optional<DWORD> Wait(DWORD milliseconds);
    // Milliseconds of CPU time its main thread, where the program does its work, used so far.
    std::optional<unsigned> CpuMilliseconds() const;

private:
    UniqueKernelHandle process_, thread_;
    DWORD id_ = 0;
};

// Through WM_GETTEXT, so it works across threads and processes.
std::string TextOf(HWND window);
std::string ClassOf(HWND window);

struct DialogText {
    HWND window = nullptr;
    std::string caption, text;  // text: the message of a message box
};
DialogText ReadMessageBox(HWND box);

// The first visible top-level window of the process that `match` accepts, a
// dialog box (class "#32770"), a window with exactly this caption; none on timeout.
HWND WaitForWindowWhere(DWORD processId, DWORD milliseconds, const std::function<bool(HWND)>& match);
std::optional<DialogText> WaitForDialog(DWORD processId, DWORD milliseconds);
HWND WaitForWindow(DWORD processId, const std::string& caption, DWORD milliseconds);
bool WaitUntilGone(HWND window, DWORD milliseconds);
// The exit code, or nothing when the process kept running; `sawWindow` tells
// whether it showed a visible window meanwhile.
std::optional<DWORD> WaitWithoutWindows(ChildProcess& child, DWORD milliseconds, bool& sawWindow);

// Posted as a click does, so it works while the dialog's thread sits in a modal loop.
bool PressButton(HWND dialog, int buttonId);

// Answers the message boxes of this process from a thread of its own: each box is
// recorded and closed with `answer` (or its only button). Dialogs without a message
// box's push button, like the texture-loading notice, are left alone.
class BoxWatcher {
public:
    explicit BoxWatcher(int answer = IDOK) : answer_(answer), thread_([this] { Watch(); }) {}
    ~BoxWatcher()
    {
        stop_ = true;
        thread_.join();
    }
    std::vector<DialogText> Boxes()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_;
    }
    bool WaitForBoxes(std::size_t count, DWORD milliseconds);  // false on timeout

private:
    void Watch();
    int answer_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<DialogText> boxes_;
    std::set<HWND> answered_;
    std::thread thread_;
};

// A window's client area as a DIB holds it (0x00RRGGBB), row by row from the top.
struct Screenshot {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;

    COLORREF At(int x, int y) const;
    // How many pixels of `area` (clipped to the picture) `match` accepts, or have exactly `color`.
    int Count(RECT area, const std::function<bool(COLORREF)>& match) const;
    int Count(RECT area, COLORREF color) const { return Count(area, [color](COLORREF c) { return c == color; }); }
};

// From the window's own DC, which holds what the window itself drew (its child
// windows' drawing not included). With `repaint` the window and its children
// first paint everything again.
Screenshot CaptureWindow(HWND window, bool repaint = true);
// What the screen shows in `area` (screen coordinates): every window's drawing,
// another process's included where the system shows it.
Screenshot CaptureScreen(RECT area);
// A window's client area as the user sees it, controls included, once it has
// repainted; empty where the screen cannot be read (Wine 10 above 96 dpi).
Screenshot CaptureAsShown(HWND window);
// Saves <name>.bmp in the runner's --screenshots folder; false when nothing was written.
bool SaveScreenshot(const Screenshot& picture, const std::string& name);

// Keys of HKEY_CURRENT_USER: a REG_SZ value with its NUL; a key deleted with its contents.
bool SetRegString(const std::string& subKey, const std::string& name, const std::string& text);
bool DeleteRegKey(const std::string& subKey);

// Deletes a key for a test and puts it back as it was (or missing) at the end.
class ScratchRegistryKey {
public:
    explicit ScratchRegistryKey(std::string subKey);
    ~ScratchRegistryKey();
    ScratchRegistryKey(const ScratchRegistryKey&) = delete;
    ScratchRegistryKey& operator=(const ScratchRegistryKey&) = delete;

private:
    std::string subKey_, saved_;
    bool existed_ = false;
};

// NOTE: the shell folder dialog finds a folder by comparing the item ids of every
// folder on its way, and under Wine those carry each folder's time of last access.
// A folder read for the first time after a change gets a new access time (the
// disk is mounted with relatime), so a dialog that listed it before may no longer
// find anything below it. Reading every folder of a tree once, after the test has
// made its files and before a dialog opens, fixes those times.
void SettleFolderTimes(const std::string& folder);

// The folder dialog of a process (a "#32770" window with a folder tree), null on
// timeout; the rest drive one of this process from another thread.
HWND WaitForFolderDialog(DWORD processId, DWORD milliseconds);
// Its status line (empty when it has none) and whether OK is enabled, read until
// they are as expected or the time is up; the last read.
using FolderState = std::pair<std::string, bool>;
FolderState FolderDialogState(HWND dialog, const FolderState& expected, DWORD milliseconds = 5000);
// As a program selects (BFFM_SETSELECTIONA); returns when the dialog has handled it.
bool SelectFolder(HWND dialog, const std::string& folder);
// The selected item of the folder tree.
std::string SelectedFolderName(HWND dialog);

} // namespace probe
