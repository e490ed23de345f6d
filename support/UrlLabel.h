// The hyperlink label of the dialogs: a line of text that turns red and
// underlined under the mouse, shows the hand cursor, and hands its text to a
// handler when clicked. The label is a child window of class "UrlLabel" that
// only takes the mouse and supplies the cursor; the text is drawn into the
// parent's device context over the label's rectangle.
#pragma once

#include "support/Win.h"

#include <functional>
#include <string>

inline constexpr const char* UrlLabelClassName = "UrlLabel";

// Registered once at start-up, unregistered at the end of the process (only
// when it is registered then). True when the class is registered after the call.
bool RegisterUrlLabelClass();
void UnregisterUrlLabelClass();

class TUrlLabel {
public:
    using ClickHandler = std::function<void(const std::string& Caption)>;

    // Creates the label window at X, Y (pixels of Parent's client area).
    TUrlLabel(int X, int Y, int Width, int Height, HWND Parent);
    // Releases the fonts and the parent's device context; the label window
    // itself goes with its parent.
    ~TUrlLabel();
    TUrlLabel(const TUrlLabel&) = delete;
    TUrlLabel& operator=(const TUrlLabel&) = delete;

    // Takes a new text; the label shows it at its next paint.
    void SetCaption(const std::string& Text);
    void SetOnClick(ClickHandler Handler);

    HWND Handle() const { return handle_; }
    const std::string& Caption() const { return caption_; }
    bool Hot() const { return hot_; }
    const RECT& Bounds() const { return bounds_; }
    COLORREF NormalColor() const { return normalColor_; }
    COLORREF HotColor() const { return hotColor_; }

private:
    friend bool RegisterUrlLabelClass();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Redraw();
    void Paint();

    HWND parent_;
    HWND handle_ = nullptr;
    HBRUSH background_ = nullptr;
    HDC parentDC_ = nullptr;
    HGDIOBJ savedFont_ = nullptr;  // the DC's font before the label's first one
    BYTE alignment_ = 1;           // 0 left, 1 centre, 2 right
    RECT bounds_{};
    std::string caption_;
    bool hot_ = false;
    COLORREF normalColor_ = 0x00FF0000;  // blue
    COLORREF hotColor_ = 0x000000FF;     // red
    HFONT normalFont_ = nullptr;
    HFONT hotFont_ = nullptr;
    int fontSize_ = 9;  // points
    ClickHandler onClick_;
};
