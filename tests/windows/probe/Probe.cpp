#include "tests/windows/probe/Probe.h"

#include <algorithm>
#include <fstream>
#include <map>

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

bool IsDialog(HWND window) { return ClassOf(window) == "#32770"; }

using WindowSearch = std::pair<DWORD, std::vector<HWND>>;  // a process, its visible windows

BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM data)
{
    auto& [processId, windows] = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) windows.push_back(window);
    return TRUE;
}

// NOTE: not a GetWindow walk, which a window destroyed on the way ends early
// (and can send round in a loop): a window of the process could go unseen.
std::vector<HWND> VisibleWindowsOf(DWORD processId)
{
    WindowSearch search{processId, {}};
    EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// A 32-bit picture with its rows from the top, as captured and as saved.
BITMAPINFOHEADER TopDownHeader(int width, int height)
{
    return {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
}

std::atomic<int> Copies{0};  // each copy of a key this process keeps has a name of its own

// Copies a key with everything in it to a new name; false when there is no such key.
bool CopyKey(const std::string& from, const std::string& to)
{
    HKEY source = nullptr, target = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, from.c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS) return false;
    const UniqueRegKey ownedSource(source);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr))
        return false;
    return RegCopyTreeA(source, nullptr, UniqueRegKey(target).get()) == ERROR_SUCCESS;
}

// NOTE: the old-style folder dialog keeps its tree and its status line in
// controls with these ids.
constexpr int FolderTreeId = 0x3741, FolderStatusId = 0x3743;

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

TempFolder::~TempFolder()
{
    const std::string from = path_ + '\0';  // a list of paths, ended by an empty one
    SHFILEOPSTRUCTA remove{nullptr, FO_DELETE, from.c_str(), nullptr, FOF_NO_UI, FALSE, nullptr, nullptr};
    SHFileOperationA(&remove);
}

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
    thread_.reset(info.hThread);
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

std::optional<unsigned> ChildProcess::CpuMilliseconds() const
{
    // NOTE: Wine reports no CPU times of another process, but it does those of its threads.
    FILETIME created, ended, kernel, user;
    if (!thread_ || !GetThreadTimes(thread_.get(), &created, &ended, &kernel, &user)) return std::nullopt;
    const auto ticks = [](FILETIME time) { return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime; };
    return static_cast<unsigned>((ticks(kernel) + ticks(user)) / 10000);  // from 100 ns steps
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

HWND WaitForWindowWhere(DWORD processId, DWORD milliseconds, const std::function<bool(HWND)>& match)
{
    const auto find = [&]() -> HWND {
        for (HWND window : VisibleWindowsOf(processId))
            if (match(window)) return window;
        return nullptr;
    };
    return Poll(milliseconds, find, IsSet);
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

COLORREF Screenshot::At(int x, int y) const
{
    const DWORD c = pixels[static_cast<std::size_t>(y) * width + x];
    return RGB(GetBValue(c), GetGValue(c), GetRValue(c));  // 0x00RRGGBB swapped to 0x00BBGGRR
}

int Screenshot::Count(RECT area, const std::function<bool(COLORREF)>& match) const
{
    int count = 0;
    for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, height); ++y)
        for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, width); ++x)
            count += match(At(x, y)) ? 1 : 0;
    return count;
}

namespace {
// `width` x `height` pixels of `source` from (x, y); empty on failure.
Screenshot Grab(HDC source, int x, int y, int width, int height)
{
    if (source == nullptr || width <= 0 || height <= 0) return {};
    const UniqueMemoryDC memory(CreateCompatibleDC(source));
    const UniqueGdiObject bitmap(memory ? CreateCompatibleBitmap(source, width, height) : nullptr);
    if (!bitmap) return {};
    {
        const SelectGuard selected(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, source, x, y, SRCCOPY)) return {};
    }
    Screenshot picture{width, height, std::vector<DWORD>(std::size_t(width) * height)};
    BITMAPINFO info{TopDownHeader(width, height), {}};
    if (GetDIBits(memory.get(), static_cast<HBITMAP>(bitmap.get()), 0, height, picture.pixels.data(), &info,
                  DIB_RGB_COLORS) != height)
        return {};
    return picture;
}
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
    if (!GetClientRect(window, &area)) return {};
    // NOTE: read from the window's own DC, not the screen: what a window draws
    // reaches the screen only when the system flushes its surface.
    const WindowDC source(window);
    return Grab(source.get(), 0, 0, area.right, area.bottom);
}

Screenshot CaptureScreen(RECT area)
{
    const WindowDC screen(nullptr);
    return Grab(screen.get(), area.left, area.top, area.right - area.left, area.bottom - area.top);
}

