// Inputs anyone can plant (registry values, data-library resources) met by the
// program's own code in this process: a clear message where it has one, a fall-back
// where it has none, and never a crash, a hang, a leak or a half-written registry.
#include "tests/windows/SceneWindow.h"
#include "tests/windows/probe/SettingsTexts.h"

#include <string>

using namespace std::string_literals;

namespace {
using namespace probe;

// A raw value under the settings key, then the program's load, then a model built
// at what was read and one frame drawn with it. `reads` is the field's text after the
// load, or null when the value counts as missing and every default is written back.
TEST_F(SceneWindow, HostileRegistryValuesLoadIntoSettingsTheSceneSurvives)
{
    const ScratchRegistryKey scratch{SettingsKey};
    const std::string big(65536, '7');
    const struct { const char* name; DWORD type; std::string data; const char* reads; } rows[] = {
        {"Quality", REG_DWORD, "\x1e\0\0\0"s, nullptr},
        {"Speed", REG_BINARY, "\x01\x02"s, nullptr},
        {"Scale", REG_MULTI_SZ, "1\0002\0\0"s, nullptr},
        {"Volume", REG_DWORD, "<\0\0\0"s, nullptr},
        {"CamDistance", REG_SZ, "\0"s, "0.0"},
        {"Quality", REG_SZ, "12\0junk\0"s, "12"},
        // Text that does not convert gives 0, which the drawing code has to survive.
        {"Sizes", REG_SZ, big + '\0', "0.000"},
        {"CamDistance", REG_SZ, "NaN\0"s, "0.0"},
        {"Speed", REG_SZ, "Inf\0"s, "0.0"},
        {"Distance", REG_SZ, "1e300\0"s, "0.000"},
        {"CamRotation", REG_SZ, "-0\0"s, "0.00"},
        {"Quality", REG_SZ, "0\0"s, "0"},
        {"Quality", REG_SZ, "-5\0"s, "-5"},
        {"Quality", REG_SZ, "1000000000\0"s, "1000000000"},
        {"Speed", REG_SZ, "0\0"s, "0.0"},
        {"Volume", REG_SZ, "500\0"s, "500"},
        {"Volume", REG_SZ, "-1\0"s, "-1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " = " + row.data.substr(0, 16));
        ASSERT_TRUE(DeleteRegKey(SettingsKey));
        StoreSettingTexts(OwnTexts);
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, SettingsKey, row.name, row.type, row.data.data(),
                                  static_cast<DWORD>(row.data.size())), ERROR_SUCCESS);
        LoadSettings();
        const SettingTexts read = TextsOf(Settings);
        if (!row.reads) {  // ClockShort keeps what was read before the reset (SettingsTest)
            EXPECT_EQ(read, With(DefaultTexts, {{"ClockShort", read.at("ClockShort")}}));
            EXPECT_EQ(StoredSettingTexts(), read) << "not every default was written back";
        } else {
            EXPECT_EQ(read, With(OwnTexts, {{row.name, row.reads}}));
        }
        TPlanetaryModel atRead;
        atRead.BuildLists();
        EXPECT_TRUE(RenderFrame(atRead, 100, 0, nullptr) && RenderFrame(atRead, 100, 0, nullptr));
        atRead.ReleaseLists();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

} // namespace
