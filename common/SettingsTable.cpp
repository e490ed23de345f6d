#include "common/SettingsTable.h"

#include "common/Util.h"

std::string SettingText(const TSettings& settings, const SettingRow& row)
{
    if (row.flag) return settings.*row.flag ? "1" : "0";
    if (row.integer) return std::to_string(settings.*row.integer);
    return FloatToText(settings.*row.real, row.decimals);
}

void SetSettingFromText(TSettings& settings, const SettingRow& row, std::string_view text)
{
    if (row.flag) {
        settings.*row.flag = (TextToInt(text) & 0xFF) != 0;
    } else if (row.integer) {
        settings.*row.integer = TextToInt(text);
        if (row.integer == &TSettings::Quality) settings.QualityStacks = settings.QualitySpare = settings.Quality;
    } else {
        settings.*row.real = TextToSingle(text);
    }
}

void AssignDefaultSettings(TSettings& settings)
{
    for (const SettingRow& row : SettingsTable)
        if (row.defaultText) SetSettingFromText(settings, row, row.defaultText);
}
