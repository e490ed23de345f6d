// The link label on a window of the test's own, driven with the messages the
// system sends it, its drawing read back from the screen.
#include "support/UrlLabel.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 128, 0);

// A top-level window of a class with or without a background brush.
class ParentWindow {
public:
    explicit ParentWindow(HBRUSH background)
    {
        className_ = background ? "AstrolumeTestParentBrush" : "AstrolumeTestParentBare";
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = background;
        windowClass.lpszClassName = className_;
        RegisterClassA(&windowClass);
        handle = CreateWindowExA(WS_EX_TOPMOST, className_, "Label test", WS_POPUP | WS_VISIBLE, 20, 20, 320, 120,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        Pump();
    }
    ~ParentWindow()
    {
        DestroyWindow(handle);
        UnregisterClassA(className_, GetModuleHandleA(nullptr));
    }
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    static void Pump()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

    // The label's rectangle as the screen shows it now.
    probe::Screenshot Capture() const
    {
        Pump();
        return probe::CaptureWindow(handle, false);
    }

    HWND handle = nullptr;

private:
    const char* className_;
};

class UrlLabelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(RegisterUrlLabelClass()); }

    static int CountIn(const probe::Screenshot& picture, const TUrlLabel& label, COLORREF color)
    {
        return picture.Count(label.Bounds(), color);
    }
};

TEST_F(UrlLabelTest, ClassHasTheProgramsHandCursor)
{
    WNDCLASSA info{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "UrlLabel", &info));
    ASSERT_NE(info.hCursor, nullptr);
    EXPECT_EQ(info.hCursor, LoadCursorA(GetModuleHandleA(nullptr), "HAND"));
    EXPECT_EQ(info.hbrBackground, nullptr);
    EXPECT_EQ(info.style, 0u);

    // The hand points with its finger tip, at the top of the picture.
    ICONINFO cursor{};
    ASSERT_TRUE(GetIconInfo(info.hCursor, &cursor));
    EXPECT_FALSE(cursor.fIcon);
    EXPECT_EQ(cursor.xHotspot, 6u);
    EXPECT_EQ(cursor.yHotspot, 0u);
    if (cursor.hbmMask) DeleteObject(cursor.hbmMask);
    if (cursor.hbmColor) DeleteObject(cursor.hbmColor);

    // Unregistered only while registered; registering again works.
    UnregisterUrlLabelClass();
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "UrlLabel", &info));
    UnregisterUrlLabelClass();
    EXPECT_TRUE(RegisterUrlLabelClass());
    EXPECT_TRUE(RegisterUrlLabelClass());
}

