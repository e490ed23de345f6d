// The user's settings: one process-wide record, stored as text values under
// HKEY_CURRENT_USER\Software\Vorsk\Astrolume.
#pragma once

#include "common/SettingsTable.h"
#include "support/Win.h"

#include <string>

extern TSettings Settings;

inline constexpr const char* SettingsKey = "Software\\Vorsk\\Astrolume";

// Assigns every default, DefaultSettings := true; leaves ClockShort and ExtraText.
void SetDefaultSettings();
// Fills Settings from the registry; a missing key or value resets to the
// defaults and writes them back.
void LoadSettings();
// Writes every settings value; false when the key could not be opened
// or created or any value could not be written.
bool SaveSettings();

// The stored data-library folder ("Path"), empty when none is stored.
std::string ReadDataPath();
void WriteDataPath(const std::string& Folder);

// Reads one REG_SZ or REG_EXPAND_SZ value of an open key (no expansion).
// False when the value is missing or of another type.
bool ReadRegString(HKEY Key, const char* ValueName, std::string& Text);
