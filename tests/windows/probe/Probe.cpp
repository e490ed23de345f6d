#include "tests/windows/probe/Probe.h"

#include <algorithm>
#include <fstream>

#include <commctrl.h>
#include <shlobj.h>

namespace probe {

namespace {
std::map<std::string, std::string> Arguments;

// Reads `read()` until `done` holds for the value or `milliseconds` have passed,
// looking at least once; the last value read.
// NOTE: nothing signals a window or a text of another process: look again and again.
template <typename Read, typename Done>
auto Poll(DWORD milliseconds, Read read, Done done)
{
    const DWORD start = GetTickCount();
    for (auto value = read();; value = read()) {
        if (done(value) || GetTickCount() - start >= milliseconds) return value;
        Sleep(20);
    }
}

constexpr auto IsSet = [](const auto& value) { return static_cast<bool>(value); };

// The first visible top-level window of the process that `match` accepts; null on timeout.
template <typename Match>
HWND WaitForWindowWhere(DWORD processId, DWORD milliseconds, Match match)
{
    const auto find = [&]() -> HWND {
        for (HWND window : VisibleWindowsOf(processId))
            if (match(window)) return window;
        return nullptr;
    };
    return Poll(milliseconds, find, IsSet);
}

bool IsDialog(HWND window) { return ClassOf(window) == "#32770"; }

// Calls `visit(path, isFolder)` for each entry of a folder but "." and "..".
template <typename Visit>
void ForEachEntry(const std::string& folder, Visit visit)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            visit(folder + "\\" + name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void RemoveTree(const std::string& folder)
{
    ForEachEntry(folder, [](const std::string& path, bool isFolder) {
        if (isFolder) RemoveTree(path);
        else DeleteFileA(path.c_str());
    });
    RemoveDirectoryA(folder.c_str());
}
} // namespace

void ParseArguments(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::size_t equals = argument.find('=');
        if (argument.rfind("--", 0) == 0 && equals != std::string::npos)
            Arguments[argument.substr(2, equals - 2)] = argument.substr(equals + 1);
    }
}

std::string Argument(const std::string& name)
{
    auto found = Arguments.find(name);
    return found == Arguments.end() ? std::string() : WindowsPath(found->second);
}

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/') return path;
    std::string result = "Z:" + path;
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

TempFolder::TempFolder()
{
    // NOTE: not under %TEMP%, which other test processes keep changing: see
    // SettleFolderTimes. The root of a drive is a drive item, which carries no time.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp).substr(0, 3) + "astrolume-test-" + std::to_string(GetCurrentProcessId());
    static int counter = 0;
    do path_ = base + "-" + std::to_string(++counter);
    while (!CreateDirectoryA(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool CopyInto(const std::string& file, const std::string& folder)
{
    const std::string name = file.substr(file.find_last_of("\\/") + 1);  // npos + 1 is 0
    return CopyFileA(file.c_str(), (folder + "\\" + name).c_str(), FALSE) != 0;
}

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments)
{
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return;
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
}

ChildProcess::~ChildProcess()
{
    if (process_ && !Wait(0)) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

std::optional<DWORD> ChildProcess::Wait(DWORD milliseconds)
{
    DWORD code = 0;
    if (!process_ || WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.get(), &code))
        return std::nullopt;
    return code;
}

namespace {
using WindowSearch = std::pair<DWORD, std::vector<HWND>>;  // a process, its visible windows

BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM data)
{
    auto& [processId, windows] = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) windows.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> VisibleWindowsOf(DWORD processId)
{
    WindowSearch search{processId, {}};
    EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::string TextOf(HWND window)
{
    char buffer[4096] = {};
    DWORD_PTR length = 0;
    // A window whose thread has stopped answering reads as empty instead of stopping the test.
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL,
                             10000, &length))
        return {};
    return std::string(buffer, std::min<DWORD_PTR>(length, sizeof buffer - 1));
}

std::string ClassOf(HWND window)
{
    char buffer[256];
    const int length = GetClassNameA(window, buffer, sizeof buffer);
    return std::string(buffer, std::max(length, 0));
}

DialogText ReadMessageBox(HWND box)
{
    // NOTE: a message box keeps its text in a static control with id 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    return {box, TextOf(box), text ? TextOf(text) : std::string()};
}

std::optional<DialogText> WaitForDialog(DWORD processId, DWORD milliseconds)
{
    if (HWND box = WaitForWindowWhere(processId, milliseconds, IsDialog)) return ReadMessageBox(box);
    return std::nullopt;
}

HWND WaitForWindow(DWORD processId, const std::string& caption, DWORD milliseconds)
{
    return WaitForWindowWhere(processId, milliseconds, [&](HWND window) { return TextOf(window) == caption; });
}

HWND WaitForWindowOfClass(DWORD processId, const std::string& className, DWORD milliseconds)
{
    return WaitForWindowWhere(processId, milliseconds, [&](HWND window) { return ClassOf(window) == className; });
}

bool WaitUntilGone(HWND window, DWORD milliseconds)
{
    return Poll(milliseconds, [&] { return !IsWindow(window); }, IsSet);
}

std::optional<DWORD> WaitWithoutWindows(ChildProcess& child, DWORD milliseconds, bool& sawWindow)
{
    sawWindow = false;
    const auto ended = [&] {
        sawWindow = sawWindow || !VisibleWindowsOf(child.id()).empty();
        return child.Wait(0);
    };
    return Poll(milliseconds, ended, IsSet);
}

bool PressButton(HWND dialog, int buttonId)
{
    // Posted, not sent: the dialog's owner thread may be blocked in a modal loop
    // of another process.
    HWND button = GetDlgItem(dialog, buttonId);
    return button &&
           PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool PressKey(HWND window, UINT virtualKey)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND target = window;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus) target = info.hwndFocus;
    const UINT down = 1 | (MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC) << 16);
    return PostMessageA(target, WM_KEYDOWN, virtualKey, down) &&
           PostMessageA(target, WM_KEYUP, virtualKey, down | 0xC0000000u);
}

