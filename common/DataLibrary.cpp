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

} // namespace

bool CheckDataLibrary(HMODULE Module, std::string& Message)
{
    using VersionFunction = int(WINAPI*)();
    const FARPROC address = GetProcAddress(Module, "ORB_GetVersion");
    if (address == nullptr) {
        FreeLibrary(Module);
        Message = DataNotMatchingText;
        return false;
    }
    const auto version = reinterpret_cast<VersionFunction>(reinterpret_cast<void (*)()>(address));
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

bool LocateDataLibraryFrom(const char* FileName, const std::string& ProgramFolder)
{
    DataLibrary = nullptr;
    bool found = false;

    // The remembered folder. NOTE: nothing stored means no candidate at all; a bare
    // "\duzidad.dll" would name whatever library lies in the root of the current drive.
    DataPath = ReadDataPath();
    if (!DataPath.empty()) {
        const std::string remembered = Candidate(DataPath, FileName);
        if (FileExists(remembered)) {
            DataLibrary = QuietLoadLibrary(remembered.c_str());
            if (DataLibrary == nullptr) return false;
            std::string ignored;
            found = CheckDataLibrary(DataLibrary, ignored);
            if (!found) DataLibrary = nullptr;
        }
    }
    if (found) return true;

    // Beside the program, used as it is.
    DataPath = WithoutTrailingBackslash(ProgramFolder);
    const std::string beside = Candidate(DataPath, FileName);
    if (FileExists(beside)) {
        DataLibrary = QuietLoadLibrary(beside.c_str());
        return DataLibrary != nullptr;
    }

    // Ask the user; the dialog enables OK only for a folder whose library passed.
    TBrowseDir browser(nullptr);
    browser.RootFolder = 0;
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

bool LocateDataLibrary(const char* FileName) { return LocateDataLibraryFrom(FileName, ProgramFolder()); }

void ReleaseDataLibrary()
{
    if (DataLoaded && DataLibrary != nullptr) FreeLibrary(DataLibrary);
    DataLibrary = nullptr;
}
