#include "display/SnapshotMode.h"

#include "communication/CommunicationEngine.h"
#include "display/CommOutputRouter.h"
#include "platform/MessageService.h"

namespace corvane {

SnapshotMode::SnapshotMode(CommunicationEngine& engine, CommOutputRouter& router,
                           const ReceiveSequenceList& receiveList, MessageService& messages,
                           SnapshotHost& host)
    : engine_(engine), router_(router), receiveList_(receiveList), messages_(messages), host_(host) {
    engine_.setSnapshotControl(this);
    // A view past the snapshot length: communication stops once the current data is written.
    router_.setSnapshotFullHook([this] { engine_.requestStop(); });
}

SnapshotMode::~SnapshotMode() {
    router_.setSnapshotFullHook(nullptr);
    router_.setSnapshotTaking(false);
    engine_.setSnapshotControl(nullptr);
}

bool SnapshotMode::triggered() const {
    return engine_.communication().runState().snapshotTriggered;
}

void SnapshotMode::setTriggered(bool triggered) {
    CommunicationRunState& run = engine_.communication().runState();
    run.snapshotTriggered = triggered;
    run.snapshotRequest = false;
}

bool SnapshotMode::hasActiveTrigger() const {
    // The last entry is the blank slot for a new sequence.
    for (int i = 0; i < receiveList_.upperIndex(); ++i) {
        const ReceiveSequenceRecord& record = receiveList_[i];
        if (record.active == 1 && record.snapshotTrigger > 0 && record.sequence.size() > 0) {
            return true;
        }
    }
    return false;
}

void SnapshotMode::start() {
    if (on_) {
        host_.refreshDisplayStatus();
        return;
    }
    if (!hasActiveTrigger()) {
        MessageRequest error;
        error.text = kNoTriggerText;
        error.title = host_.messageTitle();
        error.icon = MessageIcon::Error;
        error.helpTopic = kHelpTopic;
        messages_.show(error);
        host_.refreshDisplayStatus();
        return;
    }
    on_ = true;
    setTriggered(false);
    router_.setSnapshotTaking(false);
    host_.clearSnapshotMarkers();
    host_.startCommunication();
    on_ = engine_.communicationRuns();
    if (on_ && host_.keyboardConsoleOn()) {
        host_.keyboardConsoleOff();
    }
    host_.refreshDisplayStatus();
}

void SnapshotMode::stopByUser() {
    if (!on_) {
        return;
    }
    setTriggered(false);
    on_ = false;
    router_.setSnapshotTaking(false);
    host_.refreshDisplayStatus();
}

void SnapshotMode::triggerSnapshot() {
    if (!on_) {
        return;
    }
    // The receive processing marks the run triggered before it calls; a direct call does too.
    engine_.communication().runState().snapshotTriggered = true;
    router_.setSnapshotTaking(true);
    host_.emptyCommWindows();
    host_.refreshDisplayStatus();
}

void SnapshotMode::endSnapshotMode() {
    on_ = false;
    router_.setSnapshotTaking(false);
}

} // namespace corvane
