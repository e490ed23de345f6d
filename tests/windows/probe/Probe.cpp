#include "tests/windows/probe/Probe.h"

#include <algorithm>
#include <cstdint>

#include <commctrl.h>
#include <shlobj.h>

#include <map>

namespace probe {

namespace {
std::map<std::string, std::string>& Arguments()
{
    static std::map<std::string, std::string> arguments;
    return arguments;
}

std::string WindowText(HWND window)
{
    char buffer[4096];
    const int n = GetWindowTextA(window, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

std::string ClassName(HWND window)
{
    char buffer[256];
    const int n = GetClassNameA(window, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
} // namespace

void ParseArguments(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--", 0) != 0) continue;
        const std::size_t equals = argument.find('=');
        if (equals == std::string::npos) continue;
        Arguments()[argument.substr(2, equals - 2)] = argument.substr(equals + 1);
    }
}

std::string Argument(const std::string& name)
{
    auto found = Arguments().find(name);
    return found == Arguments().end() ? std::string() : WindowsPath(found->second);
}

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/') return path;
    std::string result = "Z:" + path;
    for (char& c : result)
        if (c == '/') c = '\\';
    return result;
}

TempFolder::TempFolder()
{
    // NOTE: not under %TEMP%, which other test processes keep changing: see
    // SettleFolderTimes. The root of a drive is a drive item, which carries no time.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp).substr(0, 3); // "C:\"
    static int counter = 0;
    for (;;) {
        path_ = base + "astrolume-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool CopyInto(const std::string& file, const std::string& folder)
{
    const std::size_t slash = file.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    return CopyFileA(file.c_str(), (folder + "\\" + name).c_str(), FALSE) != 0;
}

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments)
{
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_))
        info_ = PROCESS_INFORMATION{};
}

ChildProcess::~ChildProcess()
{
    if (info_.hProcess == nullptr) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

std::optional<DWORD> ChildProcess::Wait(DWORD milliseconds)
{
    if (info_.hProcess == nullptr) return std::nullopt;
    if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool ChildProcess::Running() { return started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

namespace {
struct WindowSearch {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) search->windows.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> VisibleWindowsOf(DWORD processId)
{
    WindowSearch search{processId, {}};
    EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::optional<DialogText> WaitForDialog(DWORD processId, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        for (HWND window : VisibleWindowsOf(processId))
            if (ClassName(window) == "#32770") return ReadMessageBox(window);
        Sleep(50);
    } while (GetTickCount() - start < milliseconds);
    return std::nullopt;
}

DialogText ReadMessageBox(HWND box)
{
    DialogText result;
    result.window = box;
    result.caption = WindowText(box);
    // NOTE: a message box keeps its text in a static control with id 0xFFFF.
    if (HWND text = GetDlgItem(box, 0xFFFF)) result.text = WindowText(text);
    return result;
}

bool PressButton(HWND dialog, int buttonId)
{
    HWND button = GetDlgItem(dialog, buttonId);
    if (button == nullptr) return false;
    // Posted, not sent: the dialog's owner thread may be blocked in a modal loop
    // of another process.
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != 0;
}

bool WaitUntilGone(HWND window, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(20);
    }
    return true;
}

std::optional<DWORD> WaitWithoutWindows(ChildProcess& child, DWORD milliseconds, bool& sawWindow)
{
    sawWindow = false;
    const DWORD start = GetTickCount();
    for (;;) {
        if (!VisibleWindowsOf(child.id()).empty()) sawWindow = true;
        if (auto code = child.Wait(20)) {
            return code;
        }
        if (GetTickCount() - start >= milliseconds) return std::nullopt;
    }
}

HWND WaitForWindow(DWORD processId, const std::string& caption, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        for (HWND window : VisibleWindowsOf(processId))
            if (TextOf(window) == caption) return window;
        Sleep(50);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

std::string TextOf(HWND window)
{
    char buffer[4096] = {};
    const LRESULT n = SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string ClassOf(HWND window) { return ClassName(window); }

bool PressKey(HWND window, UINT virtualKey)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HWND target = window;
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus) target = info.hwndFocus;
    const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    return PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16)) &&
           PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

int Screenshot::Count(RECT area, COLORREF color) const
{
    int count = 0;
    for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, height); ++y)
        for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, width); ++x)
            if (At(x, y) == color) ++count;
    return count;
}

