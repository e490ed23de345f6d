#include "common/Settings.h"

#include "common/Util.h"
#include "support/Handles.h"

#include <vector>

TSettings Settings{};

void SetDefaultSettings()
{
    Settings.DefaultSettings = true;
    Settings.FPS = true;
    Settings.DescPlanet = true;
    Settings.MouseMove = false;
    Settings.Sound = true;
    Settings.Clock = true;
    Settings.ClockFull = true;
    Settings.Scale = 0.04f;
    Settings.Speed = 20.0f;
    Settings.Sizes = 2.0f;
    Settings.Distance = 0.5f;
    Settings.CamRotation = 0.2f;
    Settings.Quality = Settings.QualityStacks = Settings.QualitySpare = 30;
    Settings.CamDistance = 25.0f;
    Settings.Volume = 25;
}

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

void WriteText(HKEY key, const char* name, const std::string& text)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

void WriteInt(HKEY key, const char* name, std::int32_t value) { WriteText(key, name, std::to_string(value)); }
void WriteFlag(HKEY key, const char* name, bool value) { WriteInt(key, name, value ? 1 : 0); }
void WriteFloat(HKEY key, const char* name, float value, int decimals)
{
    WriteText(key, name, FloatToText(value, decimals));
}

// One stored value read and parsed; false when it is missing.
bool ReadInt(HKEY key, const char* name, std::int32_t& field)
{
    std::string text;
    if (!ReadRegString(key, name, text)) return false;
    field = TextToInt(text);
    return true;
}
bool ReadFlag(HKEY key, const char* name, bool& field)
{
    std::int32_t value = 0;
    if (!ReadInt(key, name, value)) return false;
    field = (value & 0xFF) != 0;
    return true;
}
bool ReadFloat(HKEY key, const char* name, float& field)
{
    std::string text;
    if (!ReadRegString(key, name, text)) return false;
    field = TextToSingle(text);
    return true;
}

bool ReadStoredSettings(HKEY key)
{
    if (!ReadFlag(key, "DefaultSettings", Settings.DefaultSettings)) return false;
    if (Settings.DefaultSettings) {
        SetDefaultSettings();
        return true;
    }
    std::int32_t quality = 0;
    if (!ReadInt(key, "Quality", quality)) return false;
    Settings.Quality = Settings.QualityStacks = Settings.QualitySpare = quality;
    return ReadFloat(key, "Scale", Settings.Scale) && ReadFloat(key, "Speed", Settings.Speed) &&
           ReadFloat(key, "Sizes", Settings.Sizes) && ReadFloat(key, "Distance", Settings.Distance) &&
           ReadFloat(key, "CamRotation", Settings.CamRotation) &&
           ReadFloat(key, "CamDistance", Settings.CamDistance) && ReadFlag(key, "FPS", Settings.FPS) &&
           ReadFlag(key, "DescPlanet", Settings.DescPlanet) && ReadFlag(key, "MouseMove", Settings.MouseMove) &&
           ReadFlag(key, "Sound", Settings.Sound) && ReadFlag(key, "Clock", Settings.Clock) &&
           ReadFlag(key, "ClockShort", Settings.ClockShort) && ReadFlag(key, "ClockFull", Settings.ClockFull) &&
           ReadInt(key, "Volume", Settings.Volume);
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
        // A missing key or value: the defaults replace the whole stored set.
        SetDefaultSettings();
        SaveSettings();
    }
}

void SaveSettings()
{
    UniqueRegKey key = OpenOrCreateSettingsKey();
    if (!key) return;
    HKEY k = key.get();
    WriteFlag(k, "DefaultSettings", Settings.DefaultSettings);
    WriteInt(k, "Quality", Settings.Quality);
    WriteFloat(k, "CamDistance", Settings.CamDistance, 1);
    WriteFloat(k, "Scale", Settings.Scale, 3);
    WriteFloat(k, "Speed", Settings.Speed, 1);
    WriteFloat(k, "Distance", Settings.Distance, 3);
    WriteFloat(k, "Sizes", Settings.Sizes, 3);
    WriteFloat(k, "CamRotation", Settings.CamRotation, 2);
    WriteFlag(k, "FPS", Settings.FPS);
    WriteFlag(k, "DescPlanet", Settings.DescPlanet);
    WriteFlag(k, "MouseMove", Settings.MouseMove);
    WriteFlag(k, "Sound", Settings.Sound);
    WriteFlag(k, "Clock", Settings.Clock);
    WriteFlag(k, "ClockShort", Settings.ClockShort);
    WriteFlag(k, "ClockFull", Settings.ClockFull);
    WriteInt(k, "Volume", Settings.Volume);
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
