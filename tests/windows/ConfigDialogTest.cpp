// The configuration and About dialogs, run modally on a second thread and driven
// as a user would: typing, clicking, dragging the slider; then the registry is
// read. Their layout is checked at each scaling of the screen.
#include "dialogs/AboutDialog.h"
#include "dialogs/ConfigDialog.h"
#include "support/UrlLabel.h"
#include "tests/windows/probe/SettingsTexts.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {
using namespace probe;

class ConfigDialogTest : public ::testing::Test {
protected:
    ConfigDialogTest() { Settings = TSettings{}; }
    ~ConfigDialogTest() override
    {
        if (!runner_.joinable()) return;  // a failed test may leave the About dialog open over this one
        if (HWND about = WaitForWindow(GetCurrentProcessId(), "About", 0)) PostMessageA(about, WM_CLOSE, 0, 0);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        runner_.join();
    }
    void Open(const SettingTexts& stored = {})
    {
        StoreSettingTexts(stored);
        runner_ = std::thread([] { ShowConfigDialog(); });
        dialog = WaitForWindow(GetCurrentProcessId(), "Astrolume Configuration", 10000);
        ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    }
    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    bool Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    void Click(int id) const { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    void Type(int id, const char* text) const { SendMessageA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
    // What the slider sends while it is dragged to `position` and let go.
    void DragVolume(int position) const
    {
        SendMessageA(Item(IDC_VOLUME), TBM_SETPOS, TRUE, position);
        for (int code : {TB_THUMBTRACK, TB_ENDTRACK})
            SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(Item(IDC_VOLUME)));
    }
    // The settings as the controls show them, in their stored form.
    SettingTexts Shown() const
    {
        SettingTexts shown;
        for (const SettingRow& row : SettingsTable)
            shown[row.name] = row.shownAs == SettingControl::Edit    ? TextOf(Item(row.control))
                              : row.shownAs != SettingControl::Slider ? (Checked(row.control) ? "1" : "0")
                              : std::to_string(SendMessageA(Item(row.control), TBM_GETPOS, 0, 0));
        return shown;
    }
    void CloseWith(int id) { Click(id); EXPECT_TRUE(WaitUntilGone(dialog, 10000)); runner_.join(); }
    void ExpectOptionsEnabled(bool on) const
    {
        for (int id = IDC_OPTIONS_GROUP; id <= IDC_CLOCK_FULL; ++id) EXPECT_EQ(Enabled(id), on) << id;
        for (int id : {IDC_SMOOTH_EDGES, IDC_TODAYS_SKY}) EXPECT_EQ(Enabled(id), on) << id;
    }
    ScratchRegistryKey scratch_{SettingsKey};
    HWND dialog = nullptr;
    std::thread runner_;
};

TEST_F(ConfigDialogTest, FirstOpeningShowsTheDefaultsGreyedAndCancelKeepsThem)
{
    Open();
    EXPECT_EQ(Shown(), DefaultTexts);
    ExpectOptionsEnabled(false);
    DragVolume(60);
    EXPECT_EQ(TextOf(Item(IDC_VOLUME_LABEL)), "Volume (60%)");
    EXPECT_EQ(Settings.Volume, 60) << "the slider sets the volume at once";
    CloseWith(IDCANCEL);
    EXPECT_EQ(TextsOf(Settings), DefaultTexts);
    EXPECT_EQ(StoredSettingTexts(), DefaultTexts);
}

// Numbers are read, shown and stored with a point whatever the locale, here a comma one.
TEST_F(ConfigDialogTest, OwnSettingsAreShownAndTypedValuesStored)
{
    ASSERT_NE(std::setlocale(LC_ALL, "German_Germany.1252"), nullptr);
    EXPECT_STREQ(std::localeconv()->decimal_point, ",") << "the C runtime did not take the comma locale";
    Open(OwnTexts);
    EXPECT_EQ(Shown(), OwnTexts);
    ExpectOptionsEnabled(true);  // the clock buttons too, though Show Time is off
    Click(IDC_CLOCK);
    Click(IDC_CLOCK);
    EXPECT_FALSE(Enabled(IDC_CLOCK_SHORT) || Enabled(IDC_CLOCK_FULL)) << "Show Time unchecked greys them";
    Click(IDC_RESTORE_DEFAULTS);
    Click(IDC_SETTING_OPTIONS);
    EXPECT_TRUE(Enabled(IDC_CLOCK_SHORT) && Enabled(IDC_CAM_DISTANCE));
    Type(IDC_SCALE, "1,5");  // a comma does not convert
    Type(IDC_QUALITY, " 64");
    Type(IDC_SIZES, "1.23456");
    Type(IDC_CAM_DISTANCE, "0000000000000000000000000000012x");  // the 32nd character is not read
    Click(IDC_FPS);
    Click(IDC_CLOCK_FULL);
    DragVolume(70);
    CloseWith(IDOK);
    EXPECT_EQ(StoredSettingTexts(), With(OwnTexts, {{"Scale", "0.000"}, {"Quality", "64"}, {"Sizes", "1.235"},
                                                   {"CamDistance", "12.0"}, {"FPS", "1"}, {"ClockShort", "0"},
                                                   {"ClockFull", "1"}, {"Volume", "70"}}));
    EXPECT_EQ(Settings.QualitySpare, 64);
    std::setlocale(LC_ALL, "C");
}

// Fault fixed: a registry that refused the settings used to close the dialog as if
// they were stored. Now a box owned by the dialog says so and the dialog stays.
TEST_F(ConfigDialogTest, RestoreDefaultsStoresEverythingButTheTwelveHourClockOnceTheRegistryTakesIt)
{
    Open(OwnTexts);  // with the 12-hour clock
    DragVolume(60);
    Type(IDC_QUALITY, "99");
    Click(IDC_RESTORE_DEFAULTS);
    ExpectOptionsEnabled(false);
    {
        // Below a volatile vendor key the registry refuses to create the settings key.
        const ScratchRegistryKey vendor("Software\\Vorsk");
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Vorsk", 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE,
                                  nullptr, &key, nullptr), ERROR_SUCCESS);
        RegCloseKey(key);
        PostMessageA(Item(IDOK), BM_CLICK, 0, 0);  // the box's own loop runs inside the click
        HWND box = WaitForWindowWhere(GetCurrentProcessId(), 10000,
                                      [&](HWND window) { return GetWindow(window, GW_OWNER) == dialog; });
        ASSERT_NE(box, nullptr) << "no message box";
        EXPECT_EQ(TextOf(box) + ": " + ReadMessageBox(box).text, "Astrolume Configuration: The settings could not be saved.");
        ASSERT_TRUE(PressButton(box, IDOK) && WaitUntilGone(box, 10000));
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(TextOf(Item(IDC_QUALITY)), "99");
        EXPECT_EQ(Settings.Volume, 60) << "the settings in memory are as before the click";
    }
    CloseWith(IDOK);
    EXPECT_EQ(StoredSettingTexts(), With(DefaultTexts, {{"ClockShort", "1"}}));
}