bool Screenshot::SaveBmp(const std::string& path) const
{
    if (width <= 0 || height <= 0) return false;
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageBytes;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = imageBytes;
    std::string data(imageBytes, '\0');
    for (int y = 0; y < height; ++y) {
        char* row = data.data() + static_cast<std::size_t>(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = At(x, y);
            row[x * 3 + 0] = static_cast<char>(GetBValue(c));
            row[x * 3 + 1] = static_cast<char>(GetGValue(c));
            row[x * 3 + 2] = static_cast<char>(GetRValue(c));
        }
    }
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) && written == sizeof file;
    ok = ok && WriteFile(out, &info, sizeof info, &written, nullptr) && written == sizeof info;
    ok = ok && WriteFile(out, data.data(), imageBytes, &written, nullptr) && written == imageBytes;
    CloseHandle(out);
    return ok;
}

Screenshot CaptureWindow(HWND window, bool repaint)
{
    // NOTE: only the client area: without a window manager nobody draws the
    // caption bar under Wine.
    Screenshot picture;
    if (repaint) {
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        // Paint messages of another thread's windows arrive on that thread's own time.
        Sleep(300);
    }
    RECT area{};
    if (!GetClientRect(window, &area)) return picture;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return picture;

    // NOTE: read from the window's own DC, not the screen: what a window draws
    // reaches the screen only when the system flushes its surface.
    HDC source = GetDC(window);
    if (!source) return picture;
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = memory ? CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (bitmap && bits) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY)) {
            GdiFlush();
            picture.width = width;
            picture.height = height;
            picture.pixels.resize(static_cast<std::size_t>(width) * height);
            const auto* pixel = static_cast<const std::uint8_t*>(bits);
            for (std::size_t i = 0; i < picture.pixels.size(); ++i)
                picture.pixels[i] = RGB(pixel[i * 4 + 2], pixel[i * 4 + 1], pixel[i * 4 + 0]);
        }
        SelectObject(memory, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(window, source);
    return picture;
}

