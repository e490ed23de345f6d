#include "bench/Memory.h"

#include <psapi.h>

#include <cmath>
#include <cstdio>
#include <limits>

MemoryFigures MemoryOf(HANDLE process)
{
    constexpr double mebibyte = 1024.0 * 1024.0;
    MemoryFigures figures;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (K32GetProcessMemoryInfo(process, &counters, sizeof counters)) {
        figures.workingSet = static_cast<double>(counters.WorkingSetSize) / mebibyte;
        figures.peakWorkingSet = static_cast<double>(counters.PeakWorkingSetSize) / mebibyte;
    } else {
        figures.workingSet = figures.peakWorkingSet = std::numeric_limits<double>::quiet_NaN();
    }
    // Committed private regions, counted one by one. NOTE: Wine's PrivateUsage is
    // the swap in use, not this.
    double bytes = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at += region.RegionSize)
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += static_cast<double>(region.RegionSize);
    figures.privateBytes = bytes > 0 ? bytes / mebibyte : std::numeric_limits<double>::quiet_NaN();
    return figures;
}

std::string MemoryMembers(const char* prefix, const MemoryFigures& figures)
{
    const auto number = [](double value) {
        if (!std::isfinite(value)) return std::string("null");
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", value);
        return std::string(text);
    };
    const std::string p = std::string("\"") + prefix;
    return p + "working_set_mb\": " + number(figures.workingSet) + ", " + p +
           "peak_working_set_mb\": " + number(figures.peakWorkingSet) + ", " + p +
           "private_mb\": " + number(figures.privateBytes);
}
