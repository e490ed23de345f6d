#include "shell/ShowError.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Shows the box on a second thread, reads it back from the screen, closes it.
probe::DialogText ShowAndRead(const char* text, unsigned messageId, unsigned captionId, HWND* owner = nullptr)
{
    std::thread shower([&] { ShowError(text, messageId, captionId); });
    auto box = probe::WaitForDialog(GetCurrentProcessId(), 10000);
    probe::DialogText result;
    if (box) {
        result = *box;
        if (owner) *owner = GetWindow(box->window, GW_OWNER);
        EXPECT_TRUE(probe::PressButton(box->window, IDOK));
    } else {
        ADD_FAILURE() << "no message box appeared";
    }
    shower.join();
    return result;
}

TEST(ShowError, LibraryMessageNamesTheLibrariesOnTwoLines)
{
    HWND owner = reinterpret_cast<HWND>(1);
    const auto box = ShowAndRead("duzidad.dll or bass.dll", IDS_LOAD_LIBRARY, IDS_ERROR, &owner);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "Error of the loading the library 'duzidad.dll or bass.dll'\nProgram terminate!");
    EXPECT_EQ(owner, nullptr);
}

TEST(ShowError, TextWithoutPlaceholderIgnoresTheArgument)
{
    const auto box = ShowAndRead("ignored", IDS_RELEASE_WINDOW, IDS_SHUTDOWN_ERROR);
    EXPECT_EQ(box.caption, "SHUTDOWN ERROR");
    EXPECT_EQ(box.text, "Could Not Release Window.");
}

TEST(ShowError, ArgumentIsNotAFormat)
{
    const auto box = ShowAndRead("%s%d%n", IDS_LOAD_LIBRARY, IDS_ERROR);
    EXPECT_EQ(box.text, "Error of the loading the library '%s%d%n'\nProgram terminate!");
}

// The string table holds exactly the texts the program shows.
TEST(StringTable, EveryMessageText)
{
    const std::pair<unsigned, const char*> texts[] = {
        {8192, "Error"},
        {8193, "SHUTDOWN ERROR"},
        {8194, "Can't create window"},
        {8195, "Error registering window class"},
        {8196, "Release Of DC And RC Failed."},
        {8197, "Release Rendering Context Failed."},
        {8198, "Release Device Context Failed."},
        {8199, "Could Not Release Window."},
        {8200, "Could Not Unregister Class."},
        {8201, "The Program is closed."},
        {8202, "Can't create the device of the context GL."},
        {8203, "Can't find suitable PixelFormat."},
        {8204, "Can't install PixelFormat."},
        {8205, "Can't create GL context."},
        {8206, "Can't initialize GL context."},
        {8207, "Initialization GL unchancy."},
        {8208, "Error when loading the textures."},
        {8209, "Error in initialization"},
        {8210, "Required full screen mode is not supported\nYour video card. Use window mode?"},
        {8211, "Error of the loading the library '%s'\nProgram terminate!"},
    };
    for (const auto& [id, expected] : texts) {
        char buffer[512] = {};
        LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
        EXPECT_STREQ(buffer, expected) << id;
    }
    ErrorText formatted;
    LoadErrorText("x", IDS_USE_WINDOW_MODE, IDS_ERROR, formatted);
    EXPECT_STREQ(formatted.caption, "Error");
    EXPECT_STREQ(formatted.message, texts[18].second);
}

TEST(ShowError, BoxIsTaskModalWithOneButton)
{
    std::thread shower([] { ShowError("", IDS_CANT_CREATE_WINDOW, IDS_ERROR); });
    auto box = probe::WaitForDialog(GetCurrentProcessId(), 10000);
    ASSERT_TRUE(box.has_value());
    const LONG style = GetWindowLongA(box->window, GWL_STYLE);
    EXPECT_EQ(box->text, "Can't create window");
    EXPECT_NE(GetDlgItem(box->window, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(box->window, IDCANCEL), nullptr);
    EXPECT_EQ(GetDlgItem(box->window, IDNO), nullptr);
    EXPECT_NE(style & WS_VISIBLE, 0);
    EXPECT_TRUE(probe::PressButton(box->window, IDOK));
    shower.join();
}

} // namespace
