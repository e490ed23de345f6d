#include "support/BrowseDir.h"

#include "support/Files.h"

namespace {

// The shell allocator, released on every path out of Execute.
class ShellMalloc {
public:
    ShellMalloc()
    {
        if (FAILED(SHGetMalloc(&malloc_))) malloc_ = nullptr;
    }
    ~ShellMalloc()
    {
        if (malloc_) malloc_->Release();
    }
    ShellMalloc(const ShellMalloc&) = delete;
    ShellMalloc& operator=(const ShellMalloc&) = delete;

    IMalloc* get() const { return malloc_; }

private:
    IMalloc* malloc_ = nullptr;
};

// Memory of the shell allocator (name buffers, item lists).
class ShellMemory {
public:
    ShellMemory(IMalloc* malloc, void* memory) : malloc_(malloc), memory_(memory) {}
    ~ShellMemory()
    {
        if (memory_) malloc_->Free(memory_);
    }
    ShellMemory(const ShellMemory&) = delete;
    ShellMemory& operator=(const ShellMemory&) = delete;

    void* get() const { return memory_; }

private:
    IMalloc* malloc_;
    void* memory_;
};

std::string PathOf(LPCITEMIDLIST ItemIdList)
{
    char path[MAX_PATH] = {};
    if (ItemIdList == nullptr || !SHGetPathFromIDListA(ItemIdList, path)) return {};
    path[MAX_PATH - 1] = '\0';
    return path;
}

} // namespace

TBrowseDir::TBrowseDir(HWND Owner) : Owner(Owner) {}

void TBrowseDir::SetStatusText(const std::string& Text)
{
    StatusText = Text;
    if (Handle) SendMessageA(Handle, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(StatusText.c_str()));
}

void TBrowseDir::SetFolder(const std::string& Text)
{
    // NOTE: compared without the backslash, so that "C:\Data\" after "C:\Data"
    // does not select the same folder a second time.
    std::string folder = WithoutTrailingBackslash(Text);
    if (folder == Folder) return;
    Folder = std::move(folder);
    if (Handle) SendMessageA(Handle, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(Folder.c_str()));
}

void TBrowseDir::EnableOK(bool Flag)
{
    OKEnabled = Flag;
    if (Handle) SendMessageA(Handle, BFFM_ENABLEOK, 0, Flag ? 1 : 0);
}

void TBrowseDir::DoInitialized(HWND Window)
{
    Handle = Window;

    RECT frame{};
    if (GetWindowRect(Window, &frame)) {
        const int x = (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2;
        SetWindowPos(Window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    const ULONG_PTR icon = Owner ? GetClassLongPtrA(Owner, GCLP_HICONSM) : 0;
    SetClassLongPtrA(Window, GCLP_HICON, static_cast<LONG_PTR>(icon));

    if (!Title.empty()) SetWindowTextA(Window, Title.c_str());
    if (!StatusText.empty()) SendMessageA(Window, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(StatusText.c_str()));
    SendMessageA(Window, BFFM_ENABLEOK, 0, OKEnabled ? 1 : 0);
    // The shell reports this selection, so the handler sees the first folder too.
    if (!Folder.empty()) SendMessageA(Window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(Folder.c_str()));
}

void TBrowseDir::DoSelChanged(HWND Window, LPCITEMIDLIST ItemIdList)
{
    if (!OnSelChanged) return;
    OnSelChanged(*this, PathOf(ItemIdList));
    // NOTE: some shells (Wine's) run their own check of the selection after this
    // notification and set the OK button from it, undoing the handler's choice.
    // Posted, the handler's state is applied once that check is done; where the
    // shell checks first, this repeats what is already shown.
    if (Handle) PostMessageA(Window, BFFM_ENABLEOK, 0, OKEnabled ? 1 : 0);
}

int CALLBACK TBrowseDir::Callback(HWND Window, UINT Message, LPARAM Parameter, LPARAM Data)
{
    auto* browser = reinterpret_cast<TBrowseDir*>(Data);
    if (browser == nullptr) return 0;
    // Nothing may unwind into the shell's dialog procedure.
    try {
        if (Message == BFFM_INITIALIZED) browser->DoInitialized(Window);
        else if (Message == BFFM_SELCHANGED) browser->DoSelChanged(Window, reinterpret_cast<LPCITEMIDLIST>(Parameter));
    } catch (...) {
    }
    return 0;
}

bool TBrowseDir::Execute()
{
    if (!DirectoryExists(Folder)) Folder.clear();

    bool confirmed = false;
    {
        ShellMalloc malloc;
        if (malloc.get() == nullptr) {
            Folder.clear();
            return false;
        }
        ShellMemory name(malloc.get(), malloc.get()->Alloc(MAX_PATH));
        if (name.get() == nullptr) {
            Folder.clear();
            return false;
        }
        BROWSEINFOA info{};
        info.hwndOwner = Owner;
        info.pidlRoot = nullptr;  // the whole namespace, from the desktop down
        info.pszDisplayName = static_cast<char*>(name.get());
        info.lpszTitle = Instruction.c_str();
        info.ulFlags = BrowseFlags(Options, !StatusText.empty());
        info.lpfn = Callback;
        info.lParam = reinterpret_cast<LPARAM>(this);

        ShellMemory chosen(malloc.get(), SHBrowseForFolderA(&info));
        if (chosen.get()) {
            char* path = static_cast<char*>(name.get());
            // A confirmed item without a file-system path is no folder to hand back.
            if (SHGetPathFromIDListA(static_cast<LPCITEMIDLIST>(chosen.get()), path)) {
                path[MAX_PATH - 1] = '\0';
                Folder = path;
                confirmed = true;
            }
        }
    }
    if (!confirmed) Folder.clear();
    return confirmed;
}
