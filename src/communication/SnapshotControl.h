#pragma once

namespace corvane {

// What the receive processing asks of the snapshot mode.
class SnapshotControl {
public:
    virtual ~SnapshotControl() = default;
    virtual bool snapshotModeOn() const = 0;
    // The trigger was detected: empty the four window views and refresh the main window status.
    // Called once per snapshot run.
    virtual void triggerSnapshot() = 0;
    // Communication stopped, for any reason: snapshot mode ends; the triggered flag stays.
    virtual void endSnapshotMode() {}
};

} // namespace corvane
