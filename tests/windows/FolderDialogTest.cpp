// TBrowseDir over the real shell folder dialog of Wine. What the data-library
// search shows in it (caption, status texts, OK) is tested with the search.
#include "support/BrowseDir.h"
#include "tests/windows/FolderDialogDriver.h"

#include <gtest/gtest.h>

namespace {

std::string LastPart(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }
bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

TEST(FolderDialog, OpensCentredAndFollowsItsHandlerUntilConfirmedOrCancelled)
{
    probe::TempFolder temp;
    const std::string a = temp / "alpha", b = temp / "beta";
    ASSERT_TRUE(CreateDirectoryA(a.c_str(), nullptr) && CreateDirectoryA(b.c_str(), nullptr));
    probe::SettleFolderTimes(temp.path());
    const HICON smallIcon = LoadIconA(nullptr, IDI_INFORMATION);

    // With a status text the handler's words show; without one there is no status
    // line at all. Cancelling leaves no folder even though one was set.
    for (bool status : {true, false}) {
        SCOPED_TRACE(status ? "status line, confirmed" : "no status line, cancelled");
        bool confirmed = !status;
        std::string chosen = "unchanged";
        const int dialogs = probe::RunWithFolderDialog(
            [&] {
                // The owner lives on the dialog's thread, which disables it while the dialog is up.
                WNDCLASSEXA ownerClass{};
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
                GetWindowRect(dialog, &frame);
                EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
                EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
                EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(dialog, GCLP_HICON)), smallIcon);

                // The first folder, given with a trailing backslash, reached the handler without it.
                EXPECT_EQ(probe::SelectedFolderName(dialog), LastPart(temp.path()));
                const auto seen = [&](const std::string& folder) { return status ? "Seen " + LastPart(folder) : ""; };
                EXPECT_EQ(probe::FolderDialogStatus(dialog), seen(temp.path()));
                EXPECT_FALSE(probe::WaitForFolderDialogOk(dialog, false, 2000));
                for (const std::string& folder : {b, a, b}) {
                    ASSERT_TRUE(probe::SelectFolder(dialog, folder));
                    EXPECT_EQ(probe::FolderDialogStatus(dialog), seen(folder));
                    EXPECT_EQ(probe::WaitForFolderDialogOk(dialog, folder == b, 2000), folder == b) << folder;
                }
                probe::PressButton(dialog, status ? IDOK : IDCANCEL);
            });
        EXPECT_EQ(dialogs, 1);
        EXPECT_EQ(confirmed, status);
        EXPECT_TRUE(status ? SamePath(chosen, b) : chosen.empty()) << chosen;
    }
}

} // namespace
