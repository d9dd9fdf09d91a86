#include "persistence/WindowPlacement.h"

#include "persistence/SettingsAccess.h"
#include "persistence/clsMonitors.h"
#include "platform/PlacedWindow.h"
#include "platform/ScreenInfo.h"

namespace corvane {

namespace {

struct PlacementKeys {
    const char* section;
    const char* left;
    const char* top;
    const char* width;
    const char* height;
};

constexpr PlacementKeys kMainKeys{"Settings", "MainLeft", "MainTop", "MainWidth", "MainHeight"};
constexpr PlacementKeys kNotepadKeys{"NotepadSettings", "Left", "Top", "Width", "Height"};

// Reads the stored bounds; true when they can be restored, otherwise bounds become the first-run
// placement.
bool readBounds(const SettingsSection& s, const PlacementKeys& keys, const ScreenInfo& screens,
                const FirstRunPlacement& firstRun, TwipRect& bounds) {
    s.readTwips(keys.left, 0, bounds.left);
    s.readTwips(keys.top, 0, bounds.top);
    s.readTwips(keys.width, 0, bounds.width);
    s.readTwips(keys.height, 0, bounds.height);
    const clsMonitors monitors(screens);
    if (storedBoundsUsable(bounds, monitors)) {
        return true;
    }
    bounds = firstRunBounds(screens, firstRun);
    return false;
}

void place(PlacedWindow& window, const WindowPlacementSettings& placement) {
    window.setBounds(placement.bounds);
    if (placement.maximized) {
        window.showMaximized();
    }
}

// The restored bounds of a window, also while it is maximized.
TwipRect restoredBounds(PlacedWindow& window) {
    if (!window.isMaximized()) {
        return window.bounds();
    }
    window.showNormal();
    const TwipRect bounds = window.bounds();
    window.showMaximized();
    return bounds;
}

void writeBounds(SettingsSection& s, const PlacementKeys& keys, const TwipRect& bounds) {
    s.writeTwips(keys.left, bounds.left);
    s.writeTwips(keys.top, bounds.top);
    s.writeTwips(keys.width, bounds.width);
    s.writeTwips(keys.height, bounds.height);
}

} // namespace

bool storedBoundsUsable(const TwipRect& b, const clsMonitors& monitors) {
    if (b.width == 0 || b.height == 0) {
        return false;
    }
    return monitors.isPointOnMonitor(b.left, b.top) ||
           monitors.isPointOnMonitor(b.left + 0.05 * b.width, b.top + 0.05 * b.height);
}

TwipRect firstRunBounds(const ScreenInfo& screens, const FirstRunPlacement& placement) {
    const PixelRect screen = screens.primaryScreen();
    const double width = screen.width() * screens.twipsPerPixelX();
    const double height = screen.height() * screens.twipsPerPixelY();
    return TwipRect{static_cast<float>(width * placement.left), static_cast<float>(height * placement.top),
                    static_cast<float>(width * placement.width),
                    static_cast<float>(height * placement.height)};
}

void readMainWindowPlacement(const SettingsStore& store, const ScreenInfo& screens, ProgramSettingsData& data,
                             PlacedMainWindow* window) {
    const SettingsSection s(store, kMainKeys.section);
    s.readBoolean("MainMaximized", false, data.mainWindow.maximized);
    const bool stored = readBounds(s, kMainKeys, screens, kMainWindowFirstRun, data.mainWindow.bounds);
    data.vSplitt = static_cast<float>(0.3 * data.mainWindow.bounds.width);
    data.hSplitt = static_cast<float>(0.4 * data.mainWindow.bounds.height);
    if (stored) {
        s.readTwips("vSplitt", data.vSplitt, data.vSplitt);
        s.readTwips("hSplitt", data.hSplitt, data.hSplitt);
    }
    if (window != nullptr) {
        place(*window, data.mainWindow);
        window->setSplitters(data.vSplitt, data.hSplitt);
    }
}

void writeMainWindowPlacement(SettingsStore& store, PlacedMainWindow& window, ProgramSettingsData& data) {
    if (window.isMinimized()) {
        return;
    }
    data.mainWindow.maximized = window.isMaximized();
    data.mainWindow.bounds = restoredBounds(window);
    data.vSplitt = window.verticalSplitter();
    data.hSplitt = window.horizontalSplitter();
    SettingsSection s(store, kMainKeys.section);
    s.writeBoolean("MainMaximized", data.mainWindow.maximized);
    writeBounds(s, kMainKeys, data.mainWindow.bounds);
    s.writeTwips("vSplitt", data.vSplitt);
    s.writeTwips("hSplitt", data.hSplitt);
    store.sync();
}

void readNotepadPlacement(const SettingsStore& store, const ScreenInfo& screens, ProgramSettingsData& data,
                          PlacedWindow* window) {
    const SettingsSection s(store, kNotepadKeys.section);
    data.notepadWindow.maximized = false;
    readBounds(s, kNotepadKeys, screens, kNotepadFirstRun, data.notepadWindow.bounds);
    if (window != nullptr) {
        window->setBounds(data.notepadWindow.bounds);
    }
}

void writeNotepadPlacement(SettingsStore& store, PlacedWindow& window, ProgramSettingsData& data) {
    if (window.isMinimized()) {
        return;
    }
    data.notepadWindow.bounds = restoredBounds(window);
    writeNotepadPlacementData(store, data);
    store.sync();
}

void writeNotepadPlacementData(SettingsStore& store, const ProgramSettingsData& data) {
    SettingsSection s(store, kNotepadKeys.section);
    writeBounds(s, kNotepadKeys, data.notepadWindow.bounds);
}

} // namespace corvane
