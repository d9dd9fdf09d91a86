#pragma once

#include "platform/ScreenInfo.h"

#include <algorithm>

namespace corvane {

// Monitors set up by the test; one 1920 x 1080 monitor at 96 dpi unless changed.
class FakeScreenInfo : public ScreenInfo {
public:
    FakeScreenInfo() { addMonitor(PixelRect{0, 0, 1920, 1080}); }

    void addMonitor(const PixelRect& bounds) {
        MonitorDescription m;
        m.handle = static_cast<std::intptr_t>(list.size()) + 1;
        m.bounds = bounds;
        m.workArea = PixelRect{bounds.left, bounds.top, bounds.right, bounds.bottom - 40};
        list.push_back(m);
    }

    std::optional<std::vector<MonitorDescription>> monitors() const override {
        if (failing) {
            return std::nullopt;
        }
        return list;
    }
    PixelRect primaryScreen() const override {
        return list.empty() ? PixelRect{0, 0, 800, 600} : list.front().bounds;
    }
    std::optional<PixelRect> virtualDesktop() const override {
        if (failing || list.empty()) {
            return std::nullopt;
        }
        PixelRect r = list.front().bounds;
        for (const auto& m : list) {
            r.left = std::min(r.left, m.bounds.left);
            r.top = std::min(r.top, m.bounds.top);
            r.right = std::max(r.right, m.bounds.right);
            r.bottom = std::max(r.bottom, m.bounds.bottom);
        }
        return r;
    }
    double twipsPerPixelX() const override { return twipsPerPixel; }
    double twipsPerPixelY() const override { return twipsPerPixel; }

    std::vector<MonitorDescription> list;
    bool failing = false;
    double twipsPerPixel = 15.0;
};

} // namespace corvane
