// The data-library search against real test libraries, the real registry and the
// real shell folder dialog.
#include "common/DataLibrary.h"
#include "support/BrowseDir.h"
#include "support/Handles.h"
#include "tests/windows/FolderDialogDriver.h"

#include <gtest/gtest.h>

namespace {

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

std::string ModulePath(HMODULE module)
{
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    return std::string(path, n);
}

std::string TestLibrary(const char* variant) { return probe::Argument("testdata") + "\\" + variant + "\\duzidad.dll"; }

class DataSearch : public ::testing::Test {
protected:
    void SetUp() override { probe::ClearStoredDataPath(); }
    void TearDown() override
    {
        ReleaseDataLibrary();
        DataLoaded = false;
        probe::ClearStoredDataPath();
    }

    // A new folder holding a copy of one test library; nullptr for an empty one.
    std::string Folder(const char* variant)
    {
        const std::string folder = temp / (std::to_string(++folders) + (variant ? variant : "-empty"));
        EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        if (variant) {
            EXPECT_TRUE(probe::CopyInto(TestLibrary(variant), folder));
        }
        return folder;
    }

    // The search as start-up runs it; returns how many folder dialogs it opened.
    int Search(const std::string& programFolder, const std::function<void(HWND)>& drive = nullptr)
    {
        probe::SettleFolderTimes(temp.path());
        return probe::RunWithFolderDialog(
            [&] { DataLoaded = LocateDataLibraryFrom(DataLibraryName, programFolder); }, drive);
    }

