// The settings against the real registry of the bench's prefix. Each test starts
// from a missing key and leaves the key as it found it.
#include "common/Settings.h"
#include "tests/windows/probe/Probe.h"

#include "tests/windows/probe/SettingsTexts.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

const std::string Key = SettingsKey;

const auto& DefaultTexts = probe::DefaultSettingsTexts;

// A complete stored set of own settings, none of them a default.
const std::map<std::string, std::string> OwnTexts = {
    {"DefaultSettings", "0"}, {"Quality", "12"},   {"CamDistance", "40.5"}, {"Scale", "0.100"},
    {"Speed", "3.5"},         {"Distance", "0.250"}, {"Sizes", "1.500"},    {"CamRotation", "-0.75"},
    {"FPS", "0"},             {"DescPlanet", "0"}, {"MouseMove", "1"},      {"Sound", "0"},
    {"Clock", "0"},           {"ClockShort", "1"}, {"ClockFull", "0"},      {"Volume", "60"},
};

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() { Settings = TSettings{}; }
    ~SettingsTest() override { Settings = TSettings{}; }

    static void Store(const std::map<std::string, std::string>& texts)
    {
        for (const auto& [name, text] : texts) ASSERT_TRUE(probe::SetRegString(Key, name, text)) << name;
    }

    // Every value of the key as text; REG_SZ is checked for each and the stored
    // size must count the terminating NUL.
    static std::map<std::string, std::string> StoredTexts()
    {
        std::map<std::string, std::string> texts;
        const auto values = probe::ReadRegValues(Key);
        EXPECT_TRUE(values.has_value()) << "the key is missing";
        if (!values) return texts;
        for (const auto& [name, value] : *values) {
            EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ)) << name;
            EXPECT_TRUE(!value.data.empty() && value.data.back() == '\0') << name << " is stored without its NUL";
            texts[name] = value.Text();
        }
        return texts;
    }

    probe::ScratchRegistryKey scratch{Key};
};

void ExpectOwnSettings()
{
    EXPECT_FALSE(Settings.DefaultSettings);
    EXPECT_EQ(Settings.Quality, 12);
    EXPECT_EQ(Settings.QualityStacks, 12);
    EXPECT_EQ(Settings.QualitySpare, 12);
    EXPECT_FLOAT_EQ(Settings.CamDistance, 40.5f);
    EXPECT_FLOAT_EQ(Settings.Scale, 0.1f);
    EXPECT_FLOAT_EQ(Settings.Speed, 3.5f);
    EXPECT_FLOAT_EQ(Settings.Distance, 0.25f);
    EXPECT_FLOAT_EQ(Settings.Sizes, 1.5f);
    EXPECT_FLOAT_EQ(Settings.CamRotation, -0.75f);
    EXPECT_FALSE(Settings.FPS);
    EXPECT_FALSE(Settings.DescPlanet);
    EXPECT_TRUE(Settings.MouseMove);
    EXPECT_FALSE(Settings.Sound);
    EXPECT_FALSE(Settings.Clock);
    EXPECT_TRUE(Settings.ClockShort);
    EXPECT_FALSE(Settings.ClockFull);
    EXPECT_EQ(Settings.Volume, 60);
}

void ExpectDefaultSettings()
{
    EXPECT_TRUE(Settings.DefaultSettings);
    EXPECT_EQ(Settings.Quality, 30);
    EXPECT_EQ(Settings.QualityStacks, 30);
    EXPECT_EQ(Settings.QualitySpare, 30);
    EXPECT_FLOAT_EQ(Settings.CamDistance, 25.0f);
    EXPECT_FLOAT_EQ(Settings.Scale, 0.04f);
    EXPECT_FLOAT_EQ(Settings.Speed, 20.0f);
    EXPECT_FLOAT_EQ(Settings.Distance, 0.5f);
    EXPECT_FLOAT_EQ(Settings.Sizes, 2.0f);
    EXPECT_FLOAT_EQ(Settings.CamRotation, 0.2f);
    EXPECT_TRUE(Settings.FPS);
    EXPECT_TRUE(Settings.DescPlanet);
    EXPECT_FALSE(Settings.MouseMove);
    EXPECT_TRUE(Settings.Sound);
    EXPECT_TRUE(Settings.Clock);
    EXPECT_TRUE(Settings.ClockFull);
    EXPECT_EQ(Settings.Volume, 25);
}

TEST_F(SettingsTest, FirstStartWritesTheSixteenDefaultTexts)
{
    LoadSettings();
    ExpectDefaultSettings();
    EXPECT_FALSE(Settings.ClockShort);
    EXPECT_EQ(StoredTexts(), DefaultTexts);
}

TEST_F(SettingsTest, StoredOwnSettingsLoadAsTheyAre)
{
    Store(OwnTexts);
    LoadSettings();
    ExpectOwnSettings();
    EXPECT_EQ(StoredTexts(), OwnTexts);
}

