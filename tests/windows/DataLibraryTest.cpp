// The data-library search through Wine's shell folder dialog: test libraries, registry.
#include "common/DataLibrary.h"
#include "support/BrowseDir.h"
#include "support/Com.h"
#include "tests/windows/probe/SettingsTexts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <tuple>

namespace {

std::string TestLibrary(const char* variant) { return probe::Argument("testdata") + "\\" + variant + "\\duzidad.dll"; }

// The machine-wide install's "Path": set, or the key deleted when `folder` is null.
void SetMachinePath(const char* folder)
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, MachineDataKey);
    EXPECT_TRUE(!folder || RegSetKeyValueA(HKEY_LOCAL_MACHINE, MachineDataKey, "Path", REG_SZ, folder,
                                           lstrlenA(folder) + 1) == ERROR_SUCCESS);
}

class DataSearch : public ::testing::Test {
protected:
    void SetUp() override { Forget(); }
    void TearDown() override { Forget(); }
    void Forget()
    {
        ReleaseDataLibrary();
        DataLoaded = false;
        probe::DeleteRegKey(SettingsKey);
        SetMachinePath(nullptr);
    }

    // A new folder holding a copy of one test library; nullptr for an empty one.
    std::string Folder(const char* variant)
    {
        const std::string folder = temp / (std::to_string(++folders) + (variant ? variant : "-empty"));
        EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) &&
                    (!variant || probe::CopyInto(TestLibrary(variant), folder)));
        return folder;
    }

    // The search as start-up runs it, on its own thread in a COM apartment like the
    // program's main thread; the dialog is modal there, so this thread hands each one
    // it opens to `drive`, then cancels it if still open. Returns how many opened.
    int Search(const std::string& programFolder, const std::function<void(HWND)>& drive = nullptr)
    {
        probe::SettleFolderTimes(temp.path());
        std::atomic<bool> done{false};
        std::thread worker([&] {
            ComApartment com;
            if (com.initialised()) DataLoaded = LocateDataLibraryFrom(DataLibraryName, programFolder);
            done = true;
        });
        int dialogs = 0;
        while (!done) {
            HWND dialog = probe::WaitForFolderDialog(GetCurrentProcessId(), 50);
            if (!dialog) continue;
            ++dialogs;
            if (drive) drive(dialog);
            if (IsWindow(dialog)) probe::PressButton(dialog, IDCANCEL);
            probe::WaitUntilGone(dialog, 10000);
        }
        worker.join();
        return dialogs;
    }

    probe::ScratchRegistryKey settings{SettingsKey};  // the search stores no more than "Path"
    probe::TempFolder temp;
    int folders = 0;
};

