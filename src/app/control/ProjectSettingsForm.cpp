#include "app/control/ProjectSettingsForm.h"

#include "app/control/ProjectSettingsFields.h"
#include "app/control/SerialPortDirectory.h"
#include "communication/MdTapSupport.h"
#include "persistence/ProjectValueFormat.h"
#include "platform/MessageService.h"
#include "platform/SerialFunctionLibrary.h"

namespace corvane {

namespace ps = projectsettings;

namespace {

constexpr const char* kSendReceiveCaption = "Send/Receive on Comm. Channel ";
constexpr const char* kReceiveChannel1Caption = "Receive Channel 1 ";
constexpr const char* kRs485Warning =
    "Warning: The\"RS485 Transceiver Control\" option is an expert setting for RS485 converters/interfaces "
    "that require the RTS signal. It is not supported by many USB-to-Serial devices or Virtual COM drivers!";
constexpr const char* kFlowControlNote = "Flow control support is only available for serial COM ports and "
                                         "communication mode Send/Receive. Click here to";
constexpr const char* kNoFlowControlNote =
    "No Flow Control options selectable when RS232/RS485/RS422 line properties are disabled. Click here to";
constexpr const char* kIllegalPort = "Illegal communication port. Valid ports are COM1 to COM256.";

bool isHeading(const std::string& text) {
    return text == ps::kSerialPortsHeading || text == ps::kUsbTapsHeading || text == ps::kNetworksHeading;
}

bool beginsWithTapName(const std::string& text) {
    return text.rfind("TAP", 0) == 0 || text.rfind("VTP", 0) == 0;
}

} // namespace

ProjectSettingsForm::ProjectSettingsForm(Services services, const CommunicationSettings& current)
    : services_(services), settings_(current), scratch1_(services.library), scratch2_(services.library) {}

void ProjectSettingsForm::open() {
    screen_.monitoring = settings_.communicationMode != CommunicationMode::SendReceive;
    if (services_.taps != nullptr) {
        services_.taps->enumerate();
    }
    screen_.channel1Text = settings_.channelA;
    screen_.channel2Text = settings_.channelB;
    scratch1_.setChannelSettings(settings_.channelA);
    scratch2_.setChannelSettings(settings_.channelB);
    buildChannelLists();
    const std::int32_t rate = settings_.baudRate;
    screen_.baudRateText = ps::baudRateFieldText(rate);
    screen_.parity = toStored(settings_.parity);
    parityErrorCharacter_ = settings_.parityErrorCharacter;
    screen_.parityErrorText = ps::parityErrorCharacterText(parityErrorCharacter_);
    screen_.dataBits = toStored(settings_.dataBits) - 1;
    screen_.stopBits = toStored(settings_.stopBits);
    screen_.signalLevel = settings_.tapSignallingLevel;
    screen_.flowControl = settings_.flowControl;
    screen_.contentFilter = settings_.contentFilter;
    recompute();
    if (view_ != nullptr) {
        view_->showTab(ProjectSettingsTab::Communication);
    }
}

std::vector<ChannelListEntry> ProjectSettingsForm::channelList(int channel) const {
    std::vector<ChannelListEntry> list;
    list.push_back({ps::kSerialPortsHeading, ps::kSerialPortsHeading, true});
    for (const SerialPortEntry& port : services_.ports.listSerialPorts()) {
        if (port.comNumber >= 1 && port.comNumber <= kMaxComNumber &&
            services_.library.libPortAvailable(port.comNumber - 1)) {
            list.push_back({port.displayText, "COM" + std::to_string(port.comNumber), false});
        }
    }
    if (screen_.monitoring && services_.taps != nullptr && services_.taps->completeTaps() > 0) {
        list.push_back({ps::kUsbTapsHeading, ps::kUsbTapsHeading, true});
        const MdTapSupport& taps = *services_.taps;
        for (int k = 0; k < taps.completeTaps(); ++k) {
            const int device = channel == 0 ? taps.sideA()[k] : taps.sideB()[k];
            const std::string name = "TAP" + std::to_string(2 * k + channel);
            list.push_back({name + "  (" + taps.descriptions()[device] + ")", name, false});
        }
    }
    return list;
}

void ProjectSettingsForm::buildChannelLists() {
    screen_.channel1List = channelList(0);
    screen_.channel2List = channelList(1);
}

void ProjectSettingsForm::chooseMonitoring(bool monitoring) {
    screen_.monitoring = monitoring;
    buildChannelLists();
    recompute();
}

void ProjectSettingsForm::editChannel(int channel, const std::string& text) {
    channelText(channel) = text;
    channelPending_[channel] = true;
    recompute();
}

bool ProjectSettingsForm::checkChannel(int channel) {
    // A refused text stays in the field, and OK checks it again.
    channelPending_[channel] = true;
    ClCommChannel& object = scratch(channel);
    object.setChannelSettings(channelText(channel));
    if (object.channelStatus() != ChannelStatus::IllegalSettings && object.isDevicePort()) {
        channelPending_[channel] = false;
        channelText(channel) = object.channelName();
        recompute();
        return true;
    }
    const std::string error =
        object.channelStatus() == ChannelStatus::IllegalSettings ? object.channelLastError() : std::string();
    if (view_ != nullptr) {
        view_->focusField(channel == 0 ? ProjectSettingsField::Channel1 : ProjectSettingsField::Channel2);
    }
    warn(error.empty() ? kIllegalPort : error);
    recompute();
    return false;
}

void ProjectSettingsForm::chooseChannelEntry(int channel, int index) {
    const auto& list = channel == 0 ? screen_.channel1List : screen_.channel2List;
    if (index < 0 || index >= static_cast<int>(list.size())) {
        return;
    }
    if (isHeading(list[index].text)) {
        ++index;
        if (index >= static_cast<int>(list.size()) || list[index].heading) {
            recompute();
            return;
        }
    }
    channelText(channel) = list[index].name;
    checkChannel(channel);
    const int other = 1 - channel;
    if (beginsWithTapName(list[index].name)) {
        const auto& otherList = other == 0 ? screen_.channel1List : screen_.channel2List;
        if (index < static_cast<int>(otherList.size())) {
            channelText(other) = otherList[index].name;
        }
    }
    checkChannel(other);
}

void ProjectSettingsForm::editBaudRate(const std::string& text) {
    screen_.baudRateText = text;
    baudRatePending_ = true;
    recompute();
}

void ProjectSettingsForm::chooseBaudRateEntry(int index) {
    const auto& choices = ps::baudRateChoices();
    if (index < 0 || index >= static_cast<int>(choices.size())) {
        return;
    }
    // "Custom Rate" empties the field for typing.
    screen_.baudRateText = index == ps::kCustomRateEntry ? std::string() : choices[index];
    baudRatePending_ = index == ps::kCustomRateEntry;
    recompute();
}

bool ProjectSettingsForm::checkBaudRate() {
    baudRatePending_ = false;
    const ps::FieldCheck check = ps::checkBaudRateText(screen_.baudRateText);
    screen_.baudRateText = check.text;
    recompute();
    if (!check.passed) {
        if (view_ != nullptr) {
            view_->focusField(ProjectSettingsField::BaudRate);
        }
        warn(ps::kIllegalValue);
    }
    return check.passed;
}

void ProjectSettingsForm::editParityErrorCharacter(const std::string& text) {
    screen_.parityErrorText = text;
    parityErrorPending_ = true;
}

bool ProjectSettingsForm::checkParityErrorCharacter() {
    parityErrorPending_ = false;
    const ps::FieldCheck check = ps::checkParityErrorText(screen_.parityErrorText, parityErrorCharacter_);
    parityErrorCharacter_ = check.value;
    screen_.parityErrorText = check.text;
    recompute();
    if (!check.passed) {
        if (view_ != nullptr) {
            view_->focusField(ProjectSettingsField::ParityErrorCharacter);
        }
        warn(ps::kIllegalValue);
    }
    return check.passed;
}

void ProjectSettingsForm::chooseParity(int position) {
    screen_.parity = position;
    recompute();
}

void ProjectSettingsForm::chooseDataBits(int position) {
    screen_.dataBits = position;
    recompute();
}

void ProjectSettingsForm::chooseStopBits(int position) {
    screen_.stopBits = position;
    recompute();
}

void ProjectSettingsForm::chooseSignalLevel(int position) {
    screen_.signalLevel = position;
    recompute();
}

void ProjectSettingsForm::chooseFlowControl(FlowControl code) {
    // Codes 4 and 5 have no choice of their own.
    if (code != FlowControl::RtsCtsXonXoff && code != FlowControl::RtsCtsSingleByte) {
        screen_.flowControl = code;
    }
    recompute();
}

void ProjectSettingsForm::chooseContentFilter(ContentFilter filter) {
    screen_.contentFilter = filter;
    recompute();
}

bool ProjectSettingsForm::isType(int channel, ChannelType type) const {
    return scratch(channel).channelType() == type;
}

bool ProjectSettingsForm::isDevicePort(int channel) const {
    return scratch(channel).isDevicePort();
}

bool ProjectSettingsForm::lumoTapInUse() const {
    return isType(0, ChannelType::Vtp) || (screen_.monitoring && isType(1, ChannelType::Vtp));
}

bool ProjectSettingsForm::tapInUse() const {
    return !lumoTapInUse() &&
           (isType(0, ChannelType::Tap) || (screen_.monitoring && isType(1, ChannelType::Tap)));
}

bool ProjectSettingsForm::linePropertiesAvailable() const {
    return isDevicePort(0) || (screen_.monitoring && isDevicePort(1));
}

bool ProjectSettingsForm::linePropertiesActive() const {
    return linePropertiesAvailable() && screen_.baudRateText != ps::kNoneRate;
}

bool ProjectSettingsForm::flowControlAvailable() const {
    return linePropertiesActive() && !screen_.monitoring;
}

void ProjectSettingsForm::recompute() {
    ProjectSettingsScreen& s = screen_;
    s.channel1Caption = s.monitoring ? kReceiveChannel1Caption : kSendReceiveCaption;
    s.channel2Shown = s.monitoring;
    s.lineSettingsEnabled = linePropertiesAvailable();
    const bool noLineProperties = s.baudRateText == ps::kNoneRate;
    s.lineFieldsShown = !noLineProperties;
    s.noLinePropertiesShown = noLineProperties;
    s.signalLevelShown = lumoTapInUse();
    if (!linePropertiesActive()) {
        s.flowControl = FlowControl::None;
    }
    s.flowControlEnabled = flowControlAvailable();
    if (s.flowControlEnabled) {
        s.flowControlNote = kRs485Warning;
        s.flowControlLinkShown = false;
    } else {
        s.flowControlNote = noLineProperties ? kNoFlowControlNote : kFlowControlNote;
        s.flowControlLinkShown = true;
    }
    if (view_ != nullptr) {
        view_->showScreen(screen_);
    }
}

void ProjectSettingsForm::warn(const std::string& text) {
    MessageRequest request;
    request.text = text;
    request.title = ps::kTitle;
    request.icon = MessageIcon::Warning;
    services_.messages.show(request);
}

bool ProjectSettingsForm::ask(const std::string& text) {
    MessageRequest request;
    request.text = text;
    request.title = ps::kTitle;
    request.icon = MessageIcon::Warning;
    request.buttons = MessageButtons::OKCancel;
    request.defaultButton = 1;
    return services_.messages.show(request) == MessageResult::OK;
}

void ProjectSettingsForm::failAt(ProjectSettingsTab tab, ProjectSettingsField field, bool focus) {
    if (view_ != nullptr) {
        view_->showTab(tab);
        if (focus) {
            view_->focusField(field);
        }
    }
}

bool ProjectSettingsForm::checkPendingFields() {
    // A field typed into and left by pressing Enter (the default button) is checked as if left.
    for (int channel = 0; channel < 2; ++channel) {
        if (channelPending_[channel] && !checkChannel(channel)) {
            return false;
        }
    }
    if (baudRatePending_ && !checkBaudRate()) {
        return false;
    }
    return !parityErrorPending_ || checkParityErrorCharacter();
}

bool ProjectSettingsForm::ok() {
    accepted_ = false;
    if (!checkPendingFields()) {
        return false;
    }
    bool failed = false;
    const auto fail = [&](const std::string& text, ProjectSettingsField field, bool focus) {
        warn(text);
        failed = true;
        failAt(ProjectSettingsTab::Communication, field, focus);
    };
    const bool lumoTapChannel = isType(0, ChannelType::Vtp) || isType(1, ChannelType::Vtp);
    if (screen_.monitoring) {
        if (lumoTapChannel) {
            fail("Lumo-Tap and Kito-Tap Pro support is only available in Corvane Studio. Please correct.",
                 ProjectSettingsField::Channel1, false);
        } else if (screen_.channel1Text == screen_.channel2Text) {
            fail("You cannot use the same communication port for channel 1 and channel 2. Please correct.",
                 ProjectSettingsField::Channel2, true);
        }
    } else if (isType(0, ChannelType::Tap) || isType(0, ChannelType::Vtp)) {
        fail("The TAP ports are for Monitoring Mode only. For Send/Receive, use a COM port.",
             ProjectSettingsField::Channel1, false);
    }
    if (screen_.baudRateText == ps::kNoneRate && (tapInUse() || lumoTapInUse())) {
        fail("For a TAP or VTP port you always need to specify serial communication parameters (baud rate, "
             "...). Please correct.",
             ProjectSettingsField::BaudRate, true);
    }
    std::int32_t rate = 0;
    if (screen_.baudRateText != ps::kNoneRate) {
        rate = static_cast<std::int32_t>(projectformat::parseNumber(screen_.baudRateText).value_or(0));
    }
    failed = !checkOkBaudRate(rate, failed) || failed;
    if (!failed && flowControlAvailable() && screen_.flowControl == FlowControl::RtsHighWhileSending &&
        !ask(std::string("You are using Flow Control: RS485 Transceiver Control. ") +
             "This option can cause problems with many USB-to-Serial or Virtual COM devices. " +
             "Are you sure you want to apply the new settings?")) {
        failed = true;
        failAt(ProjectSettingsTab::FlowControl, ProjectSettingsField::Rs485Choice, true);
    }
    if (!failed) {
        takeResult(rate);
    }
    return accepted_;
}

bool ProjectSettingsForm::checkOkBaudRate(std::int32_t rate, bool failed) {
    if (ps::isStandardBaudRate(rate) || failed || !linePropertiesActive()) {
        return true;
    }
    const std::string shown = std::to_string(rate);
    std::string question;
    if (rate < 110) {
        question = "You are using an extremly low baud rate (" + shown + " baud). " + "\r\n" +
                   "Please make sure this baud rate is really supported by your COM port device. " +
                   "Please also note that very large delays (> 10 second) may occur when closing the COM "
                   "port, and Corvane may appear frozen. " +
                   "Are you sure you want to apply the new settings?";
    } else {
        question = "You are using a non-standard baud rate (" + shown + " baud). " + "\r\n" +
                   "Please note that the actual baud rate on the serial line depends on the capabilities of "
                   "your COM port's UART chip. " +
                   "You will receive no warning, if the baud rate setting cannot be applied correctly. " +
                   "Are you sure you want to apply the new settings?";
    }
    if (ask(question)) {
        return true;
    }
    failAt(ProjectSettingsTab::Communication, ProjectSettingsField::BaudRate, true);
    return false;
}

void ProjectSettingsForm::takeResult(std::int32_t rate) {
    result_ = settings_;
    result_.communicationMode =
        screen_.monitoring ? CommunicationMode::MonitorReceiveOnly : CommunicationMode::SendReceive;
    result_.channelA = screen_.channel1Text;
    result_.channelB = screen_.channel2Text;
    result_.baudRate = rate;
    result_.parity = parityFromStored(screen_.parity);
    result_.parityErrorCharacter = parityErrorCharacter_;
    result_.dataBits = dataBitsFromStored(screen_.dataBits + 1);
    result_.stopBits = stopBitsFromStored(screen_.stopBits);
    result_.tapSignallingLevel = screen_.signalLevel;
    result_.flowControl = screen_.flowControl;
    result_.contentFilter = screen_.contentFilter;
    accepted_ = true;
}

int ProjectSettingsForm::nextTab(int current, bool backwards) {
    const int step = backwards ? kProjectSettingsTabCount - 1 : 1;
    return (current + step) % kProjectSettingsTabCount;
}

} // namespace corvane
