#include "shell/ShowError.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// The box read back from the screen; an argument that looks like a format is only text.
TEST(ShowError, OwnerlessBoxWithOneButtonAndTheArgumentInPlaceOfThePlaceholder)
{
    std::thread shower([] { ShowError("%s%d%n", IDS_LOAD_LIBRARY, IDS_ERROR); });
    const auto box = probe::WaitForDialog(GetCurrentProcessId(), 10000);
    if (box) {
        EXPECT_EQ(box->caption, "Error");
        EXPECT_EQ(box->text, "Error of the loading the library '%s%d%n'\nProgram terminate!");
        EXPECT_EQ(GetWindow(box->window, GW_OWNER), nullptr);
        EXPECT_TRUE(!GetDlgItem(box->window, IDCANCEL) && !GetDlgItem(box->window, IDNO)) << "OK alone";
        EXPECT_TRUE(probe::PressButton(box->window, IDOK));
    }
    shower.join();
    ASSERT_TRUE(box.has_value()) << "no message box appeared";
}

// Every id the code names has a text, the ids are 8192-8211, and only the library
// message takes an argument (another '%' would be eaten by the formatting).
TEST(StringTable, EveryIdTheCodeUsesHasItsText)
{
    unsigned long seen = 0;  // one bit for each id of the string table's range
    for (unsigned id : {IDS_ERROR, IDS_SHUTDOWN_ERROR, IDS_CANT_CREATE_WINDOW, IDS_REGISTER_CLASS,
                        IDS_RELEASE_DC_AND_RC, IDS_RELEASE_RC, IDS_RELEASE_DC, IDS_RELEASE_WINDOW, IDS_UNREGISTER_CLASS,
                        IDS_PROGRAM_CLOSED, IDS_NO_DEVICE_CONTEXT, IDS_NO_PIXEL_FORMAT, IDS_SET_PIXEL_FORMAT,
                        IDS_CREATE_CONTEXT, IDS_MAKE_CURRENT, IDS_INIT_GL, IDS_LOAD_TEXTURES, IDS_INITIALIZATION,
                        IDS_USE_WINDOW_MODE, IDS_LOAD_LIBRARY}) {
        char text[1024] = {};
        EXPECT_GT(LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text), 0) << id;
        EXPECT_EQ(std::string(text).find('%') != std::string::npos, id == IDS_LOAD_LIBRARY) << id << ": " << text;
        if (id >= 8192 && id <= 8211) seen |= 1ul << (id - 8192);
    }
    EXPECT_EQ(seen, 0xFFFFFul) << "twenty different ids, all in the string table's range";
}

} // namespace