// A library is planted in the root of the current drive for every case: neither an
// empty "Path" nor none at all may lead the search to it. A stored folder whose library
// does not load (another bitness's) is passed over like one that fails its check.
// The dialog says "not found" until a selection is checked, even when the shell
// reports none; a chosen library that no longer loads at OK is not kept, one that loads is stored.
TEST_F(DataSearch, UserFolderThenProgramFolderThenMachineFolderThenTheDialog)
{
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(temp.path().c_str()));
    ASSERT_TRUE(CopyFileA(TestLibrary("v272").c_str(), "\\duzidad.dll", FALSE)) << "cannot plant in the root";

    enum Used { None, Stored, Beside, Machine, Asked, Chosen };  // Asked: the chosen library is gone at OK
    const struct {
        const char* name;
        const char* stored;   // variant in the user's "Path" folder; "" an empty "Path"; none when null
        const char* beside;   // variant beside the program, "" none; no program folder at all when null
        const char* machine;  // variant in the machine-wide install's folder; no key when null
        Used used;
    } cases[] = {
        {"nothing stored, library beside the program", nullptr, "v272", nullptr, Beside},
        {"stored one of another version: the program's of any version", "v271", "v271", nullptr, Beside},
        {"stored one passes and wins", "v272", "v271", "v272", Stored},
        {"stored file that is no module: the program's", "notpe", "v272", "v272", Beside},
        {"stored file that is no module, none beside: the machine's", "notpe", nullptr, "v272", Machine},
        {"program's file that is no module ends the search", "", "notpe", "v272", None},
        {"machine's one when the user's fails", "v271", nullptr, "v272", Machine},
        {"machine's one of another version: the dialog", "", nullptr, "v271", Asked},
        {"machine's file that is no module: the dialog, at the program's folder", nullptr, "", "notpe", Chosen},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string stored = c.stored && *c.stored ? Folder(c.stored) : std::string();
        const std::string program = c.beside ? Folder(*c.beside ? c.beside : nullptr) : temp / "missing";
        const std::string machine = c.machine ? Folder(c.machine) : std::string(), chosen = Folder("v272");
        if (c.stored) probe::SetRegString(SettingsKey, "Path", stored);
        SetMachinePath(c.machine ? machine.c_str() : nullptr);

        EXPECT_EQ(Search(program, [&](HWND dialog) {
            EXPECT_EQ(probe::TextOf(dialog), "Select folder with data");
            const probe::FolderState first{DataNotFoundText, false}, found{DataFoundText, true};
            EXPECT_EQ(probe::FolderDialogState(dialog, first), first);
            if (c.beside) {
                EXPECT_EQ(probe::SelectedFolderName(dialog), program.substr(program.find_last_of('\\') + 1));
            }
            ASSERT_TRUE(probe::SelectFolder(dialog, chosen) && probe::FolderDialogState(dialog, found) == found);
            if (c.used == Asked) {
                ASSERT_TRUE(CopyFileA(TestLibrary("notpe").c_str(), (chosen + "\\duzidad.dll").c_str(), FALSE));
            }
            probe::PressButton(dialog, IDOK);
        }), c.used >= Asked ? 1 : 0);
        const bool loaded = c.used != None && c.used != Asked;
        EXPECT_TRUE(DataLoaded == loaded && (DataLibrary != nullptr) == loaded);
        const std::string used[] = {"", stored, program, machine, "", chosen};
        if (loaded) { EXPECT_EQ(lstrcmpiA(DataPath.c_str(), used[c.used].c_str()), 0) << DataPath; }
        probe::SettingTexts kept = c.stored ? probe::SettingTexts{{"Path", stored}} : probe::SettingTexts{};
        if (c.used == Chosen) kept = {{"Path", DataPath}};
        EXPECT_EQ(probe::StoredSettingTexts(), kept) << "the search rewrites what is stored only for a chosen folder";
        Forget();
    }

    // A stored "Path" that names a file, a missing drive, a share or a too long folder: the program's library.
    for (const std::string& path : {TestLibrary("v272"), std::string("Q:\\Nowhere"),
                                    std::string("\\\\nohost\\share"), "C:\\" + std::string(300, 'p')}) {
        SCOPED_TRACE(path);
        probe::SetRegString(SettingsKey, "Path", path);
        const std::string program = Folder("v272");
        EXPECT_EQ(Search(program), 0);
        EXPECT_TRUE(DataLoaded && DataPath == program) << DataPath;
        EXPECT_EQ(probe::StoredSettingTexts(), (probe::SettingTexts{{"Path", path}}));
        Forget();
    }

    TBrowseDir browser(nullptr); // the dialog's check of an item without a path
    browser.UserText = DataLibraryName;
    browser.OKEnabled = true;
    ValidateDataFolder(browser, "");
    EXPECT_TRUE(browser.StatusText == DataNotFoundText && !browser.OKEnabled) << browser.StatusText;
    DeleteFileA("\\duzidad.dll");
    SetCurrentDirectoryA(previous);
}

// What the dialog says of each folder it is shown, with no trial library kept
// loaded; the shown dialog is driven above.
TEST_F(DataSearch, EveryKindOfFolderGetsItsStatus)
{
    TBrowseDir browser(nullptr);
    browser.UserText = DataLibraryName;
    const std::tuple<std::string, const char*, bool> steps[] = {
        {Folder("noexport"), "The Data file was not matching.", false},
        {Folder("v271"), "The Data file version incorrect.", false},
        {Folder("v272"), "The Data file found.", true},
        {Folder("notpe"), "The Data file was not loaded.", false},
        {Folder(nullptr), "The Data file not found.", false},
    };
    for (const auto& [folder, status, ok] : steps) {
        ValidateDataFolder(browser, folder);
        EXPECT_EQ(probe::FolderState(browser.StatusText, browser.OKEnabled), probe::FolderState(status, ok)) << folder;
        EXPECT_EQ(GetModuleHandleA((folder + "\\duzidad.dll").c_str()), nullptr) << "trial load kept";
    }
}

} // namespace
