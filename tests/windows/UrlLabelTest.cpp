// The link label driven with the messages the system sends it, its drawing read back.
#include "support/UrlLabel.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Red = RGB(255, 0, 0);

// A label on a top-level window of a class without a background brush, as a
// dialog's; its handler only records what it is given, so no mail client starts.
struct LabelOnWindow {
    LabelOnWindow()
    {
        EXPECT_TRUE(RegisterUrlLabelClass() && RegisterUrlLabelClass()) << "registering again succeeds too";
        parent = CreateWindowExA(WS_EX_TOPMOST, "Static", "", WS_POPUP | WS_VISIBLE, 20, 20, 320, 120, nullptr,
                                 nullptr, instance, nullptr);
        label = std::make_unique<TUrlLabel>(10, 10, 280, 24, parent);
        label->SetCaption("mailto:someone@example.org?a&b");
        label->SetOnClick([this](const std::string& caption) {
            received.push_back(caption);
            blueAtClick = label->Hot() ? 0 : Count(Blue);
        });
    }
    ~LabelOnWindow() { label.reset(), DestroyWindow(parent); }
    void Send(UINT message) { SendMessageA(label->Handle(), message, 0, MAKELPARAM(5, 5)); }
    int Count(COLORREF color) const { return probe::CaptureWindow(parent, false).Count(label->Bounds(), color); }

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND parent = nullptr;
    std::unique_ptr<TUrlLabel> label;
    std::vector<std::string> received;
    int blueAtClick = 0;  // pixels of the normal colour when the handler ran
};

// The hand cursor, red and underlined under the mouse, blue on button face when it
// leaves, and a click that hands exactly the caption to the handler after the normal
// look. The About dialog frees its labels before their windows go: messages in
// between must not reach them.
TEST(UrlLabel, HoverClickAndAWindowOutlivingItsLabel)
{
    LabelOnWindow window;
    WNDCLASSA info{};
    ASSERT_TRUE(GetClassInfoA(window.instance, UrlLabelClassName, &info));
    EXPECT_TRUE(info.hCursor && info.hCursor == LoadCursorA(window.instance, "HAND"));
    window.Send(WM_MOUSEMOVE);
    const int red = window.Count(Red);
    window.Send(WM_MOUSELEAVE);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
    const int blue = window.Count(Blue);
    EXPECT_TRUE(window.Count(Red) == 0 && blue > 20 && red > blue)
        << red << " red, " << blue << " blue: the hot text is underlined";
    const RECT& area = window.label->Bounds();  // a corner, where no text is
    EXPECT_EQ(probe::CaptureWindow(window.parent, false).At(area.left + 1, area.top + 1), GetSysColor(COLOR_BTNFACE));
    window.Send(WM_MOUSEMOVE);
    window.Send(WM_LBUTTONDOWN);
    EXPECT_EQ(window.received, std::vector<std::string>{"mailto:someone@example.org?a&b"});
    EXPECT_GT(window.blueAtClick, 20) << "drawn in the normal colour before the handler runs";

    const HWND handle = window.label->Handle();
    window.label.reset();
    ASSERT_TRUE(IsWindow(handle)) << "the window goes with its parent, not with the label";
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSELEAVE, WM_PAINT})
        SendMessageA(handle, message, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(window.received.size(), 1u) << "no click after the label went";
}

} // namespace
