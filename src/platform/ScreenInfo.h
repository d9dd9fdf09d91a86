#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace corvane {

// A rectangle in pixels; right and bottom lie just outside it.
struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    bool contains(std::int32_t x, std::int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    bool operator==(const PixelRect&) const = default;
};

// One attached monitor as the windowing system reports it.
struct MonitorDescription {
    // Nonzero, distinct per monitor.
    std::intptr_t handle = 0;
    PixelRect bounds;
    // The bounds without task bars and panels.
    PixelRect workArea;
};

// The windowing system's view of the displays, for restoring window positions.
class ScreenInfo {
public:
    virtual ~ScreenInfo() = default;
    // Every attached monitor; nothing when the windowing system can't tell.
    virtual std::optional<std::vector<MonitorDescription>> monitors() const = 0;
    // The primary screen in pixels.
    virtual PixelRect primaryScreen() const = 0;
    // The desktop spanning all monitors; nothing without multi-monitor support.
    virtual std::optional<PixelRect> virtualDesktop() const = 0;
    // Twips (1/1440 inch) per pixel of the primary screen (15 at 96 dpi).
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
    // The monitor showing most of a window; nothing when the windowing system has no such query.
    virtual std::optional<std::intptr_t> monitorOfWindow(std::intptr_t /*window*/) const {
        return std::nullopt;
    }
};

} // namespace corvane
