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
    {"Clock", "1"},           {"ClockShort", "0"},   {"ClockFull", "1"},      {"Volume", "25"},
    {"SmoothEdges", "1"},     {"TodaysSky", "0"}};
// Own settings in which no value is a default, made before main in the C locale.
inline const SettingTexts OwnTexts =
    TextsOf({false, false, false, true, false, false, true, false, 0.1f, 3.5f, 1.5f, 0.25f, -0.75f, 12, 12, 12, 40.5f, "", 40,
             false, true});

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
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return texts;
    const UniqueRegKey owned(key);
    char name[256], data[1024];
    for (DWORD i = 0, nameSize = sizeof name, size = sizeof data, type = 0;
         RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
         ++i, nameSize = sizeof name, size = sizeof data) {
        EXPECT_TRUE(type == REG_SZ && size > 0 && data[size - 1] == '\0') << name;
        texts[name] = std::string(data, size > 0 ? size - 1 : 0);
    }
    return texts;
}

} // namespace probe