Screenshot CaptureAsShown(HWND window)
{
    // NOTE: Wine 8 draws text and controls straight to the X server, where no GDI
    // read finds them; there the screen as X shows it is read by ImageMagick's
    // import, a program of the bench's machine that Wine starts like any other.
    // Wine 10 (whose root has no import) keeps them where a read of the screen finds them.
    RECT area{};
    POINT corner{0, 0};
    if (!GetClientRect(window, &area) || !ClientToScreen(window, &corner)) return {};
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);  // another thread's controls paint in their own time
    if (GetFileAttributesA("Z:\\usr\\bin\\import") == INVALID_FILE_ATTRIBUTES) {
        // NOTE: above 96 dpi Wine 10 scales its screen up by the dpi, and what is
        // read of it there comes back black: no picture rather than a wrong one.
        if (GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSY) != 96) return {};
        return CaptureScreen({corner.x, corner.y, corner.x + area.right, corner.y + area.bottom});
    }
    static int taken = 0;
    const std::string file = "/tmp/astrolume-shot-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++taken) + ".bmp";
    std::string command = "import -window root -crop " + std::to_string(area.right) + "x" +
                          std::to_string(area.bottom) + "+" + std::to_string(corner.x) + "+" +
                          std::to_string(corner.y) + " +repage BMP3:" + file;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA("Z:\\usr\\bin\\import", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return {};
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    // A program of the machine's own gives Wine no handle to wait on: the file
    // is whole once it holds every row.
    std::string path = "Z:" + file;
    std::replace(path.begin(), path.end(), '/', '\\');
    const DWORD whole = 54 + ((area.right * 3 + 3) & ~3) * static_cast<DWORD>(area.bottom);
    Poll(
        20000,
        [&] {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow >= whole;
        },
        IsSet);
    Sleep(100);
    const UniqueGdiObject bitmap(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    DeleteFileA(path.c_str());
    const UniqueMemoryDC memory(CreateCompatibleDC(nullptr));
    if (!bitmap || !memory) return {};
    const SelectGuard selected(memory.get(), bitmap.get());
    return Grab(memory.get(), 0, 0, area.right, area.bottom);
}

bool SaveScreenshot(const Screenshot& picture, const std::string& name)
{
    const std::string folder = Argument("screenshots");
    if (folder.empty() || picture.pixels.empty()) return false;
    CreateDirectoryA(folder.c_str(), nullptr);
    const BITMAPINFOHEADER info = TopDownHeader(picture.width, picture.height);
    const DWORD bytes = static_cast<DWORD>(picture.pixels.size() * sizeof(DWORD));
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof info;
    const BITMAPFILEHEADER file{0x4D42 /* "BM" */, offset + bytes, 0, 0, offset};
    std::ofstream out(folder + "\\" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file).write(reinterpret_cast<const char*>(&info), sizeof info);
    return static_cast<bool>(out.write(reinterpret_cast<const char*>(picture.pixels.data()), bytes));
}

bool SetRegString(const std::string& subKey, const std::string& name, const std::string& text)
{
    return RegSetKeyValueA(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), REG_SZ, text.c_str(),
                           static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool DeleteRegKey(const std::string& subKey)
{
    const LONG result = RegDeleteTreeA(HKEY_CURRENT_USER, subKey.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

ScratchRegistryKey::ScratchRegistryKey(std::string subKey)
    : subKey_(std::move(subKey)),
      saved_("Software\\Astrolume test " + std::to_string(GetCurrentProcessId()) + " " + std::to_string(++Copies))
{
    DeleteRegKey(saved_);
    existed_ = CopyKey(subKey_, saved_);
    DeleteRegKey(subKey_);
}

ScratchRegistryKey::~ScratchRegistryKey()
{
    DeleteRegKey(subKey_);
    if (existed_) CopyKey(saved_, subKey_);
    DeleteRegKey(saved_);
}

void SettleFolderTimes(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
            SettleFolderTimes(folder + "\\" + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
}

HWND WaitForFolderDialog(DWORD processId, DWORD milliseconds)
{
    const auto isFolderDialog = [](HWND window) { return IsDialog(window) && GetDlgItem(window, FolderTreeId); };
    return WaitForWindowWhere(processId, milliseconds, isFolderDialog);
}

FolderState FolderDialogState(HWND dialog, const FolderState& expected, DWORD milliseconds)
{
    HWND status = GetDlgItem(dialog, FolderStatusId), ok = GetDlgItem(dialog, IDOK);
    const auto read = [&] {
        return FolderState{status && IsWindowVisible(status) ? TextOf(status) : std::string(), ok && IsWindowEnabled(ok)};
    };
    return Poll(milliseconds, read, [&](const FolderState& state) { return state == expected; });
}

bool SelectFolder(HWND dialog, const std::string& folder)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()), SMTO_NORMAL,
                               10000, &result) != 0;
}

std::string SelectedFolderName(HWND dialog)
{
    HWND tree = GetDlgItem(dialog, FolderTreeId);
    const auto item = tree ? reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) : nullptr;
    char text[MAX_PATH] = {};
    TVITEMA data{TVIF_TEXT, item, 0, 0, text, sizeof text, 0, 0, 0, 0};
    return item && SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)) ? text : std::string();
}

} // namespace probe
