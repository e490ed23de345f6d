#include "common/Settings.h"

#include "support/Handles.h"

#include <vector>

TSettings Settings{};

void SetDefaultSettings() { AssignDefaultSettings(Settings); }

bool ReadRegString(HKEY Key, const char* ValueName, std::string& Text)
{
    Text.clear();
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(Key, ValueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    if (size == 0) return true; // a value with no data is empty text
    std::vector<char> data(size);
    if (RegQueryValueExA(Key, ValueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    // The stored data ends with its NUL; a value written without one loses its
    // last byte the same way, which is how such values have always read.
    Text.assign(data.data(), size > 0 ? size - 1 : 0);
    const std::size_t nul = Text.find('\0');
    if (nul != std::string::npos) Text.erase(nul);
    return true;
}

namespace {

UniqueRegKey OpenSettingsKey(REGSAM access)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey, 0, access, &key) != ERROR_SUCCESS) return UniqueRegKey();
    return UniqueRegKey(key);
}

UniqueRegKey OpenOrCreateSettingsKey()
{
    UniqueRegKey key = OpenSettingsKey(KEY_WRITE);
    if (key) return key;
    HKEY created = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, SettingsKey, &created) != ERROR_SUCCESS) return UniqueRegKey();
    return UniqueRegKey(created);
}

bool WriteText(HKEY key, const char* name, const std::string& text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

// The stored set, read in table order; false at the first missing value that
// calls for a reset.
bool ReadStoredSettings(HKEY key)
{
    for (const SettingRow& row : SettingsTable) {
        std::string text;
        if (!ReadRegString(key, row.name, text)) {
            if (!row.defaultWhenMissing) return false;
            text = row.defaultText;
        }
        SetSettingFromText(Settings, row, text);
        if (row.flag == &TSettings::DefaultSettings && Settings.DefaultSettings) {
            // The defaults stand in for everything stored, which stays as it is.
            SetDefaultSettings();
            return true;
        }
    }
    return true;
}

} // namespace

void LoadSettings()
{
    bool complete = false;
    {
        UniqueRegKey key = OpenSettingsKey(KEY_READ);
        if (key) complete = ReadStoredSettings(key.get());
    }
    if (!complete) {
        // A missing key or value: the defaults replace the whole stored set. A
        // registry that refuses them is no reason to stop: the defaults are in use.
        SetDefaultSettings();
        SaveSettings();
    }
}

bool SaveSettings()
{
    UniqueRegKey key = OpenOrCreateSettingsKey();
    if (!key) return false;
    bool written = true;
    for (const SettingRow& row : SettingsTable) written &= WriteText(key.get(), row.name, SettingText(Settings, row));
    return written;
}

std::string ReadDataPath()
{
    std::string path;
    UniqueRegKey key = OpenSettingsKey(KEY_READ);
    if (key) ReadRegString(key.get(), "Path", path);
    return path;
}

void WriteDataPath(const std::string& Folder)
{
    UniqueRegKey key = OpenOrCreateSettingsKey();
    if (key) WriteText(key.get(), "Path", Folder);
}
