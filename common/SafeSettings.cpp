#include "common/SafeSettings.h"

#include <algorithm>
#include <cmath>
#include <limits>

std::int32_t SafeQuality(std::int32_t quality) { return std::clamp(quality, MinQuality, MaxQuality); }

float PeriodAtSpeed(float period, float speed)
{
    constexpr float infinity = std::numeric_limits<float>::infinity();
    if (speed == 0.0f || !std::isfinite(speed) || !std::isfinite(period)) return infinity;
    const double quotient = static_cast<double>(period) / static_cast<double>(speed);
    // A quotient beyond the float range becomes an infinite period, not an
    // undefined conversion.
    if (std::fabs(quotient) > static_cast<double>(std::numeric_limits<float>::max()))
        return quotient < 0.0 ? -infinity : infinity;
    return static_cast<float>(quotient);
}

float SafeCamDistance(float distance)
{
    if (!std::isfinite(distance)) return 25.0f;
    return std::fabs(distance);
}