TEST_F(UrlLabelTest, HoverTurnsTheTextRedAndLeavingTurnsItBlue)
{
    ParentWindow parent(nullptr);
    TUrlLabel label(10, 10, 280, 24, parent.handle);
    label.SetCaption("mailto: someone@example.org");
    EXPECT_EQ(probe::TextOf(label.Handle()), "mailto: someone@example.org");
    EXPECT_EQ(GetParent(label.Handle()), parent.handle);

    InvalidateRect(label.Handle(), nullptr, FALSE);
    auto picture = parent.Capture();
    EXPECT_FALSE(label.Hot());
    EXPECT_GT(CountIn(picture, label, Blue), 20) << "normal text is blue";
    EXPECT_EQ(CountIn(picture, label, Red), 0);

    SendMessageA(label.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(label.Hot());
    picture = parent.Capture();
    const int red = CountIn(picture, label, Red);
    EXPECT_GT(red, 20) << "hot text is red";
    EXPECT_EQ(CountIn(picture, label, Blue), 0);

    SendMessageA(label.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(label.Hot());
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
    picture = parent.Capture();
    const int blue = CountIn(picture, label, Blue);
    EXPECT_GT(blue, 20);
    EXPECT_EQ(CountIn(picture, label, Red), 0);
    // The hot look is underlined: the same text has more coloured pixels.
    EXPECT_GT(red, blue);
}

TEST_F(UrlLabelTest, ClickHandsTheCaptionToTheHandlerAfterTheNormalLook)
{
    ParentWindow parent(nullptr);
    TUrlLabel label(10, 10, 280, 24, parent.handle);
    label.SetCaption("https://www.example.org/a&b");
    std::optional<std::string> received;
    int blueAtClick = 0;
    bool hotAtClick = true;
    label.SetOnClick([&](const std::string& caption) {
        received = caption;
        hotAtClick = label.Hot();
        blueAtClick = CountIn(probe::CaptureWindow(parent.handle, false), label, Blue);
    });
    SendMessageA(label.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(label.Hot());
    SendMessageA(label.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(*received, "https://www.example.org/a&b");
    EXPECT_FALSE(hotAtClick);
    EXPECT_GT(blueAtClick, 20) << "drawn in the normal colour before the handler runs";
}

TEST_F(UrlLabelTest, WithoutHandlerAClickDoesNothing)
{
    ParentWindow parent(nullptr);
    TUrlLabel label(10, 10, 280, 24, parent.handle);
    label.SetCaption("plain");
    SendMessageA(label.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(label.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(label.Hot()) << "a click without handler leaves the hot look";
    EXPECT_GT(CountIn(parent.Capture(), label, Red), 10);
}

TEST_F(UrlLabelTest, BackgroundIsTheParentsBrushOrButtonFace)
{
    const struct {
        const char* name;
        HBRUSH brush;
        COLORREF expected;
    } cases[] = {
        {"no brush", nullptr, GetSysColor(COLOR_BTNFACE)},
        {"black brush", static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), RGB(0, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ParentWindow parent(c.brush);
        TUrlLabel label(10, 10, 280, 24, parent.handle);
        label.SetCaption("x");
        ParentWindow::Pump();
        // Something else in the label's area first, then the label's own paint.
        {
            HDC dc = GetDC(parent.handle);
            HBRUSH green = CreateSolidBrush(Green);
            const RECT bounds = label.Bounds();
            FillRect(dc, &bounds, green);
            DeleteObject(green);
            ReleaseDC(parent.handle, dc);
        }
        ASSERT_GT(CountIn(parent.Capture(), label, Green), 1000);
        InvalidateRect(label.Handle(), nullptr, FALSE);
        const auto picture = parent.Capture();
        EXPECT_EQ(CountIn(picture, label, Green), 0);
        // The corners hold no text.
        const RECT bounds = label.Bounds();
        EXPECT_EQ(picture.At(bounds.left + 1, bounds.top + 1), c.expected);
        EXPECT_EQ(picture.At(bounds.right - 2, bounds.bottom - 2), c.expected);
    }
}

TEST_F(UrlLabelTest, WindowOutlivingItsLabelIgnoresTheMouse)
{
    // The About dialog frees its labels before the dialog and its children are
    // destroyed: messages in between must not reach the freed objects.
    ParentWindow parent(nullptr);
    int clicks = 0;
    HWND window = nullptr;
    {
        TUrlLabel label(10, 10, 280, 24, parent.handle);
        label.SetCaption("gone");
        label.SetOnClick([&](const std::string&) { ++clicks; });
        window = label.Handle();
    }
    ASSERT_TRUE(IsWindow(window)) << "the window goes with its parent, not with the label";
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    InvalidateRect(window, nullptr, FALSE);
    ParentWindow::Pump();
    EXPECT_EQ(clicks, 0);
}

TEST_F(UrlLabelTest, NewCaptionWaitsForTheNextPaint)
{
    ParentWindow parent(nullptr);
    TUrlLabel label(10, 10, 280, 24, parent.handle);
    label.SetCaption("first");
    InvalidateRect(label.Handle(), nullptr, FALSE);
    const int before = CountIn(parent.Capture(), label, Blue);
    ASSERT_GT(before, 10);

    label.SetCaption("first");  // the same text: nothing happens
    label.SetCaption("a much longer second caption");
    EXPECT_EQ(label.Caption(), "a much longer second caption");
    EXPECT_EQ(probe::TextOf(label.Handle()), "a much longer second caption");
    // NOTE: read the parent's pixels without the repaint CaptureWindow asks for.
    HDC dc = GetDC(parent.handle);
    int unchanged = 0;
    const RECT bounds = label.Bounds();
    for (int y = bounds.top; y < bounds.bottom; ++y)
        for (int x = bounds.left; x < bounds.right; ++x)
            if (GetPixel(dc, x, y) == Blue) ++unchanged;
    ReleaseDC(parent.handle, dc);
    EXPECT_EQ(unchanged, before) << "the new text appeared without a paint";

    InvalidateRect(label.Handle(), nullptr, FALSE);
    EXPECT_GT(CountIn(parent.Capture(), label, Blue), before);
}

} // namespace
