#pragma once

#include "platform/ScreenInfo.h"

#include <cstdint>
#include <vector>

namespace corvane {

// One attached monitor, in pixels.
class clsMonitor {
public:
    std::intptr_t Handle = 0;
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    std::int32_t WorkLeft = 0;
    std::int32_t WorkTop = 0;
    std::int32_t WorkRight = 0;
    std::int32_t WorkBottom = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// The attached monitors, for checking that a saved window position is still on a display.
// Platform errors never escape: queries answer -1 and the desktop bounds fall back to the
// primary screen.
class clsMonitors {
public:
    // What GetMonitorFromXYPoint returns when no monitor holds the point.
    static constexpr int kDefaultToNull = 0;
    static constexpr int kDefaultToPrimary = 1;
    static constexpr int kDefaultToNearest = 2;

    explicit clsMonitors(const ScreenInfo& screens);

    // Rebuilds the collection from the windowing system.
    void Refresh();
    int Count() const { return static_cast<int>(monitors_.size()); }
    // Monitor index, 0 to Count() - 1; an index outside is an internal error.
    const clsMonitor& Item(int index) const;

    // The monitor holding the pixel (x, y); 0 when none does and flags is kDefaultToNull; -1 when
    // the windowing system can't answer.
    std::intptr_t GetMonitorFromXYPoint(std::int32_t x, std::int32_t y, int flags) const;
    // The monitor showing a window; -1 when the windowing system has no such query.
    std::intptr_t GetMonitorFromWindow(std::intptr_t window, int flags) const;

    // The desktop spanning all monitors, in pixels.
    std::int32_t DesktopLeft() const;
    std::int32_t DesktopTop() const;
    std::int32_t DesktopWidth() const;
    std::int32_t DesktopHeight() const;

    // Whether a point given in twips lies on an attached monitor.
    bool isPointOnMonitor(double leftTwips, double topTwips) const;

private:
    PixelRect desktop() const;

    const ScreenInfo& screens_;
    std::vector<clsMonitor> monitors_;
};

} // namespace corvane
