#pragma once

#include "sequences/modSequenceManagement.h"

#include <string>

namespace corvane {

struct ClickLabels;
struct CommandStates;

// What the application layer asks of the main window's widgets. The window implements it; the
// application layer's tests record it.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    virtual void showCaption(const std::string& caption) = 0;
    virtual std::string caption() const = 0;
    virtual void showCommandStates(const CommandStates& states) = 0;
    virtual void showClickLabels(const ClickLabels& labels) = 0;
    // The communication tabs, from the current state.
    virtual void setCommTabs() = 0;
    virtual void setWaitCursor(bool waiting) = 0;
    virtual void closeFindDialog() = 0;
    virtual void rebuildRecentMenu() = 0;

    // The sequence lists: a whole list after its entries changed, one send row after its periodic
    // sending started or stopped, and the row to select (with the list focused, if asked).
    virtual void refreshSequenceList(SequenceListKind kind) = 0;
    virtual void refreshSendRow(int index) = 0;
    virtual void selectSequenceRow(SequenceListKind kind, int row, bool focus) = 0;

    // The communication windows: pending text into the visible window (true when it brought more
    // lines than the window shows: everything on the screen was replaced), the focus to it.
    virtual bool copyCommWindowBuffers() = 0;
    virtual void clearCommWindows() = 0;
    virtual void focusVisibleCommWindow() = 0;
    // Snapshot mode: the four windows emptied at the trigger (the pending buffers keep the
    // history), and the marker records cleared when it starts.
    virtual void emptyCommWindows() = 0;
    virtual void clearSnapshotMarkers() = 0;

    // The main loop: the user interface's events, waiting for the next one when asked.
    virtual void processEvents(bool waitForMore) = 0;
    // After an internal error report: the program ends through the ordinary close.
    virtual void closeAfterInternalError() = 0;
};

} // namespace corvane
