#include "support/UrlLabel.h"

namespace {

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

// "Arial Cyr" at `points` for the vertical resolution of `window`'s screen.
HFONT CreateLabelFont(HWND window, int points, bool underline)
{
    int pixelsPerInch = 96;
    if (HDC dc = GetDC(window)) {
        pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(window, dc);
    }
    return CreateFontA(-MulDiv(points, pixelsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE,
                       RUSSIAN_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FF_MODERN | DEFAULT_PITCH,
                       "Arial Cyr");
}

} // namespace

bool RegisterUrlLabelClass()
{
    WNDCLASSA existing{};
    if (GetClassInfoA(ProgramInstance(), UrlLabelClassName, &existing)) return true;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TUrlLabel::WindowProc;
    windowClass.hInstance = ProgramInstance();
    windowClass.hCursor = LoadCursorA(ProgramInstance(), "HAND");
    windowClass.lpszClassName = UrlLabelClassName;
    return RegisterClassA(&windowClass) != 0;
}

void UnregisterUrlLabelClass()
{
    WNDCLASSA existing{};
    if (GetClassInfoA(ProgramInstance(), UrlLabelClassName, &existing))
        UnregisterClassA(UrlLabelClassName, ProgramInstance());
}

TUrlLabel::TUrlLabel(int X, int Y, int Width, int Height, HWND Parent) : parent_(Parent)
{
    handle_ = CreateWindowExA(0, UrlLabelClassName, "", WS_CHILD | WS_VISIBLE, X, Y, Width, Height, Parent, nullptr,
                              ProgramInstance(), nullptr);
    // NOTE: the fonts stay the label's own. Handing them to the parent with
    // WM_SETFONT would leave the parent holding a font this label deletes.
    normalFont_ = CreateLabelFont(Parent, fontSize_, false);
    hotFont_ = CreateLabelFont(Parent, fontSize_, true);
    bounds_ = RECT{X, Y, X + Width, Y + Height};
    parentDC_ = GetDC(Parent);
    if (handle_) SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TUrlLabel::~TUrlLabel()
{
    // The window may outlive the object until its parent goes: it must not
    // find the object any more.
    if (handle_ && IsWindow(handle_)) SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    if (parentDC_) {
        if (savedFont_) SelectObject(parentDC_, savedFont_);
        ReleaseDC(parent_, parentDC_);
    }
    if (normalFont_) DeleteObject(normalFont_);
    if (hotFont_) DeleteObject(hotFont_);
}

void TUrlLabel::SetCaption(const std::string& Text)
{
    if (Text == caption_) return;
    caption_ = Text;
    if (handle_) SetWindowTextA(handle_, caption_.c_str());
}

void TUrlLabel::SetOnClick(ClickHandler Handler) { onClick_ = std::move(Handler); }

void TUrlLabel::Redraw()
{
    if (!parentDC_) return;
    SetTextColor(parentDC_, hot_ ? hotColor_ : normalColor_);
    const HGDIOBJ font = hot_ ? hotFont_ : normalFont_;
    if (font) {
        const HGDIOBJ previous = SelectObject(parentDC_, font);
        if (!savedFont_ && previous && previous != HGDI_ERROR) savedFont_ = previous;
    }
    Paint();
}

void TUrlLabel::Paint()
{
    background_ = reinterpret_cast<HBRUSH>(GetClassLongPtrA(parent_, GCLP_HBRBACKGROUND));
    FillRect(parentDC_, &bounds_, background_ ? background_ : GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(parentDC_, TRANSPARENT);
    static constexpr UINT alignments[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    RECT area = bounds_;
    // DT_NOPREFIX: the label shows its text exactly, an '&' in an address included.
    DrawTextA(parentDC_, caption_.c_str(), -1, &area,
              alignments[alignment_ < 3 ? alignment_ : 1] | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT CALLBACK TUrlLabel::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* label = reinterpret_cast<TUrlLabel*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (label) {
        try {
            switch (message) {
            case WM_PAINT: label->Redraw(); break;
            case WM_MOUSEMOVE: {
                TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
                TrackMouseEvent(&track);
                label->hot_ = true;
                label->Redraw();
                break;
            }
            case WM_LBUTTONDOWN:
                if (label->onClick_) {
                    label->hot_ = false;
                    label->Redraw();
                    // Copies: the handler may close the dialog and with it the label.
                    const ClickHandler handler = label->onClick_;
                    const std::string caption = label->caption_;
                    handler(caption);
                }
                break;
            case WM_MOUSELEAVE:
                SetCursor(LoadCursorA(nullptr, IDC_ARROW));
                label->hot_ = false;
                label->Redraw();
                break;
            default: break;
            }
        } catch (...) {
            // Nothing may unwind through the system's dispatcher.
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
