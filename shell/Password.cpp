#include "shell/Password.h"

#include "shell/SaverWindow.h"
#include "support/Handles.h"
#include "support/Win.h"

bool VerifyPassword()
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
            using VerifyProc = BOOL(WINAPI*)(HWND);
            auto verify = reinterpret_cast<VerifyProc>(
                reinterpret_cast<void*>(GetProcAddress(library.get(), "VerifyScreenSavePwd")));
            ShowCursor(TRUE);
            if (verify) result = verify(SaverWindow) != 0;
            ShowCursor(FALSE);
            MouseMoves = 0;
        }
    }
    return result;
}
