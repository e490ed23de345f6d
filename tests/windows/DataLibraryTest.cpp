// The folder dialog wrapper and the data-library search: Wine's shell dialog, test libraries, registry.
#include "common/DataLibrary.h"
#include "support/BrowseDir.h"
#include "support/Com.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

// Runs `work` on its own thread, in a COM apartment like the program's main thread;
// the dialog is modal there, so this thread hands each one it opens to `drive`,
// then cancels it if still open. Returns how many dialogs opened.
int RunWithFolderDialog(const std::function<void()>& work, const std::function<void(HWND)>& drive)
{
    std::atomic<bool> done{false};
    std::thread worker([&] {
        ComApartment com;
        if (com.initialised()) work();
        done = true;
    });
    int dialogs = 0;
    while (!done) {
        auto dialog = probe::WaitForFolderDialog(GetCurrentProcessId(), 50);
        if (!dialog) continue;
        ++dialogs;
        if (drive) drive(*dialog);
        if (IsWindow(*dialog)) probe::PressButton(*dialog, IDCANCEL);
        probe::WaitUntilGone(*dialog, 10000);
    }
    worker.join();
    return dialogs;
}

std::string LastPart(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }
bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

TEST(FolderDialog, OpensCentredAndFollowsItsHandlerUntilConfirmedOrCancelled)
{
    probe::TempFolder temp;
    const std::string a = temp / "alpha", b = temp / "beta";
    ASSERT_TRUE(CreateDirectoryA(a.c_str(), nullptr) && CreateDirectoryA(b.c_str(), nullptr));
    probe::SettleFolderTimes(temp.path());
    const HICON smallIcon = LoadIconA(nullptr, IDI_INFORMATION);

    // Without a status text there is no status line; cancelling leaves no folder, though one was set.
    for (bool status : {true, false}) {
        SCOPED_TRACE(status ? "status line, confirmed" : "no status line, cancelled");
        bool confirmed = !status;
        std::string chosen = "unchanged";
        const int dialogs = RunWithFolderDialog(
            [&] {
                WNDCLASSEXA ownerClass{}; // on the dialog's thread, which disables it while the dialog is up
                ownerClass.cbSize = sizeof ownerClass;
                ownerClass.hInstance = GetModuleHandleA(nullptr);
                ownerClass.lpfnWndProc = DefWindowProcA;
                ownerClass.lpszClassName = "AstrolumeTestOwner";
                ownerClass.hIconSm = smallIcon;
                RegisterClassExA(&ownerClass);
                HWND owner = CreateWindowExA(0, "AstrolumeTestOwner", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                             nullptr, ownerClass.hInstance, nullptr);
                TBrowseDir browser(owner);
                browser.RootFolder = 0;
                browser.StatusText = status ? "Waiting" : "";
                browser.SetFolder(temp.path() + "\\");
                browser.OnSelChanged = [&](TBrowseDir& self, const std::string& folder) {
                    self.SetStatusText("Seen " + LastPart(folder));
                    self.EnableOK(SamePath(folder, b));
                };
                confirmed = browser.Execute();
                chosen = browser.Folder;
                DestroyWindow(owner);
                UnregisterClassA("AstrolumeTestOwner", ownerClass.hInstance);
            },
            [&](HWND dialog) {
                RECT frame{};
                EXPECT_TRUE(GetWindowRect(dialog, &frame));
                EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
                EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
                EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(dialog, GCLP_HICON)), smallIcon);

                // The first folder, given with a trailing backslash, reached the handler without it.
                EXPECT_EQ(probe::SelectedFolderName(dialog), LastPart(temp.path()));
                const auto seen = [&](const std::string& folder) { return status ? "Seen " + LastPart(folder) : ""; };
                EXPECT_EQ(probe::FolderDialogStatus(dialog, seen(temp.path()), 5000), seen(temp.path()));
                EXPECT_FALSE(probe::WaitForFolderDialogOk(dialog, false, 2000));
                for (const std::string& folder : {b, a, b}) {
                    ASSERT_TRUE(probe::SelectFolder(dialog, folder));
                    EXPECT_EQ(probe::FolderDialogStatus(dialog), seen(folder));
                    EXPECT_EQ(probe::WaitForFolderDialogOk(dialog, folder == b, 2000), folder == b) << folder;
                }
                probe::PressButton(dialog, status ? IDOK : IDCANCEL);
            });
        EXPECT_TRUE(dialogs == 1 && confirmed == status && (status ? SamePath(chosen, b) : chosen.empty())) << chosen;
    }
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
        return RunWithFolderDialog(
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
        EXPECT_EQ(DataLibrary == nullptr, c.used == None);
        if (c.used != None) {
            EXPECT_EQ(DataPath, c.used == Stored ? stored : program);
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
        EXPECT_EQ(probe::TextOf(dialog), "Select folder with data");
        EXPECT_EQ(probe::SelectedFolderName(dialog), LastPart(program));
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
    EXPECT_TRUE(SamePath(probe::StoredDataPath().value_or(""), chosen));

    ReleaseDataLibrary();
    EXPECT_EQ(Search(Folder(nullptr)), 0) << "the next start finds it through \"Path\"";
    EXPECT_TRUE(DataLoaded);
    EXPECT_TRUE(SamePath(DataPath, chosen)) << DataPath;
}

// Obvious fault: the dialog used to open claiming "The Data file found." with OK disabled
// whenever the shell reported no first selection (here: a program folder that does not
// exist). It opens where the search has just failed, and says so until a selection is checked.
TEST_F(DataSearch, DialogOpensSayingNotFoundAndNothingIsKeptWithoutALoadableChoice)
{
    for (bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "cancelled" : "replaced by a file that is no module before OK");
        const std::string program = cancel ? temp / "missing" : Folder(nullptr), v272 = Folder("v272");
        EXPECT_EQ(Search(program, [&](HWND dialog) {
            EXPECT_EQ(probe::FolderDialogStatus(dialog, "The Data file not found.", 5000),
                      "The Data file not found.");
            EXPECT_FALSE(probe::WaitForFolderDialogOk(dialog, false, 500));
            ASSERT_TRUE(probe::SelectFolder(dialog, v272));
            ASSERT_TRUE(probe::WaitForFolderDialogOk(dialog, true, 2000));
            if (!cancel) {
                ASSERT_TRUE(CopyFileA(TestLibrary("notpe").c_str(), (v272 + "\\duzidad.dll").c_str(), FALSE));
            }
            probe::PressButton(dialog, cancel ? IDCANCEL : IDOK);
        }), 1);
        EXPECT_TRUE(!DataLoaded && DataLibrary == nullptr);
        EXPECT_FALSE(probe::StoredDataPath().has_value());
    }
}

// Obvious fault: a library in the root of the current drive must never be loaded when no folder
// is stored, neither by the search nor by the dialog's check of an item that has no path.
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
        EXPECT_TRUE(!DataLoaded && DataLibrary == nullptr);
    }

    TBrowseDir browser(nullptr);
    browser.UserText = DataLibraryName;
    browser.OKEnabled = true;
    ValidateDataFolder(browser, "");
    EXPECT_TRUE(browser.StatusText == "The Data file not found." && !browser.OKEnabled) << browser.StatusText;

    // A program in the root of that drive finds it beside itself, without a doubled backslash.
    const std::string root = temp.path().substr(0, 3); // "C:\"
    EXPECT_EQ(Search(root), 0);
    EXPECT_TRUE(DataLoaded);
    EXPECT_EQ(DataPath, root.substr(0, 2));
    Forget();

    DeleteFileA(planted.c_str());
    SetCurrentDirectoryA(previous);
}

} // namespace
