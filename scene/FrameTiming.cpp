#include "scene/FrameTiming.h"

#include "common/Util.h"

#include <cmath>

std::int32_t FrameRateOf(std::int32_t frames, std::uint32_t milliseconds)
{
    if (milliseconds == 0) return 0;
    // The product wraps like the 32-bit integer it is, without undefined behaviour.
    const auto product = static_cast<std::int32_t>(static_cast<std::uint32_t>(frames) * 1000u);
    return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(product) / milliseconds));
}

float AdvanceTilt(float tilt, std::int32_t elapsed, float rotation)
{
    return AdvanceWithinTurn(tilt, static_cast<double>(elapsed) * rotation / 100.0, TurnDegrees);
}

void TFrameRateMeter::Restart(std::uint32_t now)
{
    FpsStart = now;
    FrameCount = 0;
}

bool TFrameRateMeter::Count(std::uint32_t now)
{
    FpsNow = now;
    ++FrameCount;
    const std::uint32_t span = TickDifference(FpsNow, FpsStart);
    if (span <= 1000) return false;
    FrameRate = FrameRateOf(FrameCount, span);
    FpsStart = FpsNow;
    FrameCount = 0;
    return true;
}
