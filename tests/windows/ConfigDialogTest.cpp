// The configuration and About dialogs, run as configuration mode runs them
// (modal, here on a second thread) and driven as a user would: reading the
// controls, typing, clicking, dragging the slider, then reading the registry.
#include "common/Settings.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/ConfigDialog.h"
#include "resources/ResourceIds.h"
#include "support/UrlLabel.h"
#include "tests/windows/probe/Probe.h"

#include <commctrl.h>
#include "tests/windows/probe/SettingsTexts.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

const std::string Key = SettingsKey;

const auto& DefaultTexts = probe::DefaultSettingsTexts;

const std::map<std::string, std::string> OwnTexts = {
    {"DefaultSettings", "0"}, {"Quality", "12"},   {"CamDistance", "40.5"}, {"Scale", "0.100"},
    {"Speed", "3.5"},         {"Distance", "0.250"}, {"Sizes", "1.500"},    {"CamRotation", "-0.75"},
    {"FPS", "0"},             {"DescPlanet", "1"}, {"MouseMove", "1"},      {"Sound", "0"},
    {"Clock", "1"},           {"ClockShort", "0"}, {"ClockFull", "1"},      {"Volume", "40"},
};

std::map<std::string, std::string> StoredTexts()
{
    std::map<std::string, std::string> texts;
    if (auto values = probe::ReadRegValues(Key))
        for (const auto& [name, value] : *values) texts[name] = value.Text();
    return texts;
}

void Store(const std::map<std::string, std::string>& texts)
{
    for (const auto& [name, text] : texts) ASSERT_TRUE(probe::SetRegString(Key, name, text)) << name;
}

// The dialog open on its own thread, as configuration mode shows it.
class ConfigDialogTest : public ::testing::Test {
protected:
    ConfigDialogTest() { Settings = TSettings{}; }
    ~ConfigDialogTest() override
    {
        if (runner_.joinable()) {
            // A failed test may leave the About dialog open over this one.
            if (HWND about = probe::WaitForWindow(GetCurrentProcessId(), "About", 0))
                PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
            if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            runner_.join();
        }
        Settings = TSettings{};
    }

    void Open()
    {
        runner_ = std::thread([] { RunConfigDialog(); });
        dialog = probe::WaitForWindow(GetCurrentProcessId(), "Astrolume Configuration", 10000);
        ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    }

    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    std::string Text(int id) const { return probe::TextOf(Item(id)); }
    bool IsChecked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    void Click(int id) const { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    void Type(int id, const char* text) const { SendMessageA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }

    // What the slider sends while it is dragged to `position` and let go.
    void DragVolume(int position) const
    {
        HWND slider = Item(IDC_VOLUME);
        SendMessageA(slider, TBM_SETPOS, TRUE, position);
        SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(slider));
        SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
    }

    // Clicks OK or Cancel and waits until the dialog has returned.
    void CloseWith(int id)
    {
        Click(id);
        EXPECT_TRUE(probe::WaitUntilGone(dialog, 10000));
        runner_.join();
        dialog = nullptr;
    }

    void ExpectOptionsEnabled(bool enabled) const
    {
        for (int id = IDC_OPTIONS_GROUP; id <= IDC_CLOCK_FULL; ++id) EXPECT_EQ(Enabled(id), enabled) << id;
        for (int id : {IDC_RESTORE_DEFAULTS, IDC_SETTING_OPTIONS, IDOK, IDCANCEL, IDC_ABOUT})
            EXPECT_TRUE(Enabled(id)) << id;
    }

    probe::ScratchRegistryKey scratch_{Key};
    HWND dialog = nullptr;

private:
    std::thread runner_;
};

