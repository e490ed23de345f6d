// Where the saver's window stands, and where the scene goes on a window that
// spans several monitors: one view per monitor, each with its own aspect, the
// primary's first.
#pragma once

#include <algorithm>
#include <vector>

// A rectangle of desktop pixels: y grows downwards and the primary monitor's
// top left corner is at 0,0, so monitors left of or above it are negative.
struct TScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const TScreenRect&) const = default;
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

// A display mode: pixels and bits per pixel.
struct TScreenMode {
    int width = 0, height = 0, bits = 0;
};

// The saver window's client area in desktop pixels, the colour depth it is drawn
// in, and the view of each monitor it covers (none in a window).
struct TScenePlacement {
    TScreenRect client;
    int bits = 0;
    std::vector<TViewport> views;
};

// In a window, `requested` at the desktop's origin. Full screen, the `desktop`
// mode there (`requested` while the desktop's size is unknown, 0), or with
// several `monitors` the box around them all.
inline TScenePlacement PlaceScene(bool fullScreen, TScreenMode requested, const TScreenMode& desktop,
                                  const std::vector<TScreenRect>& monitors)
{
    if (fullScreen && desktop.width > 0 && desktop.height > 0) requested = desktop;
    TScenePlacement placement{{0, 0, requested.width, requested.height}, requested.bits, {}};
    if (!fullScreen) return placement;
    if (monitors.size() > 1) {
        TScreenRect box = monitors.front();
        for (const TScreenRect& m : monitors)
            box = {std::min(box.left, m.left), std::min(box.top, m.top), std::max(box.right, m.right),
                   std::max(box.bottom, m.bottom)};
        placement.client = box;
    }
    placement.views = MonitorViewports(monitors, placement.client);
    return placement;
}
