// The settings record and the one table that says, for each stored value, its
// name, the field it fills, how it is written, its default and the dialog
// control that edits it. Loading, saving, the defaults and the configuration
// dialog all walk this table. No <windows.h>: built and tested natively too.
#pragma once

#include "resources/ResourceIds.h"

#include <cstdint>
#include <string>
#include <string_view>

struct TSettings {
    bool DefaultSettings;  // use the defaults and ignore what is stored
    bool FPS;              // show the frame-rate counter
    bool DescPlanet;       // show the description panels
    bool MouseMove;        // moving the mouse ends the saver
    bool Sound;            // play music
    bool Clock;            // show the clock
    bool ClockShort;       // 12-hour clock; not one of the defaults
    bool ClockFull;        // stored and edited, read by nothing else
    float Scale;           // overall model scale; Distance and Sizes are multiplied by it in run mode
    float Speed;           // animation speed; periods are divided by it
    float Sizes;           // factor on planet radii
    float Distance;        // factor on orbit radii
    float CamRotation;     // camera tilt speed
    std::int32_t Quality;        // slices of every sphere and disk
    std::int32_t QualityStacks;  // stacks (and disk loops): a copy of Quality
    std::int32_t QualitySpare;   // a third copy of Quality
    float CamDistance;     // camera distance from the centre
    std::string ExtraText; // never assigned; always empty
    std::int32_t Volume;   // music volume, percent 0..100
    bool SmoothEdges;      // multisampled scene where the driver offers it
    bool TodaysSky;        // planets start where they stand today
};

// How the dialog shows a setting.
enum class SettingControl { Switch, Edit, Check, Slider };

// One stored value. Exactly one of the three field pointers is set, and it
// tells the kind: a flag is written "0" or "1" and read as the low byte of an
// integer; an integer as decimal digits; a float with `decimals` digits after
// the separator.
struct SettingRow {
    const char* name;                          // the registry value
    bool TSettings::*flag = nullptr;
    std::int32_t TSettings::*integer = nullptr;
    float TSettings::*real = nullptr;
    int decimals = 0;
    const char* defaultText = nullptr;         // null: the defaults leave the field alone
    int control = 0;                           // its control in the configuration dialog
    SettingControl shownAs = SettingControl::Edit;
    // A value added after the first sixteen: a key written before it has none,
    // so when it is missing or unreadable it takes its default alone instead of
    // resetting every setting the user made.
    bool defaultWhenMissing = false;
};

// In the order in which they are written. Loading reads them in the same order,
// which decides what ClockShort holds after a reset: it keeps what was read
// before the first missing value.
inline constexpr SettingRow SettingsTable[] = {
    {.name = "DefaultSettings", .flag = &TSettings::DefaultSettings, .defaultText = "1",
     .control = IDC_RESTORE_DEFAULTS, .shownAs = SettingControl::Switch},
    {.name = "Quality", .integer = &TSettings::Quality, .defaultText = "30", .control = IDC_QUALITY},
    {.name = "CamDistance", .real = &TSettings::CamDistance, .decimals = 1, .defaultText = "25.0",
     .control = IDC_CAM_DISTANCE},
    {.name = "Scale", .real = &TSettings::Scale, .decimals = 3, .defaultText = "0.040", .control = IDC_SCALE},
    {.name = "Speed", .real = &TSettings::Speed, .decimals = 1, .defaultText = "20.0", .control = IDC_SPEED},
    {.name = "Distance", .real = &TSettings::Distance, .decimals = 3, .defaultText = "0.500",
     .control = IDC_DISTANCE},
    {.name = "Sizes", .real = &TSettings::Sizes, .decimals = 3, .defaultText = "2.000", .control = IDC_SIZES},
    {.name = "CamRotation", .real = &TSettings::CamRotation, .decimals = 2, .defaultText = "0.20",
     .control = IDC_CAM_ROTATION},
    {.name = "FPS", .flag = &TSettings::FPS, .defaultText = "1", .control = IDC_FPS, .shownAs = SettingControl::Check},
    {.name = "DescPlanet", .flag = &TSettings::DescPlanet, .defaultText = "1", .control = IDC_DESC_PLANET,
     .shownAs = SettingControl::Check},
    {.name = "MouseMove", .flag = &TSettings::MouseMove, .defaultText = "0", .control = IDC_MOUSE_MOVE,
     .shownAs = SettingControl::Check},
    {.name = "Sound", .flag = &TSettings::Sound, .defaultText = "1", .control = IDC_SOUND,
     .shownAs = SettingControl::Check},
    {.name = "Clock", .flag = &TSettings::Clock, .defaultText = "1", .control = IDC_CLOCK,
     .shownAs = SettingControl::Check},
    {.name = "ClockShort", .flag = &TSettings::ClockShort, .control = IDC_CLOCK_SHORT,
     .shownAs = SettingControl::Check},
    {.name = "ClockFull", .flag = &TSettings::ClockFull, .defaultText = "1", .control = IDC_CLOCK_FULL,
     .shownAs = SettingControl::Check},
    {.name = "Volume", .integer = &TSettings::Volume, .defaultText = "25", .control = IDC_VOLUME,
     .shownAs = SettingControl::Slider},
    {.name = "SmoothEdges", .flag = &TSettings::SmoothEdges, .defaultText = "1", .control = IDC_SMOOTH_EDGES,
     .shownAs = SettingControl::Check, .defaultWhenMissing = true},
    {.name = "TodaysSky", .flag = &TSettings::TodaysSky, .defaultText = "0", .control = IDC_TODAYS_SKY,
     .shownAs = SettingControl::Check, .defaultWhenMissing = true},
};

// The stored text of the row's field.
std::string SettingText(const TSettings& settings, const SettingRow& row);

// Parses `text` into the row's field; text that does not convert gives 0. The
// stored Quality fills all three Quality fields.
void SetSettingFromText(TSettings& settings, const SettingRow& row, std::string_view text);

// Every field with a default gets it, DefaultSettings becomes true; ClockShort
// and ExtraText are left as they are.
void AssignDefaultSettings(TSettings& settings);
