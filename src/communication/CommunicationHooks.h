#pragma once

namespace corvane {

// What the start and stop of communication ask of the rest of the program: the main window, the
// data output, the sequence lists, the send queue and the snapshot mode. Each step is called in
// the order of the start and stop procedures; the defaults do nothing.
class CommunicationHooks {
public:
    virtual ~CommunicationHooks() = default;

    virtual void showWaitCursor(bool /*wait*/) {}
    virtual void closeFindDialog() {}
    // Start, step 2: the data output buffers, then the run-time fields of the sequence lists.
    virtual void resetDataOutputBuffers() {}
    virtual void prepareSequenceLists() {}
    // Start, step 3: the send queue and the line break detector.
    virtual void resetSendQueue() {}
    virtual void resetLineBreakDetector() {}
    // The expert options were changed by the start (high priority mode turned off).
    virtual void expertOptionsChanged() {}
    virtual void refreshMainWindowStatus() {}
    // Stop: first, while the channels are still open and output still goes on.
    virtual void communicationStopping() {}
    virtual void endSnapshotMode() {}
    virtual void resetRepeatSend() {}
    virtual bool isShuttingDown() const { return false; }
};

} // namespace corvane
