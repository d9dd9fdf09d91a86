#pragma once

#include "communication/SnapshotControl.h"
#include "sequences/modSequenceManagement.h"

#include <string>

namespace corvane {

class CommOutputRouter;
class CommunicationEngine;
class MessageService;

// What snapshot mode asks of the program around it: the window program's main window, or the
// headless runner.
class SnapshotHost {
public:
    virtual ~SnapshotHost() = default;
    // Starts communication as the user's start does, when it is stopped.
    virtual void startCommunication() = 0;
    virtual bool keyboardConsoleOn() const { return false; }
    virtual void keyboardConsoleOff() {}
    // The four windows are emptied; their pending buffers keep the history.
    virtual void emptyCommWindows() = 0;
    // The marker records of the four views are cleared.
    virtual void clearSnapshotMarkers() {}
    virtual void refreshDisplayStatus() = 0;
    // Title of the message shown when no trigger sequence is active: the main window's caption.
    virtual std::string messageTitle() const = 0;
};

// Snapshot mode: captures the traffic around one event. Started, it starts communication while
// the windows stay frozen and the pending buffers keep the newest history. The first detection of
// an active receive sequence with the trigger option empties the windows, so that the history
// comes in with the trigger marked, and the data output counts what each view receives; past
// kSnapshotLength characters in a view communication stops and the snapshot is complete.
class SnapshotMode : public SnapshotControl {
public:
    static constexpr int kHelpTopic = 8;
    static constexpr const char* kNoTriggerText =
        "You must define and activate at least one Receive Sequence with the \"Trigger\" option enabled";

    SnapshotMode(CommunicationEngine& engine, CommOutputRouter& router,
                 const ReceiveSequenceList& receiveList, MessageService& messages, SnapshotHost& host);
    ~SnapshotMode() override;
    SnapshotMode(const SnapshotMode&) = delete;
    SnapshotMode& operator=(const SnapshotMode&) = delete;

    // "SnapStart": the message and nothing else without an active trigger sequence; else on, with
    // communication started (off again when it doesn't start) and the keyboard console off.
    void start();
    // "SnapStop": off, not triggered; communication keeps running.
    void stopByUser();

    bool modeOn() const { return on_; }
    bool triggered() const;
    // Mode on, not triggered: the windows are frozen.
    bool waiting() const { return on_ && !triggered(); }
    bool taking() const { return on_ && triggered(); }
    // The trigger came and communication stopped since.
    bool complete() const { return !on_ && triggered(); }

    // Whether the receive list has an active trigger sequence with a pattern.
    bool hasActiveTrigger() const;

    // SnapshotControl.
    bool snapshotModeOn() const override { return on_; }
    void triggerSnapshot() override;
    void endSnapshotMode() override;

private:
    void setTriggered(bool triggered);

    CommunicationEngine& engine_;
    CommOutputRouter& router_;
    const ReceiveSequenceList& receiveList_;
    MessageService& messages_;
    SnapshotHost& host_;
    bool on_ = false;
};

} // namespace corvane
