// Registry text into every setting: what is read is written back as the same
// text after a second round, and the renderer's guards make usable values of it.
#include "common/SafeSettings.h"
#include "common/SettingsTable.h"
#include "tests/fuzz/Check.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TSettings settings{};
    for (const SettingRow& row : SettingsTable) {
        SetSettingFromText(settings, row, text);
        const std::string written = SettingText(settings, row);
        TSettings reread{};
        SetSettingFromText(reread, row, written);
        FUZZ_CHECK(SettingText(reread, row) == written);
    }
    const std::int32_t quality = SafeQuality(settings.Quality);
    FUZZ_CHECK(quality >= MinQuality && quality <= MaxQuality);
    FUZZ_CHECK(!std::isnan(PeriodAtSpeed(settings.Scale, settings.Speed)));
    const float distance = SafeCamDistance(settings.CamDistance);
    FUZZ_CHECK(std::isfinite(distance) && distance >= 0.0f);
    return 0;
}