    probe::TempFolder temp;
    int folders = 0;
};

TEST_F(DataSearch, StoredFolderThenProgramFolderWithoutDialog)
{
    enum Used { None, Stored, Beside };
    const struct {
        const char* name;
        const char* stored;  // variant in the stored folder; no "Path" at all when null
        const char* beside;  // variant beside the program; nothing when null
        Used used;
    } cases[] = {
        {"nothing stored, library beside the program", nullptr, "v272", Beside},
        {"stored one of another version: the program's of any version", "v271", "v271", Beside},
        {"stored one without the export", "noexport", "v272", Beside},
        {"stored one passes and wins", "v272", "v271", Stored},
        {"stored file that is no module ends the search", "notpe", "v272", None},
        {"program's file that is no module", "", "notpe", None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string stored = c.stored ? Folder(*c.stored ? c.stored : nullptr) : std::string();
        const std::string program = Folder(c.beside);
        if (c.stored) probe::StoreDataPath(stored);

        EXPECT_EQ(Search(program), 0) << "no dialog";
        EXPECT_EQ(DataLoaded, c.used != None);
        if (c.used == None) {
            EXPECT_EQ(DataLibrary, nullptr);
        } else {
            const std::string folder = c.used == Stored ? stored : program;
            EXPECT_EQ(DataPath, folder);
            EXPECT_TRUE(SamePath(ModulePath(DataLibrary), folder + "\\duzidad.dll")) << ModulePath(DataLibrary);
        }
        EXPECT_EQ(probe::StoredDataPath(), c.stored ? std::optional<std::string>(stored) : std::nullopt)
            << "the search never rewrites what is stored";

        ReleaseDataLibrary();
        DataLoaded = false;
        probe::ClearStoredDataPath();
    }
}

TEST_F(DataSearch, DialogChecksEveryFolderAndStoresTheConfirmedOne)
{
    const std::string program = Folder(nullptr);
    probe::StoreDataPath(Folder(nullptr)); // a remembered folder that no longer holds the library
    const std::string noexport = Folder("noexport"), v271 = Folder("v271"), notpe = Folder("notpe"),
                      v272 = Folder("v272"), empty = Folder(nullptr);

    const int dialogs = Search(program, [&](HWND dialog) {
        char caption[64] = {};
        GetWindowTextA(dialog, caption, sizeof caption);
        EXPECT_STREQ(caption, "Select folder with data");
        EXPECT_EQ(probe::WaitForFolderDialogStatus(dialog, "The Data file not found.", 5000),
                  "The Data file not found.");
        EXPECT_EQ(probe::SelectedFolderName(dialog), program.substr(program.find_last_of('\\') + 1))
            << "opens on the program's folder";
        EXPECT_FALSE(probe::WaitForFolderDialogOk(dialog, false, 2000));

        const struct {
            std::string folder;
            const char* status;
            bool ok;
        } steps[] = {
            {noexport, "The Data file was not matching.", false},
            {v271, "The Data file version incorrect.", false},
            {v272, "The Data file found.", true},
            {notpe, "The Data file was not loaded.", false},
            {empty, "The Data file not found.", false},
            {v272, "The Data file found.", true},
        };
        for (const auto& step : steps) {
            ASSERT_TRUE(probe::SelectFolder(dialog, step.folder));
            EXPECT_EQ(probe::FolderDialogStatus(dialog), step.status) << step.folder;
            EXPECT_EQ(probe::WaitForFolderDialogOk(dialog, step.ok, 2000), step.ok) << step.folder;
        }
        probe::PressButton(dialog, IDOK);
    });

    EXPECT_EQ(dialogs, 1);
    ASSERT_TRUE(DataLoaded);
    EXPECT_TRUE(SamePath(DataPath, v272)) << DataPath;
    EXPECT_TRUE(SamePath(ModulePath(DataLibrary), v272 + "\\duzidad.dll"));
    ASSERT_TRUE(probe::StoredDataPath().has_value());
    EXPECT_TRUE(SamePath(*probe::StoredDataPath(), v272));

    // The next start finds it through "Path", without a dialog.
    ReleaseDataLibrary();
    DataLoaded = false;
    EXPECT_EQ(Search(Folder(nullptr)), 0);
    EXPECT_TRUE(DataLoaded);
    EXPECT_TRUE(SamePath(DataPath, v272)) << DataPath << " stored " << probe::StoredDataPath().value_or("nothing");
}

TEST_F(DataSearch, CancelledDialogLeavesNothingLoadedOrStored)
{
    const std::string program = Folder(nullptr);
    const int dialogs = Search(program, [](HWND dialog) {
        EXPECT_EQ(probe::WaitForFolderDialogStatus(dialog, "The Data file not found.", 5000),
                  "The Data file not found.");
        probe::PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(DataLoaded);
    EXPECT_EQ(DataLibrary, nullptr);
    EXPECT_FALSE(probe::StoredDataPath().has_value());
}

TEST_F(DataSearch, ConfirmedFolderWhoseLibraryNoLongerLoadsIsNotStored)
{
    const std::string program = Folder(nullptr), v272 = Folder("v272");
    Search(program, [&](HWND dialog) {
        ASSERT_TRUE(probe::SelectFolder(dialog, v272));
        ASSERT_TRUE(probe::WaitForFolderDialogOk(dialog, true, 2000));
        // Replaced between the check and the confirmation.
        ASSERT_TRUE(CopyFileA(TestLibrary("notpe").c_str(), (v272 + "\\duzidad.dll").c_str(), FALSE));
        probe::PressButton(dialog, IDOK);
    });
    EXPECT_FALSE(DataLoaded);
    EXPECT_EQ(DataLibrary, nullptr);
    EXPECT_FALSE(probe::StoredDataPath().has_value());
}

// A library planted in the root of the current drive must never be loaded when no
// folder is stored: neither by the search nor by the dialog's check of an item that
// has no path.
TEST_F(DataSearch, RootOfTheCurrentDriveIsNoCandidate)
{
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(temp.path().c_str()));
    const std::string planted = "\\duzidad.dll";
    ASSERT_TRUE(CopyFileA(TestLibrary("v272").c_str(), planted.c_str(), FALSE)) << "cannot plant in the root";

    for (bool emptyValue : {false, true}) {
        SCOPED_TRACE(emptyValue ? "empty \"Path\"" : "no \"Path\"");
        if (emptyValue) probe::StoreDataPath("");
        const int dialogs = Search(Folder(nullptr));
        EXPECT_EQ(dialogs, 1) << "the search must ask instead of loading the planted library";
        EXPECT_FALSE(DataLoaded);
        EXPECT_EQ(DataLibrary, nullptr);
    }

    TBrowseDir browser(nullptr);
    browser.UserText = DataLibraryName;
    browser.EnableOK(true);
    ValidateDataFolder(browser, "");
    EXPECT_EQ(browser.StatusText, "The Data file not found.");
    EXPECT_FALSE(browser.OKEnabled);

    DeleteFileA(planted.c_str());
    SetCurrentDirectoryA(previous);
}

// A program in the root of a drive looks beside itself there, without a doubled backslash.
TEST_F(DataSearch, ProgramInTheRootOfADrive)
{
    const std::string root = temp.path().substr(0, 3); // "C:\"
    const std::string library = root + "duzidad.dll";
    ASSERT_TRUE(CopyFileA(TestLibrary("v271").c_str(), library.c_str(), FALSE));
    EXPECT_EQ(Search(root), 0);
    EXPECT_TRUE(DataLoaded) << "beside the program, any version";
    EXPECT_EQ(DataPath, root.substr(0, 2));
    EXPECT_TRUE(SamePath(ModulePath(DataLibrary), library));
    ReleaseDataLibrary();
    DataLoaded = false;
    DeleteFileA(library.c_str());
}

TEST_F(DataSearch, FolderCheckReleasesItsTrialLoadAndRestoresTheErrorMode)
{
    const struct {
        const char* variant;
        const char* status;
        bool ok;
    } cases[] = {
        {nullptr, "The Data file not found.", false},
        {"notpe", "The Data file was not loaded.", false},
        {"noexport", "The Data file was not matching.", false},
        {"v271", "The Data file version incorrect.", false},
        {"v272", "The Data file found.", true},
    };
    const UINT before = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variant ? c.variant : "empty folder");
        const std::string folder = Folder(c.variant);
        TBrowseDir browser(nullptr);
        browser.UserText = DataLibraryName;
        browser.OKEnabled = !c.ok;
        ValidateDataFolder(browser, folder);
        EXPECT_EQ(browser.StatusText, c.status);
        EXPECT_EQ(browser.OKEnabled, c.ok);
        EXPECT_EQ(GetModuleHandleA((folder + "\\duzidad.dll").c_str()), nullptr) << "trial load not released";
        EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
    }
    SetErrorMode(before);
}

TEST_F(DataSearch, CheckLeavesTheMessageAloneOnSuccess)
{
    UniqueModule library(LoadLibraryA(TestLibrary("v272").c_str()));
    ASSERT_TRUE(library);
    std::string message = "unchanged";
    EXPECT_TRUE(CheckDataLibrary(library.get(), message));
    EXPECT_EQ(message, "unchanged");
}

} // namespace
