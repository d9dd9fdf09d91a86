#pragma once

#include "platform/ScreenInfo.h"

namespace corvane {

// The displays as QGuiApplication reports them; needs a running QGuiApplication.
class QtScreenInfo : public ScreenInfo {
public:
    std::optional<std::vector<MonitorDescription>> monitors() const override;
    PixelRect primaryScreen() const override;
    std::optional<PixelRect> virtualDesktop() const override;
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
    // The window is a QWidget's window handle (QWidget::winId()).
    std::optional<std::intptr_t> monitorOfWindow(std::intptr_t window) const override;
};

} // namespace corvane
