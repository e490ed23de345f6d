// The sixteen settings values as they are stored with the default settings and
// the 12-hour clock off, shared by the registry and the dialog tests.
#pragma once

#include <map>
#include <string>

namespace probe {

inline const std::map<std::string, std::string> DefaultSettingsTexts = {
    {"DefaultSettings", "1"}, {"Quality", "30"},   {"CamDistance", "25.0"}, {"Scale", "0.040"},
    {"Speed", "20.0"},        {"Distance", "0.500"}, {"Sizes", "2.000"},    {"CamRotation", "0.20"},
    {"FPS", "1"},             {"DescPlanet", "1"}, {"MouseMove", "0"},      {"Sound", "1"},
    {"Clock", "1"},           {"ClockShort", "0"}, {"ClockFull", "1"},      {"Volume", "25"},
};

} // namespace probe
