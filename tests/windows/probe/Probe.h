// Test helpers for Windows programs under Wine: paths handed over by CTest, scratch
// folders, child processes, the windows and message boxes they show, screenshots,
// the registry of the bench's prefix and the shell's folder dialog.
// Every wait takes a limit in milliseconds and looks at least once.
#pragma once

#include "support/Handles.h"

#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace probe {

// Paths the test runner passes on the command line (--name=value); Unix paths are
// turned into Wine's Z: drive paths.
void ParseArguments(int argc, char** argv);
std::string Argument(const std::string& name);
std::string WindowsPath(const std::string& path);

// A fresh folder in the root of the temporary files' drive, removed with everything
// in it at the end.
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
    bool started() const { return static_cast<bool>(process_); }
    DWORD id() const { return id_; }
    // Waits for the process to end; its exit code, or nothing on timeout.
    std::optional<DWORD> Wait(DWORD milliseconds);

private:
    UniqueKernelHandle process_;
    DWORD id_ = 0;
};

std::vector<HWND> VisibleWindowsOf(DWORD processId);
// The text of a window (WM_GETTEXT, so it works across threads and processes).
std::string TextOf(HWND window);
std::string ClassOf(HWND window);

struct DialogText {
    HWND window = nullptr;
    std::string caption;
    std::string text;  // the message of a message box
};
DialogText ReadMessageBox(HWND box);

// A visible top-level window of the process: a dialog box (class "#32770"), one
// with exactly this caption, one of this class; nothing or null on timeout.
std::optional<DialogText> WaitForDialog(DWORD processId, DWORD milliseconds);
HWND WaitForWindow(DWORD processId, const std::string& caption, DWORD milliseconds);
HWND WaitForWindowOfClass(DWORD processId, const std::string& className, DWORD milliseconds);
// Waits until a window has been destroyed; false on timeout.
bool WaitUntilGone(HWND window, DWORD milliseconds);
// Waits until the process has ended, watching that it shows no visible window
// meanwhile. Returns the exit code, or nothing when it kept running; `sawWindow`
// tells whether a window appeared.
std::optional<DWORD> WaitWithoutWindows(ChildProcess& child, DWORD milliseconds, bool& sawWindow);

// Presses a button of a dialog the way a click does.
bool PressButton(HWND dialog, int buttonId);
// Presses and releases a key in the window that has the keyboard focus on the
// thread of `window`, through that thread's message queue (where a dialog's
// own loop turns Esc and Enter into commands).
bool PressKey(HWND window, UINT virtualKey);

// Answers the message boxes of this process from a thread of its own while it
// lives: each box is read, recorded and closed with `answer` (a button id; the
// box's only button when it has no such one). Dialogs without a push button of
// a message box, like the texture-loading notice, are left alone.
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
    // Waits until `count` boxes have been seen; false on timeout.
    bool WaitForBoxes(std::size_t count, DWORD milliseconds);

private:
    void Watch();
    int answer_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<DialogText> boxes_;
    std::set<HWND> answered_;
    std::thread thread_;
};

// Pixels of a window's client area as 0x00BBGGRR colours, row by row from the top.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // How many pixels of `area` (clipped to the picture) have exactly `color`.
    int Count(RECT area, COLORREF color) const;
};

// The window's client area as drawn; with `repaint` the window and its
// children are first asked to paint everything again.
Screenshot CaptureWindow(HWND window, bool repaint = true);
// The area of `child` inside a capture of `window`.
RECT AreaInCapture(HWND window, HWND child);
// Saves a capture as <name>.bmp in the folder the runner passes as
// --screenshots (created when missing); returns the path written, or empty.
std::string SaveScreenshot(const Screenshot& picture, const std::string& name);

struct RegValue {
    DWORD type = REG_NONE;
    std::string data;  // the stored bytes, terminating NUL included
    // The text of a REG_SZ value without its terminating NUL.
    std::string Text() const;
};

// Every value of a key by name; nothing when the key does not exist.
std::optional<std::map<std::string, RegValue>> ReadRegValues(const std::string& subKey);
// A REG_SZ value holding `text` and its terminating NUL.
bool SetRegString(const std::string& subKey, const std::string& name, const std::string& text);
bool SetRegDword(const std::string& subKey, const std::string& name, DWORD value);
bool DeleteRegValue(const std::string& subKey, const std::string& name);
// Deletes a key with everything in it; true when it is gone.
bool DeleteRegKey(const std::string& subKey);

// Saves a key's values when constructed, deletes the key, and puts the saved
// values back (or leaves the key deleted when it did not exist) at the end, so
// that each test starts from a missing key and leaves the prefix as it was.
class ScratchRegistryKey {
public:
    explicit ScratchRegistryKey(std::string subKey);
    ~ScratchRegistryKey();
    ScratchRegistryKey(const ScratchRegistryKey&) = delete;
    ScratchRegistryKey& operator=(const ScratchRegistryKey&) = delete;

private:
    std::string subKey_;
    std::optional<std::map<std::string, RegValue>> saved_;
};

// The "Path" value of the program's registry key: cleared so that no test sees
// what another stored; nothing when the value is absent.
void ClearStoredDataPath();
std::optional<std::string> StoredDataPath();
void StoreDataPath(const std::string& folder);

// NOTE: the shell folder dialog finds a folder by comparing the item ids of every
// folder on its way, and under Wine those carry each folder's time of last access.
// A folder read for the first time after a change gets a new access time (the
// disk is mounted with relatime), so a dialog that listed it before may no longer
// find anything below it. Reading every folder of a tree once, after the test has
// made its files and before a dialog opens, fixes those times.
void SettleFolderTimes(const std::string& folder);

// The dialog of a process (a "#32770" window with a folder tree), driven from
// another thread or process.
std::optional<HWND> WaitForFolderDialog(DWORD processId, DWORD milliseconds);
// The text of the dialog's status line; empty when it has none.
std::string FolderDialogStatus(HWND dialog);
// Wait until the status line reads `expected` or the OK button is in the expected
// state; the last text or state read.
std::string WaitForFolderDialogStatus(HWND dialog, const std::string& expected, DWORD milliseconds);
bool WaitForFolderDialogOk(HWND dialog, bool expected, DWORD milliseconds);
// Selects a folder by its path as a program would (BFFM_SETSELECTIONA), in a
// dialog of this process or another. Returns when the dialog has handled it.
bool SelectFolder(HWND dialog, const std::string& folder);
// The text of the selected item of the folder tree (a dialog of this process).
std::string SelectedFolderName(HWND dialog);

} // namespace probe
