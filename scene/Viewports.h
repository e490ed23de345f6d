// Where the scene goes on a window that spans several monitors: one view per
// monitor, each with its own aspect, the primary's first.
#pragma once

#include <algorithm>
#include <vector>

// A rectangle of desktop pixels: y grows downwards and the primary monitor's
// top left corner is at 0,0, so monitors left of or above it are negative.
struct TScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// A GL viewport: pixels of the window's client area counted from its bottom left.
struct TViewport {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const TViewport&) const = default;
};

// The viewports of `monitors` within `client` (the window's client area in desktop
// pixels), the primary's first: it alone gets the overlays and advances the
// animation. Parts outside the window are cut off; monitors it misses are left out.
inline std::vector<TViewport> MonitorViewports(std::vector<TScreenRect> monitors, const TScreenRect& client)
{
    // Windows puts the primary monitor's corner at the desktop's origin.
    std::stable_partition(monitors.begin(), monitors.end(),
                          [](const TScreenRect& m) { return m.left == 0 && m.top == 0; });
    std::vector<TViewport> viewports;
    for (const TScreenRect& m : monitors) {
        const int left = std::max(m.left, client.left), right = std::min(m.right, client.right);
        const int top = std::max(m.top, client.top), bottom = std::min(m.bottom, client.bottom);
        if (left < right && top < bottom)
            viewports.push_back({left - client.left, client.bottom - bottom, right - left, bottom - top});
    }
    return viewports;
}