TEST_F(SettingsTest, DefaultSettingsOnIgnoresAndKeepsTheStoredValues)
{
    // Only two values: a load that read on would reset and write the other fourteen.
    Store({{"DefaultSettings", "1"}, {"Speed", "7.5"}});
    LoadSettings();
    ExpectDefaultSettings();
    EXPECT_EQ(StoredTexts(), (std::map<std::string, std::string>{{"DefaultSettings", "1"}, {"Speed", "7.5"}}));

    // ClockShort is not one of the defaults: not read, so it keeps the value in memory.
    Store({{"ClockShort", "1"}});
    Settings.ClockShort = false;
    LoadSettings();
    EXPECT_FALSE(Settings.ClockShort);
}

TEST_F(SettingsTest, OneMissingValueRewritesEveryDefaultButClockShort)
{
    // ClockShort ends up as it is in memory when the reset comes: the stored "1"
    // when it was read before the missing value, else what it held before.
    const struct {
        const char* missing;
        const char* clockShort;
    } cases[] = {
        {"DefaultSettings", "0"}, {"Quality", "0"},    {"Scale", "0"},       {"Speed", "0"},
        {"Sizes", "0"},           {"Distance", "0"},   {"CamRotation", "0"}, {"CamDistance", "0"},
        {"FPS", "0"},             {"DescPlanet", "0"}, {"MouseMove", "0"},   {"Sound", "0"},
        {"Clock", "0"},           {"ClockShort", "0"}, {"ClockFull", "1"},   {"Volume", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing);
        ASSERT_TRUE(probe::DeleteRegKey(Key));
        Store(OwnTexts);
        ASSERT_TRUE(probe::SetRegString(Key, "Path", "C:\\Data Folder"));
        ASSERT_TRUE(probe::DeleteRegValue(Key, c.missing));
        Settings = TSettings{};

        LoadSettings();

        ExpectDefaultSettings();
        auto expected = DefaultTexts;
        expected["ClockShort"] = c.clockShort;
        expected["Path"] = "C:\\Data Folder";  // not a setting: a reset leaves it
        EXPECT_EQ(StoredTexts(), expected);
        EXPECT_EQ(Settings.ClockShort, std::string(c.clockShort) == "1");
    }
}

TEST_F(SettingsTest, ValueOfAnotherTypeCountsAsMissing)
{
    Store(OwnTexts);
    ASSERT_TRUE(probe::SetRegDword(Key, "Volume", 60));
    LoadSettings();
    ExpectDefaultSettings();
    const auto values = probe::ReadRegValues(Key);
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(values->at("Volume").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(values->at("Volume").Text(), "25");

    // REG_EXPAND_SZ is text too, read as it is.
    Store(OwnTexts);
    ASSERT_TRUE(probe::SetRegValue(Key, "Quality", REG_EXPAND_SZ, std::string("12", 3)));
    LoadSettings();
    ExpectOwnSettings();
}

TEST_F(SettingsTest, TextThatDoesNotParseGivesZeroWithoutReset)
{
    auto texts = OwnTexts;
    texts["Speed"] = "fast";
    texts["Scale"] = "1,5";        // a comma is not the separator
    texts["Quality"] = "12.0";     // not an integer
    texts["Sizes"] = "1e39";       // beyond a float
    texts["Volume"] = "";          // a value with no text
    Store(texts);
    LoadSettings();
    EXPECT_FALSE(Settings.DefaultSettings);
    EXPECT_FLOAT_EQ(Settings.Speed, 0.0f);
    EXPECT_FLOAT_EQ(Settings.Scale, 0.0f);
    EXPECT_EQ(Settings.Quality, 0);
    EXPECT_EQ(Settings.QualityStacks, 0);
    EXPECT_FLOAT_EQ(Settings.Sizes, 0.0f);
    EXPECT_EQ(Settings.Volume, 0);
    EXPECT_FLOAT_EQ(Settings.CamDistance, 40.5f);
    EXPECT_EQ(StoredTexts(), texts);  // nothing rewritten
}

TEST_F(SettingsTest, FlagIsTheLowByteOfTheNumber)
{
    const struct {
        const char* text;
        bool flag;
    } cases[] = {{"0", false}, {"1", true}, {"2", true}, {"255", true}, {"256", false},
                 {"257", true}, {"-1", true}, {"-256", false}, {"yes", false}, {" 1", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Store(OwnTexts);
        ASSERT_TRUE(probe::SetRegString(Key, "MouseMove", c.text));
        LoadSettings();
        EXPECT_FALSE(Settings.DefaultSettings);
        EXPECT_EQ(Settings.MouseMove, c.flag);
    }
}

TEST_F(SettingsTest, SaveRoundsToTheFixedDecimals)
{
    SetDefaultSettings();
    Settings.DefaultSettings = false;
    Settings.Sizes = 1.23456f;
    Settings.Distance = 0.0004f;  // rounds to zero, shown without a sign
    Settings.CamDistance = -3.25f;
    Settings.CamRotation = 0.125f;
    Settings.Quality = -7;
    Settings.QualityStacks = 99;  // only the first copy is stored
    Settings.ClockShort = true;
    SaveSettings();
    auto expected = DefaultTexts;
    expected["DefaultSettings"] = "0";
    expected["Sizes"] = "1.235";
    expected["Distance"] = "0.000";
    expected["CamDistance"] = "-3.2";
    expected["CamRotation"] = "0.12";
    expected["Quality"] = "-7";
    expected["ClockShort"] = "1";
    // -3.25 and 0.125 are exact halves: rounded to even, as printf does.
    EXPECT_EQ(StoredTexts(), expected);
}

// Restores the user's and the thread's number formats and the C locale.
class CommaLocale {
public:
    CommaLocale()
    {
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal_, sizeof decimal_);
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand_, sizeof thousand_);
        thread_ = GetThreadLocale();
        const char* c = std::setlocale(LC_ALL, nullptr);
        cLocale_ = c ? c : "C";
        ok = SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, ",") &&
             SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, ".") &&
             SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT)) &&
             std::setlocale(LC_ALL, "German_Germany.1252") != nullptr;
    }
    ~CommaLocale()
    {
        std::setlocale(LC_ALL, cLocale_.c_str());
        SetThreadLocale(thread_);
        SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal_);
        SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand_);
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool ok = false;