bool BoxWatcher::WaitForBoxes(std::size_t count, DWORD milliseconds)
{
    return Poll(milliseconds, [&] { return Boxes().size() >= count; }, IsSet);
}

void BoxWatcher::Watch()
{
    for (; !stop_; Sleep(30)) {
        for (HWND window : VisibleWindowsOf(GetCurrentProcessId())) {
            if (!IsDialog(window) || answered_.count(window)) continue;
            int press = 0;
            for (int id : {answer_, IDOK, IDCANCEL, IDYES, IDNO})
                if (press == 0 && GetDlgItem(window, id)) press = id;
            if (press == 0) continue;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                boxes_.push_back(ReadMessageBox(window));
            }
            answered_.insert(window);
            PressButton(window, press);
        }
    }
}

int Screenshot::Count(RECT area, COLORREF color) const
{
    int count = 0;
    for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, height); ++y)
        for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, width); ++x)
            count += At(x, y) == color ? 1 : 0;
    return count;
}

namespace {
// A 32-bit picture with its rows from the top, as captured and as saved.
BITMAPINFOHEADER TopDownHeader(int width, int height)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    return header;
}

// 0x00BBGGRR and a DIB's 0x00RRGGBB swap the same two bytes.
DWORD SwapRedBlue(DWORD c) { return RGB(GetBValue(c), GetGValue(c), GetRValue(c)); }
} // namespace

Screenshot CaptureWindow(HWND window, bool repaint)
{
    // NOTE: only the client area: without a window manager nobody draws the
    // caption bar under Wine.
    if (repaint) {
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        // Paint messages of another thread's windows arrive on that thread's own time.
        Sleep(300);
    }
    RECT area{};
    if (!GetClientRect(window, &area) || area.right <= 0 || area.bottom <= 0) return {};
    // NOTE: read from the window's own DC, not the screen: what a window draws
    // reaches the screen only when the system flushes its surface.
    const WindowDC source(window);
    const UniqueMemoryDC memory(source ? CreateCompatibleDC(source.get()) : nullptr);
    const UniqueGdiObject bitmap(memory ? CreateCompatibleBitmap(source.get(), area.right, area.bottom) : nullptr);
    if (!bitmap) return {};
    {
        const SelectGuard selected(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, area.right, area.bottom, source.get(), 0, 0, SRCCOPY)) return {};
    }
    Screenshot picture{area.right, area.bottom, std::vector<COLORREF>(std::size_t(area.right) * area.bottom)};
    BITMAPINFO info{};
    info.bmiHeader = TopDownHeader(area.right, area.bottom);
    if (GetDIBits(memory.get(), static_cast<HBITMAP>(bitmap.get()), 0, area.bottom, picture.pixels.data(), &info,
                  DIB_RGB_COLORS) != area.bottom)
        return {};
    std::transform(picture.pixels.begin(), picture.pixels.end(), picture.pixels.begin(), SwapRedBlue);
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
    if (folder.empty() || picture.pixels.empty()) return {};
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + name + ".bmp";
    std::vector<DWORD> pixels(picture.pixels.size());
    std::transform(picture.pixels.begin(), picture.pixels.end(), pixels.begin(), SwapRedBlue);
    const BITMAPINFOHEADER info = TopDownHeader(picture.width, picture.height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size() * sizeof(DWORD));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file).write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size() * sizeof(DWORD)));
    return out ? path : std::string();
}

namespace {
constexpr const char* AstrolumeKey = "Software\\Vorsk\\Astrolume";

// An existing key, or one made when `create`; null when it cannot be had.
UniqueRegKey OpenKey(const std::string& subKey, REGSAM access, bool create = false)
{
    HKEY key = nullptr;
    const LONG result = create ? RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, access, nullptr,
                                                 &key, nullptr)
                               : RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, access, &key);
    return UniqueRegKey(result == ERROR_SUCCESS ? key : nullptr);
}

