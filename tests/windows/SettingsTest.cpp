// The settings against the real registry of the bench's prefix. Each test starts
// from a missing key and leaves the key as it found it.
#include "tests/windows/probe/SettingsTexts.h"

#include <gtest/gtest.h>

namespace {
using namespace probe;

struct SettingsTest : ::testing::Test {
    SettingsTest() { Settings = TSettings{}; }
    ScratchRegistryKey scratch{SettingsKey};
};

TEST_F(SettingsTest, StoredTextsAreReadWithoutRewritingThem)
{
    SettingTexts defaultsOnWithoutSpeed = With(OwnTexts, {{"DefaultSettings", "1"}});
    defaultsOnWithoutSpeed.erase("Speed");
    const struct { SettingTexts stored, read; } cases[] = {
        // A flag is the low byte of its number; text that does not convert gives 0.
        {With(OwnTexts, {{"FPS", "2"}, {"Sound", "256"}, {"Speed", "fast"}, {"Volume", ""}}),
         With(OwnTexts, {{"FPS", "1"}, {"Sound", "0"}, {"Speed", "0.0"}, {"Volume", "0"}})},
        // With the defaults on nothing more is read (not ClockShort), so nothing is missing.
        {defaultsOnWithoutSpeed, DefaultTexts},
    };
    for (const auto& [stored, read] : cases) {
        ASSERT_TRUE(DeleteRegKey(SettingsKey));
        StoreSettingTexts(stored);
        Settings = TSettings{};
        LoadSettings();
        EXPECT_EQ(TextsOf(Settings), read);
        EXPECT_EQ(StoredSettingTexts(), stored);
    }
}

TEST_F(SettingsTest, OneMissingValueRewritesEveryDefaultButClockShort)
{
    // ClockShort keeps what it holds when the reset comes: the stored "1" when it
    // was read before the missing value, else its "0" from before the load.
    for (const SettingRow& row : SettingsTable) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(DeleteRegKey(SettingsKey));
        StoreSettingTexts(With(OwnTexts, {{"Path", "C:\\Data Folder"}}));
        ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, SettingsKey, row.name), ERROR_SUCCESS);
        Settings = TSettings{};
        LoadSettings();
        const std::string name = row.name;
        const SettingTexts expected = With(DefaultTexts, {{"ClockShort", name == "ClockFull" || name == "Volume" ? "1" : "0"}});
        EXPECT_EQ(TextsOf(Settings), expected);
        // "Path" is not a setting: a reset leaves it.
        EXPECT_EQ(StoredSettingTexts(), With(expected, {{"Path", "C:\\Data Folder"}}));
    }
}

} // namespace
