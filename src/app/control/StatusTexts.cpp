#include "app/control/StatusTexts.h"

#include "communication/ClCommChannel.h"
#include "communication/CommNameTables.h"

namespace corvane {

namespace {

std::string channelDetail(const ChannelStatusView& channel) {
    if (channel.status != ChannelStatus::Open) {
        return {};
    }
    if (channel.type == ChannelType::TcpClient || channel.type == ChannelType::TcpServer) {
        return channel.readyForTransmission ? "connected" : "no connection";
    }
    if (ClCommChannel::isDevicePortType(channel.type) && !channel.readyForTransmission) {
        return "waiting for handshake";
    }
    return {};
}

} // namespace

std::string communicationStatusText(CommunicationMode communicationMode, const ChannelStatusView& channel1,
                                    const ChannelStatusView& channel2, const SnapshotStatusView& snapshot) {
    if (snapshot.triggered) {
        return snapshot.modeOn ? "Taking snapshot ..." : "Snapshot complete";
    }
    const char* kError = "Error while accessing the communication port(s)";
    std::string text;
    switch (channel1.status) {
    case ChannelStatus::Closed:
        text = "Commmunication port closed";
        break;
    case ChannelStatus::Open:
        text = "Commmunication port open";
        break;
    default:
        text = kError;
        break;
    }
    std::string detail = channelDetail(channel1);
    bool channel1Error = channel1.status != ChannelStatus::Closed && channel1.status != ChannelStatus::Open;
    if (communicationMode != CommunicationMode::SendReceive && !channel1Error) {
        switch (channel2.status) {
        case ChannelStatus::Closed:
            text = "Commmunication ports closed";
            break;
        case ChannelStatus::Open:
            text = "Commmunication ports open";
            break;
        default:
            text = kError;
            break;
        }
        if (channel1.status == ChannelStatus::Open && channel2.status == ChannelStatus::Open) {
            std::string detail2 = channelDetail(channel2);
            std::string combined;
            if (!detail.empty()) {
                combined = channel1.shortName + ": " + detail;
            }
            if (!detail2.empty()) {
                if (!combined.empty()) {
                    combined += " / ";
                }
                combined += channel2.shortName + ": " + detail2;
            }
            detail = combined;
        }
    }
    if (!detail.empty()) {
        text += " (" + detail + ") ";
    }
    return text;
}

std::string windowFormatPanelText(CommWindowFormat format) {
    return format == CommWindowFormat::Formatted ? "Colors&Fonts Mode" : "Plain Text Mode";
}

std::string channelPanelText(CommunicationMode communicationMode, const std::string& channel1,
                             const std::string& channel2) {
    std::string text;
    if (communicationMode == CommunicationMode::SendReceive) {
        text = channel1;
    } else if (communicationMode == CommunicationMode::MonitorReceiveOnly) {
        text = channel1 + " / " + channel2;
    }
    return "  " + text + "  ";
}

std::string serialPanelText(bool hasSerialParameters, std::int32_t baudRate, Parity parity, DataBits dataBits,
                            StopBits stopBits) {
    if (!hasSerialParameters) {
        return "No Serial Settings";
    }
    return baudRateText(baudRate) + ", " + parityName(parity) + ", " + dataBitsName(dataBits) + ", " +
           stopBitsName(stopBits);
}

FlowPanel flowControlPanel(CommunicationMode communicationMode, FlowControl flowControl,
                           ChannelType channel1Type, bool hasSerialParameters) {
    FlowPanel panel;
    if (communicationMode == CommunicationMode::MonitorReceiveOnly && channel1Type == ChannelType::Vtp) {
        panel.visible = true;
        panel.tapDeviceMode = true;
        panel.indicatorsVisible = true;
        panel.text = "Kito-Tap Pro / Lumo-Tap mode";
        panel.rtsToolTip = "Request To Send (DTE side / Channel 2)";
        panel.dtrToolTip = "Data Terminal Ready (DTE side / Channel 2)";
        return panel;
    }
    if (communicationMode != CommunicationMode::MonitorReceiveOnly && flowControl != FlowControl::None &&
        hasSerialParameters) {
        panel.visible = true;
        panel.text = flowControlName(flowControl);
        panel.indicatorsVisible = flowControl == FlowControl::ManualRtsDtr;
        panel.rtsToolTip = "Request To Send - Double click to change";
        panel.dtrToolTip = "Data Terminal Ready - Double click to change";
    }
    return panel;
}

std::string panelDoubleClickCommand(int panel, bool tapDeviceMode) {
    switch (panel) {
    case 2:
        return "Options";
    case 3:
    case 4:
        return "ProjectSettings";
    case 5:
        return tapDeviceMode ? "ProjectSettings" : "ProjectSettings2";
    default:
        return {};
    }
}

int ActivityIcon::tick(bool communicationStopped, bool receiveOnlyMonitoring, bool& flag0, bool& flag1) {
    int offset = receiveOnlyMonitoring ? 5 : 0;
    int icon;
    int shown = current_ > 5 ? current_ - 5 : current_;
    if (communicationStopped) {
        icon = 5;
    } else if ((!flag0 && !flag1) || (shown >= 1 && shown <= 3)) {
        icon = 4;
    } else if (flag1) {
        icon = flag0 ? 1 : 3;
        flag0 = false;
        flag1 = false;
    } else {
        icon = 2;
        flag0 = false;
    }
    current_ = icon + offset;
    return current_;
}

LineStates lineStatesOf(std::uint16_t statusWord, bool tapDeviceMode, bool channelRts, bool channelDtr) {
    std::uint16_t word = statusWord & 0x7E00;
    LineStates lines;
    if (tapDeviceMode) {
        lines.rts = (word & 0x2000) != 0;
        lines.dtr = (word & 0x4000) != 0;
    } else {
        lines.rts = channelRts;
        lines.dtr = channelDtr;
    }
    lines.cts = (word & 0x200) != 0;
    lines.dsr = (word & 0x400) != 0;
    lines.dcd = (word & 0x800) != 0;
    lines.ri = (word & 0x1000) != 0;
    return lines;
}

} // namespace corvane