TEST_F(ConfigDialogTest, TemplateHoldsEveryControl)
{
    Open();
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    const struct {
        int id;
        const char* kind;
        const char* text;
        LONG styles;  // style bits that must be set
    } controls[] = {
        {IDC_RESTORE_DEFAULTS, "Button", "Restore Defaults", BS_AUTORADIOBUTTON},
        {IDC_SETTING_OPTIONS, "Button", "Setting options", BS_AUTORADIOBUTTON},
        {IDC_OPTIONS_GROUP, "Button", "Options", BS_GROUPBOX | WS_GROUP},
        {IDC_QUALITY_LABEL, "Static", "Quality of the picture", WS_GROUP},
        {IDC_QUALITY, "Edit", nullptr, ES_CENTER | ES_AUTOHSCROLL | WS_TABSTOP},
        {IDC_CAM_DISTANCE_LABEL, "Static", "Distance till sun", WS_GROUP},
        {IDC_CAM_DISTANCE, "Edit", nullptr, ES_CENTER | ES_AUTOHSCROLL | WS_TABSTOP},
        {IDC_FACTORS_GROUP, "Button", "Factors", BS_GROUPBOX | WS_GROUP},
        {IDC_SCALE_LABEL, "Static", "Scale", WS_GROUP},
        {IDC_SCALE, "Edit", nullptr, ES_CENTER | WS_TABSTOP},
        {IDC_SPEED_LABEL, "Static", "Speed of animation", WS_GROUP},
        {IDC_SPEED, "Edit", nullptr, ES_CENTER | WS_TABSTOP},
        {IDC_DISTANCE_LABEL, "Static", "Distances", WS_GROUP},
        {IDC_DISTANCE, "Edit", nullptr, ES_CENTER | WS_TABSTOP},
        {IDC_SIZES_LABEL, "Static", "Sizes", WS_GROUP},
        {IDC_SIZES, "Edit", nullptr, ES_CENTER | WS_TABSTOP},
        {IDC_CAM_ROTATION_LABEL, "Static", "Speed of rotation camera", WS_GROUP},
        {IDC_CAM_ROTATION, "Edit", nullptr, ES_CENTER | WS_TABSTOP},
        {IDC_FPS_MOUSE_GROUP, "Button", "FPS && Mouse", BS_GROUPBOX | WS_GROUP},
        {IDC_FPS, "Button", "Show FPS", BS_AUTOCHECKBOX | WS_TABSTOP},
        {IDC_DESC_PLANET, "Button", "Show description", BS_AUTOCHECKBOX | WS_TABSTOP},
        {IDC_MOUSE_MOVE, "Button", "Exit on Mouse move", BS_AUTOCHECKBOX | WS_TABSTOP},
        {IDC_PICTURE, "Static", nullptr, SS_BITMAP},
        {IDC_SOUND_GROUP, "Button", "Sound", BS_GROUPBOX | WS_GROUP},
        {IDC_VOLUME_LABEL, "Static", nullptr, WS_GROUP},
        {IDC_VOLUME, "msctls_trackbar32", nullptr, TBS_NOTICKS | TBS_TOOLTIPS | WS_TABSTOP},
        {IDC_SOUND, "Button", "Enable Music", BS_AUTOCHECKBOX | WS_TABSTOP},
        {IDC_TIME_GROUP, "Button", "Time", BS_GROUPBOX | WS_GROUP},
        {IDC_CLOCK, "Button", "Show Time", BS_AUTOCHECKBOX | WS_TABSTOP},
        {IDC_CLOCK_SHORT, "Button", "12 hrs", BS_AUTORADIOBUTTON},
        {IDC_CLOCK_FULL, "Button", "24 hrs", BS_AUTORADIOBUTTON},
        {IDOK, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP},
        {IDCANCEL, "Button", "Cancel", WS_TABSTOP},
        {IDC_ABOUT, "Button", "About", WS_TABSTOP},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = Item(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_STREQ(probe::ClassOf(control).c_str(), c.kind);
        if (c.text) {
            EXPECT_EQ(Text(c.id), c.text);
        }
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        EXPECT_EQ(style & c.styles, c.styles);
        EXPECT_TRUE(style & WS_VISIBLE);
    }
    // Apart from the group boxes that frame them, no two controls overlap.
    auto isFrame = [&](int id) {
        return probe::ClassOf(Item(id)) == "Button" && (GetWindowLongA(Item(id), GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    };
    for (const auto& a : controls)
        for (const auto& b : controls) {
            if (a.id >= b.id || isFrame(a.id) || isFrame(b.id)) continue;
            RECT ra{}, rb{}, common{};
            GetWindowRect(Item(a.id), &ra);
            GetWindowRect(Item(b.id), &rb);
            EXPECT_FALSE(IntersectRect(&common, &ra, &rb)) << a.id << " overlaps " << b.id;
        }
}

TEST_F(ConfigDialogTest, FirstOpeningShowsTheDefaultsGreyed)
{
    Open();
    EXPECT_TRUE(IsChecked(IDC_RESTORE_DEFAULTS));
    EXPECT_FALSE(IsChecked(IDC_SETTING_OPTIONS));
    const std::pair<int, const char*> texts[] = {
        {IDC_QUALITY, "30"},   {IDC_CAM_DISTANCE, "25.0"}, {IDC_SCALE, "0.040"},      {IDC_SPEED, "20.0"},
        {IDC_DISTANCE, "0.500"}, {IDC_SIZES, "2.000"},     {IDC_CAM_ROTATION, "0.20"}, {IDC_VOLUME_LABEL, "Volume (25%)"},
    };
    for (const auto& [id, text] : texts) EXPECT_EQ(Text(id), text) << id;
    const std::pair<int, bool> checks[] = {{IDC_FPS, true},   {IDC_DESC_PLANET, true},  {IDC_MOUSE_MOVE, false},
                                           {IDC_SOUND, true}, {IDC_CLOCK, true},        {IDC_CLOCK_SHORT, false},
                                           {IDC_CLOCK_FULL, true}};
    for (const auto& [id, checked] : checks) EXPECT_EQ(IsChecked(id), checked) << id;
    HWND slider = Item(IDC_VOLUME);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 25);
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), 100);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPAGESIZE, 0, 0), 32);
    ExpectOptionsEnabled(false);
    // Opening loaded the settings: a first start stores the defaults.
    EXPECT_EQ(StoredTexts(), DefaultTexts);

    // Picture 291 fills the picture control: a bitmap of its size, drawn edge to edge.
    HWND pictureControl = Item(IDC_PICTURE);
    const auto image = reinterpret_cast<HBITMAP>(SendMessageA(pictureControl, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(image, nullptr) << "no picture";
    BITMAP size{};
    ASSERT_TRUE(GetObjectA(image, sizeof size, &size));
    RECT client{};
    GetClientRect(pictureControl, &client);
    EXPECT_EQ(size.bmWidth, client.right);
    EXPECT_EQ(std::abs(size.bmHeight), client.bottom);

    const auto picture = probe::CaptureWindow(dialog);
    RECT shown = probe::AreaInCapture(dialog, pictureControl);
    InflateRect(&shown, -3, -3);  // inside the sunken edge
    const int area = (shown.right - shown.left) * (shown.bottom - shown.top);
    EXPECT_LT(picture.Count(shown, GetSysColor(COLOR_BTNFACE)), area / 100) << "the picture does not fill its frame";
    EXPECT_FALSE(probe::SaveScreenshot(picture, "config-dialog").empty());

    CloseWith(IDCANCEL);
    EXPECT_EQ(GetObjectType(image), 0u) << "the picture outlived the dialog";
    EXPECT_EQ(StoredTexts(), DefaultTexts);
}

TEST_F(ConfigDialogTest, OwnSettingsAreShownAndTypedValuesStored)
{
    Store(OwnTexts);
    Open();
    EXPECT_TRUE(IsChecked(IDC_SETTING_OPTIONS));
    ExpectOptionsEnabled(true);
    EXPECT_EQ(Text(IDC_CAM_ROTATION), "-0.75");
    EXPECT_EQ(Text(IDC_VOLUME_LABEL), "Volume (40%)");
    EXPECT_FALSE(IsChecked(IDC_FPS));

    Type(IDC_CAM_DISTANCE, "3");
    Type(IDC_SCALE, "1,5");         // a comma does not convert
    Type(IDC_QUALITY, " 64");
    Type(IDC_SIZES, "1.23456");
    Type(IDC_SPEED, "0");           // stored as typed; run mode copes with it
    Click(IDC_FPS);
    Click(IDC_CLOCK_SHORT);
    DragVolume(70);
    CloseWith(IDOK);

    auto expected = OwnTexts;
    expected["CamDistance"] = "3.0";
    expected["Scale"] = "0.000";
    expected["Quality"] = "64";
    expected["Sizes"] = "1.235";
    expected["Speed"] = "0.0";
    expected["FPS"] = "1";
    expected["ClockShort"] = "1";
    expected["ClockFull"] = "0";
    expected["Volume"] = "70";
    EXPECT_EQ(StoredTexts(), expected);
    EXPECT_FLOAT_EQ(Settings.CamDistance, 3.0f);
    EXPECT_EQ(Settings.QualityStacks, 64);
    EXPECT_EQ(Settings.QualitySpare, 64);
}

TEST_F(ConfigDialogTest, ChoosingOwnSettingsAndTypingADistance)
{
    Open();
    Click(IDC_SETTING_OPTIONS);
    EXPECT_FALSE(IsChecked(IDC_RESTORE_DEFAULTS));
    ExpectOptionsEnabled(true);
    Type(IDC_CAM_DISTANCE, "3");
    CloseWith(IDOK);
    auto expected = DefaultTexts;
    expected["DefaultSettings"] = "0";
    expected["CamDistance"] = "3.0";
    EXPECT_EQ(StoredTexts(), expected);
    EXPECT_FALSE(Settings.DefaultSettings);
}

TEST_F(ConfigDialogTest, CancelPutsTheVolumeBack)
{
    Store(OwnTexts);
    Open();
    DragVolume(60);
    EXPECT_EQ(Text(IDC_VOLUME_LABEL), "Volume (60%)");
    EXPECT_EQ(Settings.Volume, 60) << "the slider sets the volume at once";
    Type(IDC_QUALITY, "99");
    CloseWith(IDCANCEL);
    EXPECT_EQ(Settings.Volume, 40);
    EXPECT_EQ(Settings.Quality, 12);
    EXPECT_EQ(StoredTexts(), OwnTexts);
}

TEST_F(ConfigDialogTest, RestoreDefaultsOverridesEverythingButTheTwelveHourClock)
{
    Store(OwnTexts);
    Open();
    DragVolume(60);
    Type(IDC_QUALITY, "99");
    Click(IDC_CLOCK_SHORT);
    Click(IDC_RESTORE_DEFAULTS);
    ExpectOptionsEnabled(false);
    EXPECT_EQ(Text(IDC_QUALITY), "99") << "greyed controls keep what they show";
    CloseWith(IDOK);
    auto expected = DefaultTexts;
    expected["ClockShort"] = "1";
    EXPECT_EQ(StoredTexts(), expected);
    EXPECT_EQ(Settings.Volume, 25);
    EXPECT_TRUE(Settings.ClockShort);

    // The next load takes the defaults and does not read ClockShort.
    Settings.ClockShort = false;
    LoadSettings();
    EXPECT_FALSE(Settings.ClockShort);
}

TEST_F(ConfigDialogTest, ShowTimeDrivesTheClockButtonsUntilTheGroupIsEnabledAgain)
{
    Store(OwnTexts);
    Open();
    Click(IDC_CLOCK);
    EXPECT_FALSE(IsChecked(IDC_CLOCK));
    EXPECT_FALSE(Enabled(IDC_CLOCK_SHORT));
    EXPECT_FALSE(Enabled(IDC_CLOCK_FULL));
    Click(IDC_CLOCK);
    EXPECT_TRUE(Enabled(IDC_CLOCK_SHORT));
    EXPECT_TRUE(Enabled(IDC_CLOCK_FULL));

    Click(IDC_CLOCK);
    Click(IDC_RESTORE_DEFAULTS);
    Click(IDC_SETTING_OPTIONS);
    EXPECT_FALSE(IsChecked(IDC_CLOCK));
    EXPECT_TRUE(Enabled(IDC_CLOCK_SHORT));
    EXPECT_TRUE(Enabled(IDC_CLOCK_FULL));
    CloseWith(IDOK);
    EXPECT_EQ(StoredTexts().at("Clock"), "0");
}

TEST_F(ConfigDialogTest, LongTextIsCutAtThirtyOneCharacters)
{
    Store(OwnTexts);
    Open();
    // 31 characters make a number; the 32nd would make it a text that does not convert.
    Type(IDC_CAM_DISTANCE, "0000000000000000000000000000012x");
    Type(IDC_QUALITY, "99999999999999999999");  // beyond an integer
    CloseWith(IDOK);
    EXPECT_EQ(StoredTexts().at("CamDistance"), "12.0");
    EXPECT_EQ(StoredTexts().at("Quality"), "0");
}

// Records what a click on a link would open.
std::vector<std::string> OpenedLinks;
void RecordLink(const std::string& link) { OpenedLinks.push_back(link); }

TEST_F(ConfigDialogTest, AboutOpensFromItsButtonAndClosesWithEsc)
{
    ASSERT_TRUE(RegisterUrlLabelClass());
    OpenedLinks.clear();
    const LinkOpener previous = SetLinkOpener(RecordLink);
    Open();
    // Posted: the button's click runs the About dialog's own modal loop.
    PostMessageA(Item(IDC_ABOUT), BM_CLICK, 0, 0);
    HWND about = probe::WaitForWindow(GetCurrentProcessId(), "About", 10000);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(GetWindow(about, GW_OWNER), dialog);
    EXPECT_FALSE(IsWindowEnabled(dialog)) << "modal over the configuration dialog";
    EXPECT_EQ(probe::TextOf(GetDlgItem(about, IDC_ABOUT_TITLE)), "Astrolume - screensaver");
    EXPECT_EQ(probe::TextOf(GetDlgItem(about, IDC_ABOUT_VERSION)), "Version 1.10");

    // Three labels over the three addresses, with the mail prefix on the two e-mails.
    std::vector<HWND> labels;
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (probe::ClassOf(child) == "UrlLabel") labels.push_back(child);
    ASSERT_EQ(labels.size(), 3u);
    const std::string mail = probe::TextOf(GetDlgItem(about, IDC_ABOUT_MAIL));
    const std::string mail2 = probe::TextOf(GetDlgItem(about, IDC_ABOUT_MAIL2));
    const std::string web = probe::TextOf(GetDlgItem(about, IDC_ABOUT_WEB));
    EXPECT_NE(mail.find("@example.org"), std::string::npos);
    EXPECT_NE(mail2.find("@example.org"), std::string::npos);
    EXPECT_NE(web.find("example.org"), std::string::npos);
    std::vector<std::string> captions;
    for (HWND label : labels) captions.push_back(probe::TextOf(label));
    std::sort(captions.begin(), captions.end());
    std::vector<std::string> expected = {"mailto: " + mail, "mailto: " + mail2, web};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(captions, expected);

    // Each label takes the place of its address, which is hidden.
    for (int id : {IDC_ABOUT_MAIL, IDC_ABOUT_MAIL2, IDC_ABOUT_WEB}) {
        HWND address = GetDlgItem(about, id);
        EXPECT_FALSE(IsWindowVisible(address)) << id;
        RECT under{};
        GetWindowRect(address, &under);
        bool covered = false;
        for (HWND label : labels) {
            RECT over{};
            GetWindowRect(label, &over);
            covered |= EqualRect(&over, &under) != FALSE;
        }
        EXPECT_TRUE(covered) << id;
    }

    // The labels keep their fonts to themselves: the dialog still has the font of its template.
    const auto dialogFont = reinterpret_cast<HGDIOBJ>(SendMessageA(about, WM_GETFONT, 0, 0));
    EXPECT_EQ(dialogFont, reinterpret_cast<HGDIOBJ>(SendMessageA(GetDlgItem(about, IDOK), WM_GETFONT, 0, 0)));
    EXPECT_EQ(GetObjectType(dialogFont), static_cast<DWORD>(OBJ_FONT));

    // The drawn title and version, the labels in their normal blue; a label under the mouse turns red.
    auto picture = probe::CaptureWindow(about);
    const RECT title = probe::AreaInCapture(about, GetDlgItem(about, IDC_ABOUT_TITLE));
    const RECT version = probe::AreaInCapture(about, GetDlgItem(about, IDC_ABOUT_VERSION));
    EXPECT_GT(picture.Count(title, RGB(0, 0, 255)), 50) << "blue title";
    EXPECT_GT(picture.Count(title, RGB(255, 255, 255)), 20) << "white shadow";
    EXPECT_GT(picture.Count(version, RGB(255, 0, 0)), 30) << "red version";
    for (HWND label : labels) {
        const RECT area = probe::AreaInCapture(about, label);
        EXPECT_GT(picture.Count(area, RGB(0, 0, 255)), 20);
        // The whole text fits: no blue in the outermost columns, where cut text would touch.
        EXPECT_EQ(picture.Count(RECT{area.left, area.top, area.left + 3, area.bottom}, RGB(0, 0, 255)), 0);
        EXPECT_EQ(picture.Count(RECT{area.right - 3, area.top, area.right, area.bottom}, RGB(0, 0, 255)), 0);
    }
    EXPECT_FALSE(probe::SaveScreenshot(picture, "about-dialog").empty());

    SendMessageA(labels[0], WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    picture = probe::CaptureWindow(about, false);
    EXPECT_GT(picture.Count(probe::AreaInCapture(about, labels[0]), RGB(255, 0, 0)), 20) << "hot label";
    SendMessageA(labels[0], WM_MOUSELEAVE, 0, 0);

    // A click opens exactly the label's text.
    for (HWND label : labels) SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    std::sort(OpenedLinks.begin(), OpenedLinks.end());
    EXPECT_EQ(OpenedLinks, expected);

    // Esc closes it through the hidden Cancel button; the configuration dialog stays.
    ASSERT_TRUE(probe::PressKey(about, VK_ESCAPE));
    EXPECT_TRUE(probe::WaitUntilGone(about, 10000));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(dialog));
    CloseWith(IDCANCEL);
    SetLinkOpener(previous);
}

} // namespace
