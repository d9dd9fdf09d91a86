#include "app/control/StatusBarPresenter.h"

#include "app/control/CommunicationControl.h"
#include "app/control/DeferredCommands.h"
#include "app/control/ProgramContext.h"
#include "communication/ClCommChannel.h"
#include "communication/CommunicationSettings.h"
#include "display/SnapshotMode.h"
#include "persistence/ProgramSettingsData.h"

namespace corvane {

namespace {

ChannelStatusView statusViewOf(ClCommChannel& channel) {
    ChannelStatusView view;
    view.status = channel.channelStatus();
    view.type = channel.channelType();
    view.readyForTransmission =
        channel.channelStatus() == ChannelStatus::Open ? channel.readyForTransmission() : true;
    view.shortName = channel.channelNameShort();
    return view;
}

} // namespace

StatusBarPresenter::StatusBarPresenter(ProgramContext& context, CommunicationControl& communication,
                                       DeferredCommands& commands, StatusBarView& view)
    : context_(context), communication_(communication), commands_(commands), view_(view) {}

void StatusBarPresenter::setStatusBar() {
    const CommunicationSettings& s = context_.communicationSettings;
    view_.showPanel(2, windowFormatPanelText(context_.settings.dispCommWindowFormat), true);
    view_.showPanel(3, channelPanelText(s.communicationMode, s.channelA, s.channelB), true);
    const ChannelType type = context_.channel1.channelType();
    const bool serial = ClCommChannel::isDevicePortType(type);
    view_.showPanel(4, serialPanelText(serial, s.baudRate, s.parity, s.dataBits, s.stopBits), true);
    flowPanel_ = flowControlPanel(s.communicationMode, s.flowControl, type, serial);
    view_.showPanel(5, flowPanel_.text, flowPanel_.visible);
    view_.showLineIndicators(flowPanel_.indicatorsVisible, flowPanel_.rtsToolTip, flowPanel_.dtrToolTip);
    updateStatusLinesIndicators(true);
    refreshStatusText();
    view_.showActivityIcon(activity_.current());
}

void StatusBarPresenter::refreshStatusText() {
    SnapshotStatusView snapshot;
    if (snapshot_ != nullptr) {
        snapshot.modeOn = snapshot_->modeOn();
        snapshot.triggered = snapshot_->triggered();
    }
    std::string text =
        communicationStatusText(context_.communicationSettings.communicationMode,
                                statusViewOf(context_.channel1), statusViewOf(context_.channel2), snapshot);
    if (statusTextShown_ && text == statusText_) {
        return;
    }
    statusText_ = std::move(text);
    statusTextShown_ = true;
    view_.showPanel(1, statusText_, true);
    ++statusTextWrites_;
}

void StatusBarPresenter::updateStatusLinesIndicators(bool force) {
    if (!view_.lineIndicatorsShown()) {
        return;
    }
    bool rts = communication_.manualRts();
    bool dtr = communication_.manualDtr();
    if (communication_.communicationRuns()) {
        context_.channel1.rs232_getRTSDTR(rts, dtr);
    }
    const LineStates states =
        lineStatesOf(communication_.pass().lastStatusFlags(), flowPanel_.tapDeviceMode, rts, dtr);
    const std::array<bool, 6> now{states.rts, states.dtr, states.cts, states.dsr, states.dcd, states.ri};
    std::array<bool, 6> changed{};
    bool any = false;
    for (std::size_t i = 0; i < now.size(); ++i) {
        changed[i] = force || !lineStatesKnown_ || now[i] != lineStates_[i];
        any = any || changed[i];
    }
    lineStates_ = now;
    lineStatesKnown_ = true;
    if (any) {
        view_.showLineStates(now, changed);
    }
}

void StatusBarPresenter::noteActivity(bool direction0, bool direction1) {
    activityFlags_[0] = activityFlags_[0] || direction0;
    activityFlags_[1] = activityFlags_[1] || direction1;
}

void StatusBarPresenter::tickActivityIcon() {
    const bool receiveOnly =
        context_.communicationSettings.communicationMode == CommunicationMode::MonitorReceiveOnly;
    const int before = activity_.current();
    const int icon = activity_.tick(!communication_.communicationRuns(), receiveOnly, activityFlags_[0],
                                    activityFlags_[1]);
    if (icon != before) {
        view_.showActivityIcon(icon);
    }
}

void StatusBarPresenter::statusPanelDoubleClicked(int panel) {
    if (panel == 1) {
        if (communication_.communicationRuns()) {
            communication_.execUserStop();
        } else {
            communication_.execUserStart();
        }
        return;
    }
    commands_.setPendingCommand(panelDoubleClickCommand(panel, flowPanel_.tapDeviceMode));
}

void StatusBarPresenter::lineIndicatorDoubleClicked(int line) {
    if (line != 0 && line != 1) {
        return;
    }
    if (!communication_.communicationRuns()) {
        communication_.execUserStart();
        if (!communication_.communicationRuns()) {
            return;
        }
    }
    bool rts = lineStates_[0];
    bool dtr = lineStates_[1];
    if (line == 0) {
        rts = !rts;
    } else {
        dtr = !dtr;
    }
    communication_.setManualLines(rts, dtr);
    updateStatusLinesIndicators(true);
}

} // namespace corvane
