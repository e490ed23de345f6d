#include "shell/Password.h"

#include "support/Handles.h"

bool VerifyPassword(HWND owner, int& mouseMoves)
{
    bool result = true;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return true;
    UniqueRegKey key(opened);
    BYTE value[4] = {};
    DWORD size = sizeof value;
    if (RegQueryValueExA(key.get(), "ScreenSaveUsePassword", nullptr, nullptr, value, &size) == ERROR_SUCCESS &&
        (value[0] | value[1] | value[2] | value[3]) != 0) {
        UniqueModule library(QuietLoadLibrary("PASSWORD.CPL"));
        if (library) {
            auto verify = EntryPoint<BOOL WINAPI(HWND)>(library.get(), "VerifyScreenSavePwd");
            ShowCursor(TRUE);
            if (verify) result = verify(owner) != 0;
            ShowCursor(FALSE);
            mouseMoves = 0;
        }
    }
    return result;
}

void ChangePassword(HWND owner)
{
    UniqueModule library(QuietLoadLibrary("MPR.DLL"));
    if (!library) return;
    auto change = EntryPoint<DWORD WINAPI(LPCSTR, HWND, DWORD, LPVOID)>(library.get(), "PwdChangePasswordA");
    if (change) change("SCRSAVE", owner, 0, nullptr);
}