// The room a control's text needs on one line in its own font; a check or radio
// box says itself what it needs with its box and the gap it draws (a guess of a
// line's height let a cut label pass); none for pictures, lines, drawn and other controls.
SIZE NeededSize(HWND control)
{
    const LONG style = GetWindowLongA(control, GWL_STYLE), type = style & BS_TYPEMASK;
    const bool button = ClassOf(control) == "Button";
    if (!button && (ClassOf(control) != "Static" || (style & SS_TYPEMASK) > SS_RIGHT)) return {};
    SIZE ideal{};
    if (button && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_GROUPBOX) {
        EXPECT_TRUE(SendMessageA(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
        return ideal;
    }
    const WindowDC dc(control);
    const SelectGuard font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT area{};
    DrawTextA(dc.get(), TextOf(control).c_str(), -1, &area, DT_CALCRECT | DT_SINGLELINE);
    return {area.right, area.bottom};
}

// The dialog's text is at least 8 points tall at `dpi`; every control in sight
// lies inside the client area, has room for its text and overlaps no other (a
// group box holds its controls; as position and size round to pixels apiece,
// neighbours may share a pixel's edge). The dialog is saved as `name`.
void ExpectLaidOut(HWND dialog, const std::string& name, int dpi)
{
    const Screenshot shown = CaptureAsShown(dialog);
    EXPECT_TRUE(shown.pixels.empty() ? dpi != 96 : SaveScreenshot(shown, name)) << name << ": no screenshot";
    RECT unit{0, 0, 4, 8}, client{};
    ASSERT_TRUE(MapDialogRect(dialog, &unit) && GetClientRect(dialog, &client));
    EXPECT_GE(unit.bottom, MulDiv(8, dpi, 72)) << name << ": text smaller than 8 points";
    std::vector<std::pair<RECT, std::string>> taken;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        RECT area{}, seen{};
        GetWindowRect(control, &area);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
        if (!IsWindowVisible(control) || !IntersectRect(&seen, &area, &client)) continue;  // About's Esc button
        const std::string what = name + ": " + std::to_string(GetDlgCtrlID(control)) + " \"" + TextOf(control) + "\"";
        EXPECT_TRUE(EqualRect(&seen, &area)) << what << " crosses the dialog's edge";
        const SIZE needed = NeededSize(control);
        EXPECT_TRUE(needed.cx <= area.right - area.left && needed.cy <= area.bottom - area.top)
            << what << " needs " << needed.cx << " x " << needed.cy;
        if (ClassOf(control) == "Button" && (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) continue;
        const RECT inner{area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
        for (const auto& [other, otherName] : taken)
            EXPECT_FALSE(IntersectRect(&seen, &inner, &other)) << what << " overlaps " << otherName;
        taken.emplace_back(area, what);
    }
}

// Run by the next case in a process of its own for each dpi.
TEST_F(ConfigDialogTest, DISABLED_LaidOutAtTheDpiOfThisProcess)
{
    const int dpi = std::atoi(Argument("dpi").c_str());
    ASSERT_EQ(GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSY), dpi) << "the screen kept its dpi";
    ASSERT_TRUE(RegisterUrlLabelClass());
    Open();
    const std::string at = std::to_string(dpi) + "dpi";
    ExpectLaidOut(dialog, "config-dialog-" + at, dpi);
    // Picture 291 fills its frame: a bitmap of its size.
    BITMAP size{};
    RECT shown{};
    const auto image = reinterpret_cast<HBITMAP>(SendMessageA(Item(IDC_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_TRUE(GetObjectA(image, sizeof size, &size) && GetClientRect(Item(IDC_PICTURE), &shown)) << "no picture";
    EXPECT_TRUE(size.bmWidth == shown.right && size.bmHeight == shown.bottom);
    PostMessageA(Item(IDC_ABOUT), BM_CLICK, 0, 0);  // the About dialog's own loop runs inside the click
    HWND about = WaitForWindow(GetCurrentProcessId(), "About", 10000);
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsWindowEnabled(dialog)) << "modal over the configuration dialog";
    ExpectLaidOut(about, "about-dialog-" + at, dpi);
    // The links keep their fonts to themselves: the dialog still has the font of its template.
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(about, WM_GETFONT, 0, 0));
    EXPECT_EQ(font, reinterpret_cast<HGDIOBJ>(SendMessageA(GetDlgItem(about, IDOK), WM_GETFONT, 0, 0)));
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    // Esc where the About dialog's own loop finds it, in one of its controls.
    ASSERT_TRUE(PostMessageA(GetDlgItem(about, IDOK), WM_KEYDOWN, VK_ESCAPE, 1) && WaitUntilGone(about, 10000));
    EXPECT_TRUE(IsWindowEnabled(dialog));
    CloseWith(IDCANCEL);
}

// NOTE: Wine reads the screen's dpi from the user's desktop settings once, when
// a process starts (without the value, from the display configuration's).
TEST(DialogLayout, HoldsFromOneHundredToTwoHundredPercent)
{
    const char* desktop = "Control Panel\\Desktop";
    const ScratchRegistryKey saved(desktop);  // put back as it was however the test ends
    char self[MAX_PATH] = {};
    ASSERT_TRUE(GetModuleFileNameA(nullptr, self, sizeof self));
    for (DWORD dpi : {96, 120, 144, 192}) {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, desktop, "LogPixels", REG_DWORD, &dpi, sizeof dpi), ERROR_SUCCESS);
        ChildProcess run(self, "--gtest_also_run_disabled_tests --gtest_filter=*DISABLED_LaidOut* --dpi=" +
                                   std::to_string(dpi) + " --screenshots=\"" + Argument("screenshots") + "\"");
        EXPECT_EQ(run.Wait(60000), std::optional<DWORD>(0)) << "the dialogs at " << dpi << " dpi";
    }
}

} // namespace
