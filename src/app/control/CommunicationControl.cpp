#include "app/control/CommunicationControl.h"

#include "app/control/MainWindowView.h"
#include "app/control/ProgramContext.h"
#include "communication/ClCommChannel.h"
#include "communication/CommunicationEngine.h"

namespace corvane {

CommunicationControl::CommunicationControl(ProgramContext& context, MainWindowView& view,
                                           std::unique_ptr<CommunicationPass> pass,
                                           std::function<void()> refreshDisplayStatus)
    : context_(context), view_(view), pass_(std::move(pass)),
      refreshDisplayStatus_(std::move(refreshDisplayStatus)) {}

bool CommunicationControl::communicationRuns() const {
    return context_.engine.communicationRuns();
}

void CommunicationControl::assignChannelSettings() {
    MdCommunication& communication = context_.engine.communication();
    context_.channel1.setChannelSettings(communication.setupCommChannelObjects(0));
    context_.channel2.setChannelSettings(communication.setupCommChannelObjects(1));
}

void CommunicationControl::execUserStart() {
    if (communicationRuns()) {
        return;
    }
    assignChannelSettings();
    context_.engine.startCommunication();
    if (communicationRuns()) {
        manualRts_ = false;
        manualDtr_ = false;
        context_.channel1.rs232_getRTSDTR(manualRts_, manualDtr_);
    }
    refreshDisplayStatus_();
}

void CommunicationControl::execUserStop() {
    if (!communicationRuns()) {
        return;
    }
    context_.engine.stopCommunication();
    view_.copyCommWindowBuffers();
    refreshDisplayStatus_();
}

void CommunicationControl::consoleOn() {
    if (!communicationRuns()) {
        execUserStart();
    }
    console_ = communicationRuns();
    refreshDisplayStatus_();
    view_.refreshSequenceList(SequenceListKind::Send);
    view_.focusVisibleCommWindow();
}

void CommunicationControl::consoleOff() {
    console_ = false;
    refreshDisplayStatus_();
    view_.refreshSequenceList(SequenceListKind::Send);
}

void CommunicationControl::setManualLines(bool rts, bool dtr) {
    manualRts_ = rts;
    manualDtr_ = dtr;
    pass_->setManualRtsDtr(rts, dtr);
}

} // namespace corvane
