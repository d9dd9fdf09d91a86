#include "communication/MdCommunication.h"

#include "communication/CommNameTables.h"
#include "platform/InternalError.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace corvane {

namespace {

bool beginsWithDeviceWord(const std::string& text) {
    std::string head = text.substr(0, 3);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return head == "COM" || head == "TAP" || head == "VTP";
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

MdCommunication::MdCommunication(SerialFunctionLibrary& library, ClCommChannel& channel1,
                                 ClCommChannel& channel2, CommunicationSettings& settings,
                                 ExpertOptions& expertOptions, MessageService& messages, SystemClock& clock,
                                 CommunicationHooks* hooks)
    : library_(library), channel1_(channel1), channel2_(channel2), settings_(settings),
      expertOptions_(expertOptions), messages_(messages), clock_(clock),
      hooks_(hooks != nullptr ? hooks : &defaultHooks_) {}

std::string MdCommunication::flowControlWord() const {
    if (settings_.communicationMode != CommunicationMode::SendReceive) {
        return "OFF";
    }
    switch (settings_.flowControl) {
    case FlowControl::RtsCts:
    case FlowControl::RtsCtsSingleByte:
        return "RTSCTS";
    case FlowControl::XonXoff:
        return "XONXOFF";
    case FlowControl::RtsHighWhileSending:
        return "RTSSEND";
    default:
        return "OFF";
    }
}

std::string MdCommunication::lineSettings() const {
    if (settings_.baudRate == 0) {
        return "None";
    }
    std::string line = upper(baudRateText(settings_.baudRate) + "," + parityName(settings_.parity) + "," +
                             dataBitsName(settings_.dataBits) + "," + stopBitsName(settings_.stopBits));
    line += "," + flowControlWord();
    line += "," + std::to_string(settings_.parityErrorCharacter);
    if (upper(settings_.channelA.substr(0, 3)) == "VTP") {
        line += "," + std::to_string(settings_.tapSignallingLevel);
    }
    return line;
}

std::string MdCommunication::setupCommChannelObjects(int channelIndex) {
    if (channelIndex != 0 && channelIndex != 1) {
        reportInternalError(kErrorIllegalValue, "setupCommChannelObjects: Illegal channel no.", "frmMain");
    }
    const std::string& text = channelIndex == 0 ? settings_.channelA : settings_.channelB;
    if (beginsWithDeviceWord(text)) {
        return text + ":" + lineSettings();
    }
    return text;
}

bool MdCommunication::CommunicationPortInit(int channelIndex) {
    if (channelIndex != 0 && channelIndex != 1) {
        reportInternalError(kErrorIllegalValue, "CommunicationPortInit: Illegal channel no.", kModule);
    }
    ClCommChannel& ch = channel(channelIndex);
    bool sendReceive = settings_.communicationMode == CommunicationMode::SendReceive;
    ch.setQueueID(sendReceive ? 2 : channelIndex + 1);
    ch.setRs232_watchModemSignals(sendReceive && settings_.flowControl == FlowControl::ManualRtsDtr);
    ch.setChannelSettings(setupCommChannelObjects(channelIndex));
    if (ch.channelStatus() != ChannelStatus::IllegalSettings) {
        ch.openChannel();
    }
    bool open = ch.channelStatus() == ChannelStatus::Open;
    if (open && ch.channelType() == ChannelType::Com && sendReceive &&
        settings_.flowControl != FlowControl::ManualRtsDtr && settings_.flowControl != FlowControl::RtsCts) {
        ch.rs232_setRTSDTR(true, true);
    }
    if (!open) {
        MessageRequest request;
        request.text =
            "The communication port " + ch.channelName() + " could not be opened. " + ch.channelLastError();
        request.icon = MessageIcon::Error;
        if (ch.channelLastErrNum() == kSocketErrorAddressInUse) {
            request.helpTopic = 24;
        }
        messages_.show(request);
    }
    return open;
}

void MdCommunication::CommunicationPortClose(int channelIndex) {
    if (channelIndex != 0 && channelIndex != 1) {
        reportInternalError(kErrorIllegalValue, "CommunicationPortClose: Illegal channel no.", kModule);
    }
    channel(channelIndex).closeChannel();
}

std::string MdCommunication::plannedChannelName(int channelIndex) {
    std::string normalised = ClCommChannel::normaliseSettings(setupCommChannelObjects(channelIndex));
    ChannelType type = ClCommChannel::typeOfSettings(normalised);
    std::string stored;
    if (!ClCommChannel::storedSettings(type, normalised, stored)) {
        stored = normalised;
    }
    return ClCommChannel::isDevicePortType(type) ? stored.substr(0, stored.find(':')) : stored;
}

ChannelType MdCommunication::plannedChannelType(int channelIndex) {
    return ClCommChannel::typeOfSettings(
        ClCommChannel::normaliseSettings(setupCommChannelObjects(channelIndex)));
}

void MdCommunication::buildDirectionTags() {
    if (!monitoring()) {
        runState_.directionTags = {"[TX] - ", "[RX] - "};
        return;
    }
    std::string name1 = plannedChannelName(0);
    std::string name2 = plannedChannelName(1);
    std::size_t width = std::max(name1.size(), name2.size());
    name1.insert(0, width - name1.size(), ' ');
    name2.insert(0, width - name2.size(), ' ');
    runState_.directionTags = {"[" + name1 + "] - ", "[" + name2 + "] - "};
}

double MdCommunication::bitTimeOfChannel1() {
    std::string normalised = ClCommChannel::normaliseSettings(setupCommChannelObjects(0));
    int number = 0;
    std::string line;
    if (ClCommChannel::typeOfSettings(normalised) != ChannelType::Com ||
        !ClCommChannel::checkCOMSettings(normalised, number, line) || line == "NONE") {
        return 0;
    }
    int baud = ClCommChannel::parseLineSettings(line, ChannelType::Com).baudRate;
    if (baud <= 0) {
        return 0;
    }
    return std::round(1000.0 / baud * 10000.0) / 10000.0;
}

void MdCommunication::endStart() {
    hooks_->showWaitCursor(false);
    hooks_->refreshMainWindowStatus();
}

void MdCommunication::startCommunication() {
    if (!communicationStopped_) {
        return;
    }
    hooks_->showWaitCursor(true);
    hooks_->closeFindDialog();

    hooks_->resetDataOutputBuffers();
    hooks_->prepareSequenceLists();

    runState_.pendingComment.clear();
    runState_.snapshotTriggered = false;
    runState_.headerRequest = false;
    runState_.snapshotRequest = false;
    hooks_->resetSendQueue();
    hooks_->resetLineBreakDetector();
    runState_.lastTimeStampTime = -86400000;
    runState_.lastDataTime = -86400000;
    runState_.lastDirection = -1;
    runState_.pendingWait = 100000000;
    runState_.paritySwitched = false;

    runState_.bitTime = bitTimeOfChannel1();
    buildDirectionTags();

    if (expertOptions_.communicationDriverMode == 1) {
        if (settings_.communicationMode == CommunicationMode::MonitorReceiveOnly &&
            plannedChannelType(0) == ChannelType::Vtp) {
            MessageRequest question;
            question.text =
                std::string("You cannot use external process / high priority mode for Kito-Tap or Lumo-Tap "
                            "devices. ") +
                "Switch Communication Driver Mode back to 'internal' and continue? ";
            question.title = kHighPriorityTitle;
            question.icon = MessageIcon::Warning;
            question.buttons = MessageButtons::OKCancel;
            question.defaultButton = 1;
            if (messages_.show(question) != MessageResult::OK) {
                endStart();
                return;
            }
            expertOptions_.communicationDriverMode = 0;
            hooks_->expertOptionsChanged();
        }
    }
    if (expertOptions_.communicationDriverMode == 1) {
        // This build has no external high priority process.
        MessageRequest error;
        error.text = "Could not start external high priority process.";
        error.title = kHighPriorityTitle;
        error.icon = MessageIcon::Error;
        messages_.show(error);
        endStart();
        return;
    }
    library_.libInitHiresTime(0);

    bool open = false;
    if (monitoring()) {
        open = CommunicationPortInit(0);
        if (open) {
            open = CommunicationPortInit(1);
            if (!open) {
                CommunicationPortClose(0);
            }
        }
    } else {
        open = CommunicationPortInit(0);
    }

    if (open) {
        // Whether an open channel (channel 2 only while monitoring) is of the type.
        const auto anyOpenOfType = [this](ChannelType type) {
            return channel1_.channelType() == type || (monitoring() && channel2_.channelType() == type);
        };
        int waitMs = 0;
        if (anyOpenOfType(ChannelType::Tap)) {
            waitMs = 300;
        } else if (monitoring() && anyOpenOfType(ChannelType::Vtp)) {
            waitMs = 50;
        } else if (anyOpenOfType(ChannelType::Com)) {
            waitMs = 25;
        }
        if (waitMs > 0) {
            clock_.sleepMs(waitMs);
        }
        library_.libRXQueueErase();
        communicationStopped_ = false;
    }
    endStart();
}

void MdCommunication::waitForTransmitBuffer() {
    std::int64_t start = clock_.timeOfDayMs();
    while (!channel1_.transmitBufferEmpty()) {
        std::int64_t elapsed = clock_.timeOfDayMs() - start;
        if (elapsed < -1000) {
            elapsed += 86400000;
        }
        if (elapsed >= 100) {
            break;
        }
        clock_.sleepMs(2);
    }
}

void MdCommunication::stopCommunication() {
    if (communicationStopped_) {
        return;
    }
    hooks_->communicationStopping();
    hooks_->showWaitCursor(true);
    if (monitoring()) {
        CommunicationPortClose(0);
        CommunicationPortClose(1);
    } else {
        if (!hooks_->isShuttingDown()) {
            waitForTransmitBuffer();
        }
        CommunicationPortClose(0);
    }
    communicationStopped_ = true;
    hooks_->endSnapshotMode();
    if (!hooks_->isShuttingDown()) {
        hooks_->resetRepeatSend();
        hooks_->refreshMainWindowStatus();
    }
    hooks_->showWaitCursor(false);
}

} // namespace corvane
