// The settings against the real registry of the bench's prefix. Each test starts
// from a missing key and leaves the key as it found it.
#include "tests/windows/probe/SettingsTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

namespace {
using namespace probe;

struct SettingsTest : ::testing::Test {
    ScratchRegistryKey scratch{SettingsKey};
};

// Stored texts are read as they are; only a missing value rewrites them.
TEST_F(SettingsTest, StoredTextsAreReadAndRewrittenOnlyWhenOneIsMissing)
{
    const SettingTexts converted = With(OwnTexts, {{"FPS", "2"}, {"Sound", "256"}, {"Speed", "fast"}, {"Volume", ""}});
    SettingTexts defaultsOnWithoutSpeed = With(OwnTexts, {{"DefaultSettings", "1"}});
    defaultsOnWithoutSpeed.erase("Speed");
    struct Case { SettingTexts stored, read, after; };
    SettingTexts previousVersion = OwnTexts;  // its sixteen values, without the later two
    for (const SettingRow& row : SettingsTable)
        if (row.defaultWhenMissing) previousVersion.erase(row.name);
    std::vector<Case> cases = {
        // A flag is the low byte of its number; text that does not convert gives 0.
        {converted, With(OwnTexts, {{"FPS", "1"}, {"Sound", "0"}, {"Speed", "0.0"}, {"Volume", "0"}}), converted},
        // With the defaults on nothing more is read (not ClockShort), so nothing is missing.
        {defaultsOnWithoutSpeed, DefaultTexts, defaultsOnWithoutSpeed},
        // A key from before the later values keeps all it holds; they take their defaults.
        {previousVersion, With(OwnTexts, {{"SmoothEdges", "1"}, {"TodaysSky", "0"}}), previousVersion},
    };
    // One missing value rewrites every default. ClockShort keeps what it holds when
    // the reset comes: the stored "1" when it was read before the missing value, else
    // its "0" from before the load. "Path" is not a setting: a reset leaves it.
    for (const SettingRow& row : SettingsTable) {
        if (row.defaultWhenMissing) continue;
        SettingTexts stored = With(OwnTexts, {{"Path", "C:\\Data Folder"}});
        stored.erase(row.name);
        const std::string name = row.name;
        const bool clockShortRead = name == "ClockFull" || name == "Volume";
        const SettingTexts read = With(DefaultTexts, {{"ClockShort", clockShortRead ? "1" : "0"}});
        cases.push_back({stored, read, With(read, {{"Path", "C:\\Data Folder"}})});
    }
    for (const auto& [stored, read, after] : cases) {
        ASSERT_TRUE(DeleteRegKey(SettingsKey));
        StoreSettingTexts(stored);
        Settings = TSettings{};
        LoadSettings();
        EXPECT_EQ(TextsOf(Settings), read);
        EXPECT_EQ(StoredSettingTexts(), after);
    }
}

// A raw value of another type, or text with a NUL inside or of 64 KiB: `reads` is the
// field's text after the load, or null when the value counts as missing and every
// default is written back.
TEST_F(SettingsTest, ValuesOfAnyTypeAndSize)
{
    const struct { const char* name; DWORD type; std::string data; const char* reads; } rows[] = {
        {"Quality", REG_DWORD, "\x1e\0\0\0"s, nullptr},
        {"CamDistance", REG_SZ, "\0"s, "0.0"},
        {"Quality", REG_SZ, "12\0junk\0"s, "12"},
        {"Sizes", REG_SZ, std::string(65536, '7') + '\0', "0.000"},  // too large a number: none
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " = " + row.data.substr(0, 16));
        ASSERT_TRUE(DeleteRegKey(SettingsKey));
        StoreSettingTexts(OwnTexts);
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, SettingsKey, row.name, row.type, row.data.data(),
                                  static_cast<DWORD>(row.data.size())), ERROR_SUCCESS);
        LoadSettings();
        const SettingTexts read = TextsOf(Settings);
        if (!row.reads) {  // ClockShort keeps what was read before the reset (above)
            EXPECT_EQ(read, With(DefaultTexts, {{"ClockShort", read.at("ClockShort")}}));
            EXPECT_EQ(StoredSettingTexts(), read) << "not every default was written back";
        } else {
            EXPECT_EQ(read, With(OwnTexts, {{row.name, row.reads}}));
        }
    }
}

} // namespace
