#pragma once

#include "persistence/ProgramSettingsData.h"

namespace corvane {

class clsMonitors;
class PlacedMainWindow;
class PlacedWindow;
class ScreenInfo;
class SettingsStore;

// Where a window goes on the first run (or when its stored place is gone), as fractions of the
// screen.
struct FirstRunPlacement {
    double left;
    double top;
    double width;
    double height;
};

inline constexpr FirstRunPlacement kMainWindowFirstRun{1.0 / 6.0, 1.0 / 6.0, 0.667, 0.667};
inline constexpr FirstRunPlacement kNotepadFirstRun{1.0 / 10.0, 1.0 / 10.0, 0.4, 0.667};

// Whether stored bounds can be restored: both sizes nonzero and the top-left point, or the point
// 5 % of the size inside it, on an attached monitor.
bool storedBoundsUsable(const TwipRect& bounds, const clsMonitors& monitors);

// The first-run bounds on the primary screen, in twips.
TwipRect firstRunBounds(const ScreenInfo& screens, const FirstRunPlacement& placement);

// Reads the main window placement ("Settings": MainMaximized, MainLeft, MainTop, MainWidth,
// MainHeight, vSplitt, hSplitt) into data, falling back to the first-run placement, and moves
// the window there when one is given.
void readMainWindowPlacement(const SettingsStore& store, const ScreenInfo& screens, ProgramSettingsData& data,
                             PlacedMainWindow* window);
// Writes the main window's restored bounds, maximized state and splitters; a minimized window
// writes nothing.
void writeMainWindowPlacement(SettingsStore& store, PlacedMainWindow& window, ProgramSettingsData& data);

// The same for the notepad ("NotepadSettings": Left, Top, Width, Height).
void readNotepadPlacement(const SettingsStore& store, const ScreenInfo& screens, ProgramSettingsData& data,
                          PlacedWindow* window);
void writeNotepadPlacement(SettingsStore& store, PlacedWindow& window, ProgramSettingsData& data);
// Writes the notepad bounds held in data.
void writeNotepadPlacementData(SettingsStore& store, const ProgramSettingsData& data);

} // namespace corvane
