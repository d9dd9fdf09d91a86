#include "platform/qt/QtScreenInfo.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWindow>

namespace corvane {

namespace {

PixelRect toPixelRect(const QRect& r) {
    return PixelRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// Handles are the 1-based positions in the screen list.
std::intptr_t handleOf(const QScreen* screen) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    const auto index = screens.indexOf(const_cast<QScreen*>(screen));
    return index < 0 ? 0 : static_cast<std::intptr_t>(index) + 1;
}

double twipsPerPixel(double dotsPerInch) {
    return dotsPerInch > 0 ? 1440.0 / dotsPerInch : 15.0;
}

} // namespace

std::optional<std::vector<MonitorDescription>> QtScreenInfo::monitors() const {
    if (QGuiApplication::instance() == nullptr) {
        return std::nullopt;
    }
    std::vector<MonitorDescription> result;
    for (const QScreen* screen : QGuiApplication::screens()) {
        MonitorDescription m;
        m.handle = handleOf(screen);
        m.bounds = toPixelRect(screen->geometry());
        m.workArea = toPixelRect(screen->availableGeometry());
        result.push_back(m);
    }
    return result;
}

PixelRect QtScreenInfo::primaryScreen() const {
    if (QGuiApplication::instance() == nullptr || QGuiApplication::primaryScreen() == nullptr) {
        return PixelRect{0, 0, 1024, 768};
    }
    return toPixelRect(QGuiApplication::primaryScreen()->geometry());
}

std::optional<PixelRect> QtScreenInfo::virtualDesktop() const {
    if (QGuiApplication::instance() == nullptr || QGuiApplication::primaryScreen() == nullptr) {
        return std::nullopt;
    }
    return toPixelRect(QGuiApplication::primaryScreen()->virtualGeometry());
}

double QtScreenInfo::twipsPerPixelX() const {
    const QScreen* screen = QGuiApplication::instance() ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? twipsPerPixel(screen->logicalDotsPerInchX()) : 15.0;
}

double QtScreenInfo::twipsPerPixelY() const {
    const QScreen* screen = QGuiApplication::instance() ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? twipsPerPixel(screen->logicalDotsPerInchY()) : 15.0;
}

std::optional<std::intptr_t> QtScreenInfo::monitorOfWindow(std::intptr_t window) const {
    if (QGuiApplication::instance() == nullptr) {
        return std::nullopt;
    }
    for (QWindow* candidate : QGuiApplication::allWindows()) {
        // handle() is only set once the native window exists; winId() would create one.
        if (candidate->handle() != nullptr && static_cast<std::intptr_t>(candidate->winId()) == window) {
            return handleOf(candidate->screen());
        }
    }
    return 0;
}

} // namespace corvane
