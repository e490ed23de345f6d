#include "dialogs/AboutDialog.h"

#include "resources/ResourceIds.h"
#include "support/Handles.h"
#include "support/UrlLabel.h"

#include <memory>

namespace {

LinkOpener CurrentOpener = OpenLink;

// The three links, alive from the dialog's opening to its closing.
std::unique_ptr<TUrlLabel> Links[3];

std::string ControlText(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// A label over the static control `id`, showing `prefix` and the control's text.
// The label takes the control's whole rectangle, wherever the dialog's font has
// put it and however wide the label's own font draws; the control itself is
// hidden so that the text is not drawn twice.
std::unique_ptr<TUrlLabel> LinkOver(HWND dialog, int id, const char* prefix)
{
    HWND control = GetDlgItem(dialog, id);
    const std::string text = ControlText(dialog, id);
    RECT area{0, 0, 0, 0};
    if (control) {
        GetWindowRect(control, &area);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    }
    auto label = std::make_unique<TUrlLabel>(area.left, area.top, area.right - area.left, area.bottom - area.top, dialog);
    label->SetCaption(prefix + text);
    label->SetOnClick([](const std::string& caption) { CurrentOpener(caption); });
    if (control) ShowWindow(control, SW_HIDE);
    return label;
}

// The title (16 points, blue) and the version (12 points, red) over a white shadow.
void DrawTitle(const DRAWITEMSTRUCT& item)
{
    const bool title = item.CtlID == IDC_ABOUT_TITLE;
    char text[256] = {};
    GetWindowTextA(item.hwndItem, text, sizeof text);
    const int points = title ? 16 : 12;
    UniqueGdiObject font(CreateFontA(-MulDiv(points, GetDeviceCaps(item.hDC, LOGPIXELSY), 72), 0, 0, 0, FW_BOLD,
                                     FALSE, FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     PROOF_QUALITY, DEFAULT_PITCH, "Arial"));
    if (!font) return;
    SelectGuard selected(item.hDC, font.get());
    const int previousMode = SetBkMode(item.hDC, TRANSPARENT);
    const COLORREF previousColor = SetTextColor(item.hDC, RGB(255, 255, 255));
    constexpr UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    RECT shadow = item.rcItem;
    OffsetRect(&shadow, 1, 1);
    DrawTextA(item.hDC, text, -1, &shadow, format);
    SetTextColor(item.hDC, title ? RGB(0, 0, 255) : RGB(255, 0, 0));
    RECT area = item.rcItem;
    DrawTextA(item.hDC, text, -1, &area, format);
    SetTextColor(item.hDC, previousColor);
    SetBkMode(item.hDC, previousMode);
}

void ReleaseLinks()
{
    for (auto& link : Links) link.reset();
}

} // namespace

void OpenLink(const std::string& Link)
{
    // The result is of no use: a link the shell cannot open just does nothing.
    ShellExecuteA(nullptr, "Open", Link.c_str(), "", "", SW_SHOWNORMAL);
}

LinkOpener SetLinkOpener(LinkOpener Opener)
{
    const LinkOpener previous = CurrentOpener;
    CurrentOpener = Opener ? Opener : OpenLink;
    return previous;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (message) {
        case WM_INITDIALOG:
            Links[0] = LinkOver(dialog, IDC_ABOUT_MAIL, "mailto: ");
            Links[1] = LinkOver(dialog, IDC_ABOUT_MAIL2, "mailto: ");
            Links[2] = LinkOver(dialog, IDC_ABOUT_WEB, "");
            return TRUE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item && item->CtlType == ODT_STATIC &&
                (item->CtlID == IDC_ABOUT_TITLE || item->CtlID == IDC_ABOUT_VERSION))
                DrawTitle(*item);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
            case IDOK: SendMessageA(dialog, WM_CLOSE, 0, 0); return TRUE;
            case IDCANCEL: SendMessageA(dialog, WM_CLOSE, 0, 0); return TRUE;
            default: return FALSE;
            }
        case WM_CLOSE:
            EndDialog(dialog, 0);
            ReleaseLinks();
            return TRUE;
        case WM_DESTROY:
            // However the dialog ends, the labels give back their fonts and DCs.
            ReleaseLinks();
            return FALSE;
        default: return FALSE;
        }
    } catch (...) {
        return FALSE;
    }
}

void ShowAboutDialog(HWND Owner)
{
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), Owner, AboutDialogProc, 0);
}