bool SetRegValue(const std::string& subKey, const std::string& name, DWORD type, const std::string& data)
{
    const UniqueRegKey key = OpenKey(subKey, KEY_WRITE, true);
    return key && RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}
} // namespace

std::string RegValue::Text() const
{
    return !data.empty() && data.back() == '\0' ? data.substr(0, data.size() - 1) : data;
}

std::optional<std::map<std::string, RegValue>> ReadRegValues(const std::string& subKey)
{
    const UniqueRegKey key = OpenKey(subKey, KEY_READ);
    if (!key) return std::nullopt;
    std::map<std::string, RegValue> values;
    std::string name(16384, '\0'), data(65536, '\0');  // the longest name, and data enough for any test
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(key.get(), index, name.data(), &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
            return values;
        values[name.substr(0, nameLength)] = RegValue{type, data.substr(0, size)};
    }
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
    const UniqueRegKey key = OpenKey(subKey, KEY_WRITE);
    return key && RegDeleteValueA(key.get(), name.c_str()) == ERROR_SUCCESS;
}

bool DeleteRegKey(const std::string& subKey)
{
    const LONG result = RegDeleteTreeA(HKEY_CURRENT_USER, subKey.c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) return false;
    RegDeleteKeyA(HKEY_CURRENT_USER, subKey.c_str());
    return !OpenKey(subKey, KEY_READ);
}

ScratchRegistryKey::ScratchRegistryKey(std::string subKey) : subKey_(std::move(subKey)), saved_(ReadRegValues(subKey_))
{
    DeleteRegKey(subKey_);
}

ScratchRegistryKey::~ScratchRegistryKey()
{
    DeleteRegKey(subKey_);
    if (!saved_ || !OpenKey(subKey_, KEY_WRITE, true)) return;  // a key without values comes back too
    for (const auto& [name, value] : *saved_) SetRegValue(subKey_, name, value.type, value.data);
}

void ClearStoredDataPath() { DeleteRegValue(AstrolumeKey, "Path"); }

std::optional<std::string> StoredDataPath()
{
    const auto values = ReadRegValues(AstrolumeKey);
    if (!values || values->count("Path") == 0) return std::nullopt;
    return values->at("Path").Text();
}

void StoreDataPath(const std::string& folder) { SetRegString(AstrolumeKey, "Path", folder); }

namespace {
// NOTE: the old-style folder dialog keeps its status line in a static control with
// this id, its tree in one with the id below.
constexpr int FolderStatusId = 0x3743;
constexpr int FolderTreeId = 0x3741;

HWND FolderTree(HWND dialog)
{
    HWND tree = GetDlgItem(dialog, FolderTreeId);
    return tree ? tree : FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
}
} // namespace

void SettleFolderTimes(const std::string& folder)
{
    ForEachEntry(folder, [](const std::string& path, bool isFolder) {
        if (isFolder) SettleFolderTimes(path);
    });
}

std::optional<HWND> WaitForFolderDialog(DWORD processId, DWORD milliseconds)
{
    const auto isFolderDialog = [](HWND window) { return IsDialog(window) && FolderTree(window); };
    if (HWND dialog = WaitForWindowWhere(processId, milliseconds, isFolderDialog)) return dialog;
    return std::nullopt;
}

std::string FolderDialogStatus(HWND dialog)
{
    HWND status = GetDlgItem(dialog, FolderStatusId);
    return status && IsWindowVisible(status) ? TextOf(status) : std::string();
}

std::string WaitForFolderDialogStatus(HWND dialog, const std::string& expected, DWORD milliseconds)
{
    const auto reads = [&](const std::string& text) { return text == expected; };
    return Poll(milliseconds, [&] { return FolderDialogStatus(dialog); }, reads);
}

bool WaitForFolderDialogOk(HWND dialog, bool expected, DWORD milliseconds)
{
    HWND ok = GetDlgItem(dialog, IDOK);
    return Poll(milliseconds, [&] { return ok && IsWindowEnabled(ok); }, [&](bool on) { return on == expected; });
}

bool SelectFolder(HWND dialog, const std::string& folder)
{
    // The message carries a pointer, which the system does not carry across
    // processes: the path is written into the dialog's own process first.
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog, &processId);
    const UniqueKernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId));
    void* remote = process ? VirtualAllocEx(process.get(), nullptr, folder.size() + 1, MEM_COMMIT, PAGE_READWRITE)
                           : nullptr;
    if (remote == nullptr) return false;
    DWORD_PTR result = 0;
    const bool sent = WriteProcessMemory(process.get(), remote, folder.c_str(), folder.size() + 1, nullptr) &&
                      SendMessageTimeoutA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote),
                                          SMTO_NORMAL, 10000, &result);
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return sent;
}

std::string SelectedFolderName(HWND dialog)
{
    HWND tree = FolderTree(dialog);
    const auto item = tree ? reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) : nullptr;
    char text[MAX_PATH] = {};
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    // Only meaningful in the dialog's own process: the item record is a pointer.
    return item && SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)) ? text : std::string();
}

} // namespace probe