RECT AreaInCapture(HWND window, HWND child)
{
    RECT area{};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

std::string SaveScreenshot(const Screenshot& picture, const std::string& name)
{
    const std::string folder = Argument("screenshots");
    if (folder.empty()) return {};
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + name + ".bmp";
    return picture.SaveBmp(path) ? path : std::string();
}

std::string RegValue::Text() const
{
    std::string text = data;
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

std::optional<std::map<std::string, RegValue>> ReadRegValues(const std::string& subKey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    std::map<std::string, RegValue> values;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameLength = sizeof name;
        BYTE data[65536];
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        values[std::string(name, nameLength)] = RegValue{type, std::string(reinterpret_cast<char*>(data), size)};
    }
    RegCloseKey(key);
    return values;
}

bool SetRegValue(const std::string& subKey, const std::string& name, DWORD type, const std::string& data)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                       static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool SetRegString(const std::string& subKey, const std::string& name, const std::string& text)
{
    return SetRegValue(subKey, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

bool SetRegDword(const std::string& subKey, const std::string& name, DWORD value)
{
    return SetRegValue(subKey, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value));
}

bool DeleteRegValue(const std::string& subKey, const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS) return false;
    const LONG result = RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool DeleteRegKey(const std::string& subKey)
{
    const LONG result = RegDeleteTreeA(HKEY_CURRENT_USER, subKey.c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) return false;
    RegDeleteKeyA(HKEY_CURRENT_USER, subKey.c_str());
    return !ReadRegValues(subKey).has_value();
}

ScratchRegistryKey::ScratchRegistryKey(std::string subKey) : subKey_(std::move(subKey)), saved_(ReadRegValues(subKey_))
{
    DeleteRegKey(subKey_);
}

ScratchRegistryKey::~ScratchRegistryKey()
{
    DeleteRegKey(subKey_);
    if (!saved_) return;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(key);
    for (const auto& [name, value] : *saved_) SetRegValue(subKey_, name, value.type, value.data);
}

std::string ClassNameOf(HWND window) { return ClassName(window); }
std::string CaptionOf(HWND window) { return WindowText(window); }

HWND WaitForWindowOfClass(DWORD processId, const std::string& className, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        for (HWND window : VisibleWindowsOf(processId))
            if (ClassName(window) == className) return window;
        Sleep(50);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

BoxWatcher::BoxWatcher(int answer) : answer_(answer), thread_([this] { Watch(); }) {}

BoxWatcher::~BoxWatcher()
{
    stop_ = true;
    thread_.join();
}

std::vector<DialogText> BoxWatcher::Boxes()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

bool BoxWatcher::WaitForBoxes(std::size_t count, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (Boxes().size() < count) {
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(20);
    }
    return true;
}

void BoxWatcher::Watch()
{
    static const int buttons[] = {IDOK, IDCANCEL, IDYES, IDNO};
    while (!stop_) {
        for (HWND window : VisibleWindowsOf(GetCurrentProcessId())) {
            if (ClassName(window) != "#32770" || answered_.count(window)) continue;
            int press = 0;
            if (GetDlgItem(window, answer_)) press = answer_;
            for (int id : buttons)
                if (press == 0 && GetDlgItem(window, id)) press = id;
            if (press == 0) continue;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                boxes_.push_back(ReadMessageBox(window));
            }
            answered_.insert(window);
            PressButton(window, press);
        }
        Sleep(30);
    }
}

namespace {
// NOTE: the old-style folder dialog keeps its status line in a static control with
// this id, its tree in one with the id below.
constexpr int FolderStatusId = 0x3743;
constexpr int FolderTreeId = 0x3741;
constexpr const char* AstrolumeKey = "Software\\Vorsk\\Astrolume";

HWND FolderTree(HWND dialog)
{
    HWND tree = GetDlgItem(dialog, FolderTreeId);
    if (tree == nullptr) tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
    return tree;
}
} // namespace

void SettleFolderTimes(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != ".." && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            SettleFolderTimes(folder + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::optional<HWND> WaitForFolderDialog(DWORD processId, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        for (HWND window : VisibleWindowsOf(processId))
            if (ClassName(window) == "#32770" && FolderTree(window) != nullptr) return window;
        Sleep(50);
    } while (GetTickCount() - start < milliseconds);
    return std::nullopt;
}

std::string FolderDialogStatus(HWND dialog)
{
    HWND status = GetDlgItem(dialog, FolderStatusId);
    return status && IsWindowVisible(status) ? WindowText(status) : std::string();
}

std::string WaitForFolderDialogStatus(HWND dialog, const std::string& expected, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    std::string text;
    for (;;) {
        text = FolderDialogStatus(dialog);
        if (text == expected || GetTickCount() - start >= milliseconds) return text;
        Sleep(20);
    }
}

bool FolderDialogOkEnabled(HWND dialog)
{
    HWND ok = GetDlgItem(dialog, IDOK);
    return ok != nullptr && IsWindowEnabled(ok);
}

bool WaitForFolderDialogOk(HWND dialog, bool expected, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const bool enabled = FolderDialogOkEnabled(dialog);
        if (enabled == expected || GetTickCount() - start >= milliseconds) return enabled;
        Sleep(20);
    }
}

bool SelectFolder(HWND dialog, const std::string& folder)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog, &processId);
    DWORD_PTR result = 0;
    if (processId == GetCurrentProcessId())
        return SendMessageTimeoutA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()),
                                   SMTO_NORMAL, 10000, &result) != 0;

    // The message carries a pointer, which the system does not carry across
    // processes: the path is written into the dialog's own process first.
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) return false;
    bool sent = false;
    void* remote = VirtualAllocEx(process, nullptr, folder.size() + 1, MEM_COMMIT, PAGE_READWRITE);
    if (remote != nullptr) {
        if (WriteProcessMemory(process, remote, folder.c_str(), folder.size() + 1, nullptr))
            sent = SendMessageTimeoutA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote),
                                       SMTO_NORMAL, 10000, &result) != 0;
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return sent;
}

std::string SelectedFolderName(HWND dialog)
{
    HWND tree = FolderTree(dialog);
    if (tree == nullptr) return {};
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (item == nullptr) return {};
    char text[MAX_PATH] = {};
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    // Only meaningful in the dialog's own process: the item record is a pointer.
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return {};
    return text;
}

void ClearStoredDataPath() { DeleteRegValue(AstrolumeKey, "Path"); }

std::optional<std::string> StoredDataPath()
{
    const auto values = ReadRegValues(AstrolumeKey);
    if (!values) return std::nullopt;
    const auto path = values->find("Path");
    if (path == values->end()) return std::nullopt;
    return path->second.Text();
}

void StoreDataPath(const std::string& folder) { SetRegString(AstrolumeKey, "Path", folder); }

} // namespace probe
