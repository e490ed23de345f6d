// TBrowseDir over the real shell folder dialog of Wine.
#include "support/BrowseDir.h"
#include "tests/windows/FolderDialogDriver.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace {

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// The folders the handler has been told of, read from the test thread.
class SelectionLog {
public:
    void Add(const std::string& folder)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        folders_.push_back(folder);
    }
    std::vector<std::string> Folders()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return folders_;
    }
    bool Saw(const std::string& folder)
    {
        for (const std::string& seen : Folders())
            if (SamePath(seen, folder)) return true;
        return false;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> folders_;
};

std::string LastPart(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

TEST(FolderDialog, OpenDialogFollowsItsHandler)
{
    probe::TempFolder temp;
    const std::string a = temp / "alpha", b = temp / "beta";
    ASSERT_TRUE(CreateDirectoryA(a.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(b.c_str(), nullptr));
    probe::SettleFolderTimes(temp.path());
    const HICON smallIcon = LoadIconA(nullptr, IDI_INFORMATION);
    SelectionLog log;
    bool confirmed = false;
    std::string chosen;

    const int dialogs = probe::RunWithFolderDialog(
        [&] {
            // The owner lives on the dialog's thread, which disables it while the dialog is up.
            WNDCLASSEXA ownerClass{};
            ownerClass.cbSize = sizeof ownerClass;
            ownerClass.lpfnWndProc = DefWindowProcA;
            ownerClass.hInstance = GetModuleHandleA(nullptr);
            ownerClass.lpszClassName = "AstrolumeTestOwner";
            ownerClass.hIconSm = smallIcon;
            RegisterClassExA(&ownerClass);
            HWND owner = CreateWindowExA(0, "AstrolumeTestOwner", "owner", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                         nullptr, GetModuleHandleA(nullptr), nullptr);

            TBrowseDir browser(owner);
            browser.RootFolder = 0;
            browser.Options = boReturnOnlyFSDirs;
            browser.Title = "Pick a folder";
            browser.StatusText = "Waiting";
            browser.SetFolder(temp.path() + "\\");
            browser.OnSelChanged = [&](TBrowseDir& self, const std::string& folder) {
                log.Add(folder);
                self.SetStatusText("Seen " + LastPart(folder));
                self.EnableOK(SamePath(folder, b));
            };
            confirmed = browser.Execute();
            chosen = browser.Folder;

            DestroyWindow(owner);
            UnregisterClassA("AstrolumeTestOwner", GetModuleHandleA(nullptr));
        },
        [&](HWND dialog) {
            char caption[64] = {};
            GetWindowTextA(dialog, caption, sizeof caption);
            EXPECT_STREQ(caption, "Pick a folder");

            RECT frame{};
            GetWindowRect(dialog, &frame);
            EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
            EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
            EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(dialog, GCLP_HICON)), smallIcon)
                << "the owner's small icon";

            // The first folder, given with a trailing backslash, reached the handler without it.
            EXPECT_EQ(probe::WaitForFolderDialogStatus(dialog, "Seen " + LastPart(temp.path()), 5000),
                      "Seen " + LastPart(temp.path()));
            EXPECT_TRUE(log.Saw(temp.path()));
            EXPECT_EQ(probe::SelectedFolderName(dialog), LastPart(temp.path()));
            EXPECT_FALSE(probe::WaitForFolderDialogOk(dialog, false, 2000));

            const struct {
                std::string folder;
                bool ok;
            } steps[] = {{b, true}, {a, false}, {b, true}};
            for (const auto& step : steps) {
                ASSERT_TRUE(probe::SelectFolder(dialog, step.folder));
                EXPECT_EQ(probe::FolderDialogStatus(dialog), "Seen " + LastPart(step.folder));
                EXPECT_EQ(probe::WaitForFolderDialogOk(dialog, step.ok, 2000), step.ok) << step.folder;
            }
            probe::PressButton(dialog, IDOK);
        });

    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(confirmed);
    EXPECT_TRUE(SamePath(chosen, b)) << chosen;
}

TEST(FolderDialog, WithoutStatusTextAndOkTheUserCanOnlyCancel)
{
    probe::TempFolder temp;
    probe::SettleFolderTimes(temp.path());
    SelectionLog log;
    bool confirmed = true;
    std::string folderAfter = "unchanged";

    probe::RunWithFolderDialog(
        [&] {
            TBrowseDir browser(nullptr);
            browser.RootFolder = 0;
            browser.Folder = temp.path();
            browser.OnSelChanged = [&](TBrowseDir& self, const std::string& folder) {
                log.Add(folder);
                self.SetStatusText("nowhere to show this");
            };
            confirmed = browser.Execute();
            folderAfter = browser.Folder;
        },
        [&](HWND dialog) {
            const DWORD start = GetTickCount();
            while (!log.Saw(temp.path()) && GetTickCount() - start < 5000) Sleep(20);
            EXPECT_TRUE(log.Saw(temp.path()));
            EXPECT_EQ(probe::FolderDialogStatus(dialog), "") << "no status line without a status text";
            EXPECT_FALSE(probe::WaitForFolderDialogOk(dialog, false, 2000));
            probe::PressButton(dialog, IDCANCEL);
        });

    EXPECT_FALSE(confirmed);
    EXPECT_EQ(folderAfter, "") << "a cancelled dialog leaves no folder";
}

TEST(FolderDialog, MissingFirstFolderIsDropped)
{
    probe::TempFolder temp;
    const std::string missing = temp / "missing";
    SelectionLog log;
    bool confirmed = true;
    std::string folderAfter = "unchanged";

    const int dialogs = probe::RunWithFolderDialog(
        [&] {
            TBrowseDir browser(nullptr);
            browser.RootFolder = 0;
            browser.Folder = missing;
            browser.StatusText = "status";
            browser.OnSelChanged = [&](TBrowseDir&, const std::string& folder) { log.Add(folder); };
            confirmed = browser.Execute();
            folderAfter = browser.Folder;
        },
        [&](HWND dialog) {
            Sleep(300);
            EXPECT_FALSE(log.Saw(missing));
            EXPECT_EQ(probe::FolderDialogStatus(dialog), "status");
            probe::PressButton(dialog, IDCANCEL);
        });

    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(folderAfter, "");
}

} // namespace
