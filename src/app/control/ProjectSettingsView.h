#pragma once

#include "communication/CommunicationCodes.h"

#include <string>
#include <vector>

namespace corvane {

// The tabs of the project settings dialog, in their order.
enum class ProjectSettingsTab : int { Communication = 0, FlowControl = 1, Filter = 2 };
inline constexpr int kProjectSettingsTabCount = 3;

// The fields a check may send the focus back to.
enum class ProjectSettingsField : int { Channel1, Channel2, BaudRate, ParityErrorCharacter, Rs485Choice };

// One entry of a channel list: what the list shows and the name the field takes when it is
// chosen ("COM3  (/dev/ttyUSB0, FT232R USB UART)" and "COM3"). A group heading shows its own text.
struct ChannelListEntry {
    std::string text;
    std::string name;
    bool heading = false;

    bool operator==(const ChannelListEntry&) const = default;
};

// Everything the project settings dialog shows, after every change.
struct ProjectSettingsScreen {
    bool monitoring = false;
    // "Send/Receive on Comm. Channel " or "Receive Channel 1 "; channel 2 ("Receive Channel 2")
    // is shown in monitoring mode only.
    std::string channel1Caption;
    bool channel2Shown = false;
    std::vector<ChannelListEntry> channel1List;
    std::vector<ChannelListEntry> channel2List;
    std::string channel1Text;
    std::string channel2Text;

    std::string baudRateText;
    std::string parityErrorText;
    // List positions; -1 when the stored code has no entry.
    int parity = -1;
    int dataBits = -1;
    int stopBits = -1;
    int signalLevel = -1;
    FlowControl flowControl = FlowControl::None;
    ContentFilter contentFilter = ContentFilter::AllData;

    // The COM port settings group with the baud rate caption and field.
    bool lineSettingsEnabled = true;
    // Parity, parity error character, data bits and stop bits with their captions (hidden for
    // "None"), and the two explanations shown instead.
    bool lineFieldsShown = true;
    bool noLinePropertiesShown = false;
    // The signalling level of a Lumo-Tap device.
    bool signalLevelShown = false;
    // The flow control group and its choices (codes 4 and 5 never).
    bool flowControlEnabled = false;
    // The RS485 warning when flow control is available, else a note followed by the link
    // "change communication settings".
    std::string flowControlNote;
    bool flowControlLinkShown = false;
};

// What the project settings dialog's logic asks of its widget.
class ProjectSettingsView {
public:
    virtual ~ProjectSettingsView() = default;
    virtual void showScreen(const ProjectSettingsScreen& screen) = 0;
    virtual void showTab(ProjectSettingsTab tab) = 0;
    virtual void focusField(ProjectSettingsField field) = 0;
};

} // namespace corvane
