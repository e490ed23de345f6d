// The data-library search against real test libraries, the real registry and the
// real shell folder dialog.
#include "common/DataLibrary.h"
#include "support/BrowseDir.h"
#include "tests/windows/FolderDialogDriver.h"

#include <gtest/gtest.h>

namespace {

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

std::string ModulePath(HMODULE module)
{
    char path[MAX_PATH] = {};
    return std::string(path, GetModuleFileNameA(module, path, MAX_PATH));
}

std::string TestLibrary(const char* variant) { return probe::Argument("testdata") + "\\" + variant + "\\duzidad.dll"; }

class DataSearch : public ::testing::Test {
protected:
    void SetUp() override { probe::ClearStoredDataPath(); }
    void TearDown() override { Forget(); }
    void Forget()
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
        EXPECT_TRUE(!variant || probe::CopyInto(TestLibrary(variant), folder));
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
        const char* stored;  // variant in the stored folder ("" empty); no "Path" at all when null
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
        Forget();
    }
}

TEST_F(DataSearch, DialogChecksEveryFolderAndTheConfirmedOneIsFoundNextTime)
{
    const std::string program = Folder(nullptr);
    probe::StoreDataPath(Folder(nullptr)); // a remembered folder that no longer holds the library
    const std::string chosen = Folder("v272");
    const struct {
        std::string folder;
        const char* status;
        bool ok;
    } steps[] = {
        {Folder("noexport"), "The Data file was not matching.", false},
        {Folder("v271"), "The Data file version incorrect.", false},
        {chosen, "The Data file found.", true},
        {Folder("notpe"), "The Data file was not loaded.", false},
        {Folder(nullptr), "The Data file not found.", false},
        {chosen, "The Data file found.", true},
    };
    const UINT errorMode = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    EXPECT_EQ(Search(program, [&](HWND dialog) {
        EXPECT_EQ(probe::CaptionOf(dialog), "Select folder with data");
        EXPECT_EQ(probe::SelectedFolderName(dialog), program.substr(program.rfind('\\') + 1));
        for (const auto& step : steps) {
            ASSERT_TRUE(probe::SelectFolder(dialog, step.folder));
            EXPECT_EQ(probe::FolderDialogStatus(dialog), step.status) << step.folder;
            EXPECT_EQ(probe::WaitForFolderDialogOk(dialog, step.ok, 2000), step.ok) << step.folder;
            EXPECT_EQ(GetModuleHandleA((step.folder + "\\duzidad.dll").c_str()), nullptr) << "trial load kept";
            EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX)) << "quiet load not undone";
        }
        probe::PressButton(dialog, IDOK);
    }), 1);
    SetErrorMode(errorMode);

    ASSERT_TRUE(DataLoaded);
    EXPECT_TRUE(SamePath(DataPath, chosen)) << DataPath;
    EXPECT_TRUE(SamePath(ModulePath(DataLibrary), chosen + "\\duzidad.dll"));
    EXPECT_TRUE(SamePath(probe::StoredDataPath().value_or(""), chosen));

    ReleaseDataLibrary();
    DataLoaded = false;
    EXPECT_EQ(Search(Folder(nullptr)), 0) << "the next start finds it through \"Path\"";
    EXPECT_TRUE(DataLoaded);
    EXPECT_TRUE(SamePath(DataPath, chosen)) << DataPath;
}

// Obvious fault: the dialog used to open claiming "The Data file found." with OK
// disabled whenever the shell reported no first selection (here: a program folder
// that does not exist). It opens where the search has just failed, and says so
// until a selection is checked.
TEST_F(DataSearch, DialogOpensSayingNotFoundAndNothingIsKeptWithoutALoadableChoice)
{
    for (bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "cancelled" : "replaced by a file that is no module before OK");
        const std::string program = cancel ? temp / "missing" : Folder(nullptr), v272 = Folder("v272");
        EXPECT_EQ(Search(program, [&](HWND dialog) {
            EXPECT_EQ(probe::WaitForFolderDialogStatus(dialog, "The Data file not found.", 5000),
                      "The Data file not found.");
            EXPECT_FALSE(probe::WaitForFolderDialogOk(dialog, false, 500));
            ASSERT_TRUE(probe::SelectFolder(dialog, v272));
            ASSERT_TRUE(probe::WaitForFolderDialogOk(dialog, true, 2000));
            if (!cancel) {
                ASSERT_TRUE(CopyFileA(TestLibrary("notpe").c_str(), (v272 + "\\duzidad.dll").c_str(), FALSE));
            }
            probe::PressButton(dialog, cancel ? IDCANCEL : IDOK);
        }), 1);
        EXPECT_FALSE(DataLoaded);
        EXPECT_EQ(DataLibrary, nullptr);
        EXPECT_FALSE(probe::StoredDataPath().has_value());
    }
}

// Obvious fault: a library planted in the root of the current drive must never be
// loaded when no folder is stored, neither by the search nor by the dialog's check
// of an item that has no path.
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
        EXPECT_EQ(Search(Folder(nullptr)), 1) << "the search must ask instead of loading the planted library";
        EXPECT_FALSE(DataLoaded);
        EXPECT_EQ(DataLibrary, nullptr);
    }

    TBrowseDir browser(nullptr);
    browser.UserText = DataLibraryName;
    browser.EnableOK(true);
    ValidateDataFolder(browser, "");
    EXPECT_EQ(browser.StatusText, "The Data file not found.");
    EXPECT_FALSE(browser.OKEnabled);

    // A program in the root of that drive finds it beside itself, without a doubled backslash.
    const std::string root = temp.path().substr(0, 3); // "C:\"
    EXPECT_EQ(Search(root), 0);
    EXPECT_TRUE(DataLoaded);
    EXPECT_EQ(DataPath, root.substr(0, 2));
    EXPECT_TRUE(SamePath(ModulePath(DataLibrary), root + "duzidad.dll"));
    Forget();

    DeleteFileA(planted.c_str());
    SetCurrentDirectoryA(previous);
}

} // namespace
