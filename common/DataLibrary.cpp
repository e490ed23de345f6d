#include "common/DataLibrary.h"

#include "common/Settings.h"
#include "support/BrowseDir.h"
#include "support/Files.h"
#include "support/Handles.h"

HMODULE DataLibrary = nullptr;
bool DataLoaded = false;
std::string DataPath;

namespace {

std::string Candidate(const std::string& Folder, const char* FileName) { return Folder + "\\" + FileName; }

// Quiet-loads and checks the library of a remembered folder into DataLibrary
// (left null unless it passed).
bool TryFolder(const std::string& Folder, const char* FileName)
{
    DataLibrary = nullptr;
    const std::string path = Candidate(Folder, FileName);
    if (!FileExists(path)) return false;
    HMODULE module = QuietLoadLibrary(path.c_str());
    std::string ignored;
    if (module == nullptr || !CheckDataLibrary(module, ignored)) return false;
    DataLibrary = module;
    return true;
}

// The folder the installer recorded for every user of the machine; empty when
// there is none. Only the installer writes it.
std::string MachineDataPath()
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, MachineDataKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
    UniqueRegKey key(opened);
    std::string path;
    if (!ReadRegString(key.get(), "Path", path)) path.clear();
    return path;
}

} // namespace

bool CheckDataLibrary(HMODULE Module, std::string& Message)
{
    const auto version = EntryPoint<int WINAPI()>(Module, "ORB_GetVersion");
    if (version == nullptr) {
        FreeLibrary(Module);
        Message = DataNotMatchingText;
        return false;
    }
    if (version() == DataLibraryVersion) return true;
    FreeLibrary(Module);
    Message = DataWrongVersionText;
    return false;
}

void ValidateDataFolder(TBrowseDir& Browser, const std::string& Folder)
{
    std::string message = DataNotFoundText;
    bool ok = false;
    try {
        // An item without a path (the computer, the network) has no library; the
        // empty text must not become a file in the root of the current drive.
        const std::string path = Candidate(Folder, Browser.UserText.c_str());
        if (!Folder.empty() && FileExists(path)) {
            HMODULE module = QuietLoadLibrary(path.c_str());
            if (module == nullptr) {
                message = DataNotLoadedText;
            } else if (CheckDataLibrary(module, message)) {
                message = DataFoundText;
                ok = true;
                FreeLibrary(module); // only a trial: the confirmed folder is loaded again
            }
        }
    } catch (...) {
        // The status line below is updated whatever happened above.
    }
    Browser.SetStatusText(message);
    Browser.EnableOK(ok);
}

bool LocateDataLibraryFrom(const char* FileName, const std::string& ProgramFolder, bool MayAsk)
{
    DataLibrary = nullptr;

    // The remembered folder. NOTE: nothing stored means no candidate at all; a bare
    // "\duzidad.dll" would name whatever library lies in the root of the current drive.
    // A library there that does not load (another bitness's, a damaged file) or fails
    // its check is passed over: the program's own or the installed one may well work.
    DataPath = ReadDataPath();
    if (!DataPath.empty() && TryFolder(DataPath, FileName)) return true;

    // Beside the program, used as it is.
    DataPath = WithoutTrailingBackslash(ProgramFolder);
    const std::string beside = Candidate(DataPath, FileName);
    if (FileExists(beside)) {
        DataLibrary = QuietLoadLibrary(beside.c_str());
        return DataLibrary != nullptr;
    }

    // The machine-wide install, checked like the user's own folder. A library there
    // that does not load is no reason to refuse the user a choice: the dialog follows.
    const std::string machine = MachineDataPath();
    if (!machine.empty() && TryFolder(machine, FileName)) {
        DataPath = machine;
        return true;
    }

    if (!MayAsk) return false;
    // Ask the user; the dialog enables OK only for a folder whose library passed.
    TBrowseDir browser(nullptr);
    browser.Options = boReturnOnlyFSDirs | boBrowseForComputer;
    browser.Title = DataFolderTitle;
    browser.SetFolder(ProgramFolder);
    // A status text gives the dialog its status line. The dialog opens only after
    // the program's folder failed, so until a selection is checked it says so
    // (OK stays disabled); a claim of success here would be shown as long as the
    // shell reports no first selection.
    browser.SetStatusText(DataNotFoundText);
    browser.UserText = FileName;
    browser.OnSelChanged = ValidateDataFolder;
    if (!browser.Execute()) return false;

    DataPath = browser.Folder;
    DataLibrary = QuietLoadLibrary(Candidate(DataPath, FileName).c_str());
    if (DataLibrary == nullptr) return false;
    WriteDataPath(DataPath);
    return true;
}

bool LocateDataLibrary(const char* FileName, bool MayAsk)
{
    return LocateDataLibraryFrom(FileName, ProgramFolder(), MayAsk);
}

void ReleaseDataLibrary()
{
    if (DataLoaded && DataLibrary != nullptr) FreeLibrary(DataLibrary);
    DataLibrary = nullptr;
}
