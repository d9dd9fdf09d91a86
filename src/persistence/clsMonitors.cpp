#include "persistence/clsMonitors.h"

#include "platform/InternalError.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvane {

namespace {

clsMonitor recordOf(std::intptr_t handle, const PixelRect& bounds, const PixelRect& work) {
    clsMonitor m;
    m.Handle = handle;
    m.Left = bounds.left;
    m.Top = bounds.top;
    m.Right = bounds.right;
    m.Bottom = bounds.bottom;
    m.WorkLeft = work.left;
    m.WorkTop = work.top;
    m.WorkRight = work.right;
    m.WorkBottom = work.bottom;
    m.Width = bounds.width();
    m.Height = bounds.height();
    return m;
}

// Squared distance from a point to a rectangle (0 inside).
double distanceSquared(const PixelRect& r, std::int32_t x, std::int32_t y) {
    const double dx = x < r.left ? r.left - x : (x >= r.right ? x - (r.right - 1.0) : 0.0);
    const double dy = y < r.top ? r.top - y : (y >= r.bottom ? y - (r.bottom - 1.0) : 0.0);
    return dx * dx + dy * dy;
}

} // namespace

clsMonitors::clsMonitors(const ScreenInfo& screens) : screens_(screens) {
    Refresh();
}

void clsMonitors::Refresh() {
    monitors_.clear();
    const auto monitors = screens_.monitors();
    if (!monitors) {
        const PixelRect screen = screens_.primaryScreen();
        monitors_.push_back(recordOf(1, screen, screen));
        return;
    }
    for (const MonitorDescription& m : *monitors) {
        const bool known = std::any_of(monitors_.begin(), monitors_.end(),
                                       [&](const clsMonitor& r) { return r.Handle == m.handle; });
        if (!known) {
            monitors_.push_back(recordOf(m.handle, m.bounds, m.workArea));
        }
    }
}

const clsMonitor& clsMonitors::Item(int index) const {
    if (index < 0 || index >= Count()) {
        reportInternalError(kErrorOutOfRange, "clsMonitors.Item: illegal monitor index", "clsMonitors");
    }
    return monitors_[static_cast<std::size_t>(index)];
}

std::intptr_t clsMonitors::GetMonitorFromXYPoint(std::int32_t x, std::int32_t y, int flags) const {
    const auto monitors = screens_.monitors();
    if (!monitors) {
        return -1;
    }
    for (const MonitorDescription& m : *monitors) {
        if (m.bounds.contains(x, y)) {
            return m.handle;
        }
    }
    if (monitors->empty() || flags == kDefaultToNull) {
        return 0;
    }
    if (flags == kDefaultToPrimary) {
        const PixelRect primary = screens_.primaryScreen();
        for (const MonitorDescription& m : *monitors) {
            if (m.bounds == primary) {
                return m.handle;
            }
        }
        return monitors->front().handle;
    }
    const auto nearest =
        std::min_element(monitors->begin(), monitors->end(), [&](const auto& a, const auto& b) {
            return distanceSquared(a.bounds, x, y) < distanceSquared(b.bounds, x, y);
        });
    return nearest->handle;
}

std::intptr_t clsMonitors::GetMonitorFromWindow(std::intptr_t window, int /*flags*/) const {
    return screens_.monitorOfWindow(window).value_or(-1);
}

PixelRect clsMonitors::desktop() const {
    if (const auto desktop = screens_.virtualDesktop()) {
        return *desktop;
    }
    const PixelRect screen = screens_.primaryScreen();
    return PixelRect{0, 0, screen.width(), screen.height()};
}

std::int32_t clsMonitors::DesktopLeft() const {
    return desktop().left;
}
std::int32_t clsMonitors::DesktopTop() const {
    return desktop().top;
}
std::int32_t clsMonitors::DesktopWidth() const {
    return desktop().width();
}
std::int32_t clsMonitors::DesktopHeight() const {
    return desktop().height();
}

bool clsMonitors::isPointOnMonitor(double leftTwips, double topTwips) const {
    const double tppX = screens_.twipsPerPixelX();
    const double tppY = screens_.twipsPerPixelY();
    if (!(tppX > 0) || !(tppY > 0)) {
        return false;
    }
    const double x = std::nearbyint(leftTwips / tppX);
    const double y = std::nearbyint(topTwips / tppY);
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    if (!(x >= low && x <= high && y >= low && y <= high)) {
        return false;
    }
    return GetMonitorFromXYPoint(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), kDefaultToNull) >
           0;
}

} // namespace corvane
