// The user's settings: one process-wide record, stored as text values under
// HKEY_CURRENT_USER\Software\Vorsk\Astrolume.
#pragma once

#include "support/Win.h"

#include <cstdint>
#include <string>

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
};

extern TSettings Settings;

inline constexpr const char* SettingsKey = "Software\\Vorsk\\Astrolume";

// Assigns every default, DefaultSettings := true; leaves ClockShort and ExtraText.
void SetDefaultSettings();
// Fills Settings from the registry; a missing key or value resets to the
// defaults and writes them back.
void LoadSettings();
// Writes the sixteen settings values.
void SaveSettings();

// The stored data-library folder ("Path"), empty when none is stored.
std::string ReadDataPath();
void WriteDataPath(const std::string& Folder);

// Reads one REG_SZ or REG_EXPAND_SZ value of an open key (no expansion).
// False when the value is missing or of another type.
bool ReadRegString(HKEY Key, const char* ValueName, std::string& Text);
