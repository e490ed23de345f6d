#include "shell/SaverWindow.h"

DEVMODEA DesktopMode = {};
int DesktopWidth = 0;
int DesktopHeight = 0;
int DesktopBits = 0;

bool Keys[256] = {};

void QueryDesktopMode()
{
    DesktopMode = DEVMODEA{};
    DesktopMode.dmSize = sizeof DesktopMode;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &DesktopMode)) {
        // Leave the sizes at 0: the window code falls back to its own size then.
        DesktopWidth = DesktopHeight = DesktopBits = 0;
        return;
    }
    DesktopWidth = static_cast<int>(DesktopMode.dmPelsWidth);
    DesktopHeight = static_cast<int>(DesktopMode.dmPelsHeight);
    DesktopBits = static_cast<int>(DesktopMode.dmBitsPerPel);
}
