#include "dialogs/ConfigDialog.h"

#include "common/Settings.h"
#include "common/Util.h"
#include "dialogs/AboutDialog.h"
#include "resources/ResourceIds.h"
#include "support/Handles.h"
#include "textures/imgload.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>

namespace {

// The volume as it was when the dialog opened; Cancel puts it back.
std::int32_t SavedVolume = 0;
// The picture shown in IDC_PICTURE, owned by the dialog while it is open.
UniqueGdiObject Picture;

struct NumberBox {
    int id;
    float TSettings::*field;
    int decimals;
};
// The float settings and their edit boxes, in the order OK reads them.
constexpr NumberBox FloatBoxes[] = {
    {IDC_CAM_ROTATION, &TSettings::CamRotation, 2}, {IDC_SIZES, &TSettings::Sizes, 3},
    {IDC_DISTANCE, &TSettings::Distance, 3},        {IDC_SPEED, &TSettings::Speed, 1},
    {IDC_SCALE, &TSettings::Scale, 3},              {IDC_CAM_DISTANCE, &TSettings::CamDistance, 1},
};

struct CheckBox {
    int id;
    bool TSettings::*field;
};
constexpr CheckBox CheckBoxes[] = {
    {IDC_FPS, &TSettings::FPS},         {IDC_DESC_PLANET, &TSettings::DescPlanet},
    {IDC_MOUSE_MOVE, &TSettings::MouseMove}, {IDC_SOUND, &TSettings::Sound},
    {IDC_CLOCK, &TSettings::Clock},     {IDC_CLOCK_SHORT, &TSettings::ClockShort},
    {IDC_CLOCK_FULL, &TSettings::ClockFull},
};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

std::string EditText(HWND dialog, int id)
{
    char text[32] = {};  // at most 31 characters are taken
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void ShowVolume(HWND dialog, std::int32_t volume)
{
    char text[64];
    wsprintfA(text, "Volume (%d%%)", static_cast<int>(volume));
    SetDlgItemTextA(dialog, IDC_VOLUME_LABEL, text);
}

// Every control of the Options, FPS && Mouse, Sound and Time groups.
void EnableOptions(HWND dialog, bool enable)
{
    for (int id = IDC_OPTIONS_GROUP; id <= IDC_CLOCK_FULL; ++id)
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

void Open(HWND dialog)
{
    LoadSettings();
    SavedVolume = Settings.Volume;

    SetDlgItemTextA(dialog, IDC_QUALITY, std::to_string(Settings.Quality).c_str());
    for (const auto& box : FloatBoxes)
        SetDlgItemTextA(dialog, box.id, FloatToText(Settings.*box.field, box.decimals).c_str());
    for (const auto& box : CheckBoxes)
        CheckDlgButton(dialog, box.id, Settings.*box.field ? BST_CHECKED : BST_UNCHECKED);

    SendDlgItemMessageA(dialog, IDC_VOLUME, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendDlgItemMessageA(dialog, IDC_VOLUME, TBM_SETTICFREQ, 32, 0);
    SendDlgItemMessageA(dialog, IDC_VOLUME, TBM_SETPAGESIZE, 0, 32);
    SendDlgItemMessageA(dialog, IDC_VOLUME, TBM_SETPOS, TRUE, Settings.Volume);
    ShowVolume(dialog, Settings.Volume);

    CheckDlgButton(dialog, Settings.DefaultSettings ? IDC_RESTORE_DEFAULTS : IDC_SETTING_OPTIONS, BST_CHECKED);
    EnableOptions(dialog, !Settings.DefaultSettings);

    ShowPicture(dialog);
}

void Confirm(HWND dialog)
{
    for (const auto& box : CheckBoxes) Settings.*box.field = Checked(dialog, box.id);
    for (const auto& box : FloatBoxes) Settings.*box.field = TextToSingle(EditText(dialog, box.id));
    Settings.Quality = Settings.QualityStacks = Settings.QualitySpare = TextToInt(EditText(dialog, IDC_QUALITY));
    Settings.DefaultSettings = Checked(dialog, IDC_RESTORE_DEFAULTS);
    if (Settings.DefaultSettings) SetDefaultSettings();
    SaveSettings();
}

} // namespace

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (message) {
        case WM_INITDIALOG: Open(dialog); return TRUE;
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
                Confirm(dialog);
                SendMessageA(dialog, WM_CLOSE, 0, 0);
                return TRUE;
            case IDCANCEL:
                Settings.Volume = SavedVolume;
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

void RunConfigDialog()
{
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    // Without the trackbar class the dialog cannot be created; nothing to show then.
    if (!InitCommonControlsEx(&controls)) return;
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIG), nullptr, ConfigDialogProc, 0);
}

void ShowConfigDialog()
{
    RunConfigDialog();
}
