// The settings as the registry and dialog tests see them: stored texts by value name.
#pragma once

#include "common/Settings.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace probe {

using SettingTexts = std::map<std::string, std::string>;

inline SettingTexts TextsOf(const TSettings& settings)
{
    SettingTexts texts;
    for (const SettingRow& row : SettingsTable) texts[row.name] = SettingText(settings, row);
    return texts;
}

// The texts a first start stores, the 12-hour clock off. Users' registries hold
// them: a changed default must change this list too.
inline const SettingTexts DefaultTexts = {
    {"DefaultSettings", "1"}, {"Quality", "30"},     {"CamDistance", "25.0"}, {"Scale", "0.040"},
    {"Speed", "20.0"},        {"Distance", "0.500"}, {"Sizes", "2.000"},      {"CamRotation", "0.20"},
    {"FPS", "1"},             {"DescPlanet", "1"},   {"MouseMove", "0"},      {"Sound", "1"},
    {"Clock", "1"},           {"ClockShort", "0"},   {"ClockFull", "1"},      {"Volume", "25"}};
// Own settings in which no value is a default, made before main in the C locale.
inline const SettingTexts OwnTexts =
    TextsOf({false, false, false, true, false, false, true, false, 0.1f, 3.5f, 1.5f, 0.25f, -0.75f, 12, 12, 12, 40.5f, "", 40});

// `texts` with some of them replaced or added.
inline SettingTexts With(SettingTexts texts, const SettingTexts& changes)
{
    for (const auto& [name, text] : changes) texts.insert_or_assign(name, text);
    return texts;
}

inline void StoreSettingTexts(const SettingTexts& texts)
{
    for (const auto& [name, text] : texts) ASSERT_TRUE(SetRegString(SettingsKey, name, text)) << name;
}

// Every value of the settings key; each must be REG_SZ with its NUL counted.
inline SettingTexts StoredSettingTexts()
{
    SettingTexts texts;
    for (const auto& [name, value] : ReadRegValues(SettingsKey).value_or(std::map<std::string, RegValue>{})) {
        EXPECT_TRUE(value.type == REG_SZ && !value.data.empty() && value.data.back() == '\0') << name;
        texts[name] = value.Text();
    }
    return texts;
}

} // namespace probe