private:
    char decimal_[8] = ".";
    char thousand_[8] = ",";
    LCID thread_ = 0;
    std::string cLocale_;
};

TEST_F(SettingsTest, CommaLocaleStillWritesAndReadsPoints)
{
    CommaLocale comma;
    ASSERT_TRUE(comma.ok) << "could not switch to a comma locale";
    char check[32] = {};
    std::snprintf(check, sizeof check, "%.1f", 2.5);
    ASSERT_STREQ(check, "2,5") << "the C runtime did not take the comma locale";

    LoadSettings();  // first start: the defaults are written
    EXPECT_EQ(StoredTexts(), DefaultTexts);

    Store(OwnTexts);
    LoadSettings();
    ExpectOwnSettings();
    SaveSettings();
    EXPECT_EQ(StoredTexts(), OwnTexts);
}

TEST_F(SettingsTest, ReadRegStringTakesTextValuesOnly)
{
    const struct {
        const char* name;
        DWORD type;
        std::string data;
        bool read;
        std::string text;
    } cases[] = {
        {"plain", REG_SZ, std::string("C:\\Data", 8), true, "C:\\Data"},
        {"expand", REG_EXPAND_SZ, std::string("%TEMP%\\x", 9), true, "%TEMP%\\x"},  // not expanded
        {"empty", REG_SZ, std::string("", 1), true, ""},
        {"no data", REG_SZ, std::string(), true, ""},
        {"dword", REG_DWORD, std::string("\x01\x00\x00\x00", 4), false, ""},
        {"binary", REG_BINARY, std::string("abc", 4), false, ""},
        {"multi", REG_MULTI_SZ, std::string("a\0b\0", 5), false, ""},
    };
    for (const auto& c : cases) ASSERT_TRUE(probe::SetRegValue(Key, c.name, c.type, c.data)) << c.name;

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = "left over";
        EXPECT_EQ(ReadRegString(key, c.name, text), c.read);
        EXPECT_EQ(text, c.text);
    }
    std::string text = "left over";
    EXPECT_FALSE(ReadRegString(key, "missing", text));
    EXPECT_EQ(text, "");
    RegCloseKey(key);
}

TEST_F(SettingsTest, DataPathIsStoredExactlyAndSeparately)
{
    EXPECT_EQ(ReadDataPath(), "");  // no key
    WriteDataPath("Z:\\Some Folder\\with spaces");
    EXPECT_EQ(ReadDataPath(), "Z:\\Some Folder\\with spaces");
    EXPECT_EQ(StoredTexts(), (std::map<std::string, std::string>{{"Path", "Z:\\Some Folder\\with spaces"}}));

    // Saving the settings does not touch it, and an empty folder is stored as empty text.
    SetDefaultSettings();
    SaveSettings();
    EXPECT_EQ(ReadDataPath(), "Z:\\Some Folder\\with spaces");
    WriteDataPath("");
    EXPECT_EQ(ReadDataPath(), "");
    ASSERT_TRUE(probe::SetRegDword(Key, "Path", 5));
    EXPECT_EQ(ReadDataPath(), "");
}

} // namespace
