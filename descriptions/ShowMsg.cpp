#include "descriptions/ShowMsg.h"

#include <cfenv>
#include <cmath>

TDrawMsg::TDrawMsg() = default;

std::int32_t ScaleFrames(std::int32_t rate, std::int32_t frames)
{
    // Computed in extended precision; nearbyint rounds halves to even in the
    // default rounding mode (a peak of 85 gives 144.5 -> 144 frames).
    const long double scaled = static_cast<long double>(rate) / 100.0L * frames * 1.7L;
    return static_cast<std::int32_t>(std::nearbyintl(scaled));
}

void TDrawMsg::Calibrate(std::int32_t rate)
{
    ++Seconds;
    if (rate > PeakFps) PeakFps = rate;
    if (Seconds >= CalibrationUpdates) {
        Active = true;
        RefFps = PeakFps;
        WaitFrames = ScaleFrames(RefFps, WaitFrames);
        ShowFrames = ScaleFrames(RefFps, ShowFrames);
    }
}
