#include "dialogs/ConfigDialog.h"

#include "common/Settings.h"
#include "dialogs/AboutDialog.h"
#include "resources/ResourceIds.h"
#include "support/Handles.h"
#include "textures/imgload.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

// The volume as it was when the dialog opened; Cancel puts it back.
std::int32_t VolumeAtOpening = 0;
// The picture shown in IDC_PICTURE, owned by the dialog while it is open.
UniqueGdiObject Picture;

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

std::string EditText(HWND dialog, int id)
{
    char text[32] = {};  // at most 31 characters are taken
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Over the middle of the window that asked for the dialog, kept on its monitor's
// work area. Without an owner the template centres it on the screen.
void CenterOnOwner(HWND dialog)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT own{}, area{}, work{};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (owner == nullptr || !GetWindowRect(owner, &own) || !GetWindowRect(dialog, &area) ||
        !GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    work = monitor.rcWork;
    const int width = area.right - area.left, height = area.bottom - area.top;
    const int x = std::max(work.left, std::min((own.left + own.right - width) / 2, work.right - width));
    const int y = std::max(work.top, std::min((own.top + own.bottom - height) / 2, work.bottom - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowVolume(HWND dialog, std::int32_t volume)
{
    char text[64];
    wsprintfA(text, "Volume (%d%%)", static_cast<int>(volume));
    SetDlgItemTextA(dialog, IDC_VOLUME_LABEL, text);
}

// Every control of the Options, FPS && Mouse, Sound and Time groups, and the
// options added after them.
void EnableOptions(HWND dialog, bool enable)
{
    constexpr std::pair<int, int> Ranges[] = {{IDC_OPTIONS_GROUP, IDC_CLOCK_FULL}, {IDC_SMOOTH_EDGES, IDC_TODAYS_SKY}};
    for (const auto& [first, last] : Ranges)
        for (int id = first; id <= last; ++id)
            if (HWND control = GetDlgItem(dialog, id)) EnableWindow(control, enable);
}

// A copy of `source` stretched to width x height, as a 24-bit bitmap; null on failure.
HBITMAP StretchedCopy(HBITMAP source, int width, int height)
{
    BITMAP size{};
    if (!GetObjectA(source, sizeof size, &size) || size.bmWidth <= 0 || size.bmHeight == 0) return nullptr;
    UniqueMemoryDC from(CreateCompatibleDC(nullptr));
    UniqueMemoryDC to(CreateCompatibleDC(nullptr));
    if (!from || !to) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    UniqueGdiObject result(CreateDIBSection(to.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!result) return nullptr;
    bool drawn = false;
    {
        SelectGuard reading(from.get(), source);
        SelectGuard writing(to.get(), result.get());
        SetStretchBltMode(to.get(), HALFTONE);
        SetBrushOrgEx(to.get(), 0, 0, nullptr);
        drawn = StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, size.bmWidth, std::abs(size.bmHeight),
                           SRCCOPY) != FALSE;
    }
    return drawn ? static_cast<HBITMAP>(result.release()) : nullptr;
}

// Picture 291 of the program, stretched to fill the picture control. A picture
// that does not decode leaves the control empty.
void ShowPicture(HWND dialog)
{
    HWND control = GetDlgItem(dialog, IDC_PICTURE);
    if (!control) return;
    HBITMAP decoded = nullptr;
    if (!LoadPictureFromResource(PictureInfo, GetModuleHandleA(nullptr), IDR_CONFIG_PICTURE, decoded)) return;
    UniqueGdiObject original(decoded);
    RECT area{};
    GetClientRect(control, &area);
    if (area.right <= 0 || area.bottom <= 0) return;
    Picture.reset(StretchedCopy(decoded, area.right, area.bottom));
    if (!Picture) return;
    // NOTE: the control gives back the image it held before: none here, since
    // the template names no bitmap.
    SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(Picture.get()));
}

void CloseDialog(HWND dialog)
{
    if (HWND control = GetDlgItem(dialog, IDC_PICTURE)) SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, 0);
    Picture.reset();
    EndDialog(dialog, 0);
}

void SetUpVolume(HWND dialog)
{
    SendDlgItemMessageA(dialog, IDC_VOLUME, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendDlgItemMessageA(dialog, IDC_VOLUME, TBM_SETTICFREQ, 32, 0);
    SendDlgItemMessageA(dialog, IDC_VOLUME, TBM_SETPAGESIZE, 0, 32);
    SendDlgItemMessageA(dialog, IDC_VOLUME, TBM_SETPOS, TRUE, Settings.Volume);
    ShowVolume(dialog, Settings.Volume);
}

void Open(HWND dialog)
{
    LoadSettings();
    VolumeAtOpening = Settings.Volume;
    for (const SettingRow& row : SettingsTable) {
        switch (row.shownAs) {
        case SettingControl::Edit: SetDlgItemTextA(dialog, row.control, SettingText(Settings, row).c_str()); break;
        case SettingControl::Check:
            CheckDlgButton(dialog, row.control, Settings.*row.flag ? BST_CHECKED : BST_UNCHECKED);
            break;
        case SettingControl::Slider: SetUpVolume(dialog); break;
        case SettingControl::Switch:
            // The defaults switch is a pair of radio buttons: the other one means own settings.
            CheckDlgButton(dialog, Settings.*row.flag ? row.control : IDC_SETTING_OPTIONS, BST_CHECKED);
            EnableOptions(dialog, !(Settings.*row.flag));
            break;
        }
    }
    ShowPicture(dialog);
}

// Takes the controls into the settings and stores them. When the registry
// refuses, the settings in memory are put back as they were and the user is
// told; the controls keep what was typed.
bool Confirm(HWND dialog)
{
    const TSettings before = Settings;
    for (const SettingRow& row : SettingsTable) {
        switch (row.shownAs) {
        case SettingControl::Edit: SetSettingFromText(Settings, row, EditText(dialog, row.control)); break;
        case SettingControl::Check:
        case SettingControl::Switch: Settings.*row.flag = Checked(dialog, row.control); break;
        case SettingControl::Slider: break;  // the volume follows the slider as it moves
        }
    }
    if (Settings.DefaultSettings) SetDefaultSettings();
    if (SaveSettings()) return true;
    Settings = before;
    char caption[128] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    MessageBoxA(dialog, "The settings could not be saved.", caption, MB_OK | MB_ICONERROR);
    return false;
}

} // namespace

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (message) {
        case WM_INITDIALOG:
            Open(dialog);
            CenterOnOwner(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
            case IDC_RESTORE_DEFAULTS:
                if (Checked(dialog, IDC_RESTORE_DEFAULTS)) EnableOptions(dialog, false);
                return TRUE;
            case IDC_SETTING_OPTIONS:
                if (Checked(dialog, IDC_SETTING_OPTIONS)) EnableOptions(dialog, true);
                return TRUE;
            case IDC_CLOCK: {
                const bool on = Checked(dialog, IDC_CLOCK);
                EnableWindow(GetDlgItem(dialog, IDC_CLOCK_SHORT), on);
                EnableWindow(GetDlgItem(dialog, IDC_CLOCK_FULL), on);
                return TRUE;
            }
            case IDOK:
                if (Confirm(dialog)) SendMessageA(dialog, WM_CLOSE, 0, 0);
                return TRUE;
            case IDCANCEL:
                Settings.Volume = VolumeAtOpening;
                SendMessageA(dialog, WM_CLOSE, 0, 0);
                return TRUE;
            case IDC_ABOUT: ShowAboutDialog(dialog); return TRUE;
            default: return FALSE;
            }
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_VOLUME) && LOWORD(wParam) <= TB_ENDTRACK) {
                Settings.Volume = static_cast<std::int32_t>(SendDlgItemMessageA(dialog, IDC_VOLUME, TBM_GETPOS, 0, 0));
                ShowVolume(dialog, Settings.Volume);
            }
            return TRUE;
        case WM_CLOSE: CloseDialog(dialog); return TRUE;
        case WM_DESTROY:
            // However the dialog ends, the picture is released.
            Picture.reset();
            return FALSE;
        default: return FALSE;
        }
    } catch (...) {
        return FALSE;
    }
}

void ShowConfigDialog(HWND owner)
{
    // A handle that names no window (the host gone, or a number typed by hand)
    // leaves the dialog on its own.
    if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    // Without the trackbar class the dialog cannot be created; nothing to show then.
    if (!InitCommonControlsEx(&controls)) return;
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIG), owner, ConfigDialogProc, 0);
}
