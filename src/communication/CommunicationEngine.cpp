#include "communication/CommunicationEngine.h"

#include <chrono>
#include <thread>

namespace corvane {

CommunicationEngine::CommunicationEngine(SerialFunctionLibrary& library, ClCommChannel& channel1,
                                         ClCommChannel& channel2, CommunicationSettings& settings,
                                         ExpertOptions& expertOptions, SendSequenceList& sendList,
                                         ReceiveSequenceList& receiveList, MessageService& messages,
                                         SystemClock& clock, CommPieceConsumer& consumer,
                                         HiresTimeSource& timeSource, CommunicationHooks* shell)
    : library_(library), sendList_(sendList), shell_(shell),
      communication_(library, channel1, channel2, settings, expertOptions, messages, clock, this),
      output_(consumer, timeSource), send_(communication_, settings, sendList, output_, clock),
      receive_(library, communication_, settings, expertOptions, receiveList, output_, send_, clock) {
    receive_.setSnapshotControl(this);
}

void CommunicationEngine::requestStop() {
    if (communicationRuns()) {
        stopRequest_ = true;
        receive_.requestStop();
    }
}

bool CommunicationEngine::communicationPass() {
    if (communication_.communicationStopped()) {
        return true;
    }
    if (stopRequest_) {
        stopCommunication();
        return true;
    }
    communication_.channel(0).takeWaitingInput();
    communication_.channel(1).takeWaitingInput();
    bool idle = receive_.receiveProcessing();
    if (!communication_.communicationStopped()) {
        send_.sendQueueProcessing();
        send_.periodicSending();
        receive_.channelErrorCheck();
    }
    if (stopRequest_) {
        stopCommunication();
    }
    return idle;
}

int CommunicationEngine::idleWaitMs() const {
    return send_.timedWorkPending() || receive_.forwardPending() ? kBusyIdleWaitMs : kQuietIdleWaitMs;
}

void CommunicationEngine::idleWait(int timeoutMs) {
    if (receive_.forwardPending()) {
        // Packets may well be there; what the pass waits for is room on the other line.
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return;
    }
    library_.libWaitForPacket(timeoutMs);
}

void CommunicationEngine::showWaitCursor(bool wait) {
    if (shell_ != nullptr) {
        shell_->showWaitCursor(wait);
    }
}

void CommunicationEngine::closeFindDialog() {
    if (shell_ != nullptr) {
        shell_->closeFindDialog();
    }
}

void CommunicationEngine::resetDataOutputBuffers() {
    output_.reset();
    if (shell_ != nullptr) {
        shell_->resetDataOutputBuffers();
    }
}

void CommunicationEngine::prepareSequenceLists() {
    send_.prepareSendList();
    receive_.prepareReceiveList();
    if (shell_ != nullptr) {
        shell_->prepareSequenceLists();
    }
}

void CommunicationEngine::resetSendQueue() {
    send_.resetSendQueue();
}

void CommunicationEngine::resetLineBreakDetector() {
    output_.resetLineBreakDetector();
}

void CommunicationEngine::expertOptionsChanged() {
    if (shell_ != nullptr) {
        shell_->expertOptionsChanged();
    }
}

void CommunicationEngine::communicationStopping() {
    // A stop asked for ends with this stop, whatever its reason.
    stopRequest_ = false;
    // Data that could not be forwarded since the last report is reported before the lines close.
    receive_.reportForwardingLoss(true);
    if (shell_ != nullptr) {
        shell_->communicationStopping();
    }
}

void CommunicationEngine::refreshMainWindowStatus() {
    // The direction tags are built during the start, after the data output was reset.
    output_.setDirectionTags(communication_.runState().directionTags);
    if (shell_ != nullptr) {
        shell_->refreshMainWindowStatus();
    }
}

void CommunicationEngine::endSnapshotMode() {
    if (snapshot_ != nullptr) {
        snapshot_->endSnapshotMode();
    }
    if (shell_ != nullptr) {
        shell_->endSnapshotMode();
    }
}

void CommunicationEngine::resetRepeatSend() {
    for (int i = 0; i <= sendList_.upperIndex(); ++i) {
        sendList_[i].repeatRunning = 0;
    }
    if (shell_ != nullptr) {
        shell_->resetRepeatSend();
    }
}

bool CommunicationEngine::isShuttingDown() const {
    return shell_ != nullptr && shell_->isShuttingDown();
}

bool CommunicationEngine::snapshotModeOn() const {
    return snapshot_ != nullptr && snapshot_->snapshotModeOn();
}

void CommunicationEngine::triggerSnapshot() {
    if (snapshot_ != nullptr) {
        snapshot_->triggerSnapshot();
    }
}

} // namespace corvane
