#include "shell/ShowError.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <thread>

namespace {

// The box read back from the screen; an argument that looks like a format is only text.
TEST(ShowError, OwnerlessBoxWithOneButtonAndTheArgumentInPlaceOfThePlaceholder)
{
    std::thread shower([] { ShowError("%s%d%n", IDS_LOAD_LIBRARY, IDS_ERROR); });
    const auto box = probe::WaitForDialog(GetCurrentProcessId(), 10000);
    if (box) {
        EXPECT_EQ(box->caption + ": " + box->text,
                  "Error: Error of the loading the library '%s%d%n'\nProgram terminate!");
        EXPECT_EQ(GetWindow(box->window, GW_OWNER), nullptr);
        EXPECT_TRUE(!GetDlgItem(box->window, IDCANCEL) && !GetDlgItem(box->window, IDNO)) << "OK alone";
        EXPECT_TRUE(probe::PressButton(box->window, IDOK));
    }
    shower.join();
    ASSERT_TRUE(box.has_value()) << "no message box appeared";
}

// Every id the code names has a text of its own, and only the library message takes
// an argument (another '%' would be eaten by the formatting).
TEST(StringTable, EveryIdTheCodeUsesHasItsText)
{
    const std::set<unsigned> ids = {IDS_ERROR, IDS_SHUTDOWN_ERROR, IDS_CANT_CREATE_WINDOW, IDS_REGISTER_CLASS,
        IDS_RELEASE_DC_AND_RC, IDS_RELEASE_RC, IDS_RELEASE_DC, IDS_RELEASE_WINDOW, IDS_UNREGISTER_CLASS,
        IDS_PROGRAM_CLOSED, IDS_NO_DEVICE_CONTEXT, IDS_NO_PIXEL_FORMAT, IDS_SET_PIXEL_FORMAT, IDS_CREATE_CONTEXT,
        IDS_MAKE_CURRENT, IDS_INIT_GL, IDS_LOAD_TEXTURES, IDS_INITIALIZATION, IDS_USE_WINDOW_MODE, IDS_LOAD_LIBRARY};
    EXPECT_EQ(ids.size(), 20u) << "two messages share an id: one of them is never shown";
    for (unsigned id : ids) {
        char text[1024] = {};
        EXPECT_GT(LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text), 0) << id;
        EXPECT_EQ(std::strchr(text, '%') != nullptr, id == IDS_LOAD_LIBRARY) << id << ": " << text;
    }
}

} // namespace
