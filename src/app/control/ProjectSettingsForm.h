#pragma once

#include "app/control/ProjectSettingsView.h"
#include "communication/ClCommChannel.h"
#include "communication/CommunicationSettings.h"

#include <array>
#include <string>

namespace corvane {

class MdTapSupport;
class MessageService;
class SerialFunctionLibrary;
class SerialPortDirectory;

// The project settings dialog apart from its widgets: a copy of the communication settings, the
// two channel fields checked through scratch channel objects, the baud rate and parity error
// character checks, the control states and the checks of OK in their order. The widget shows
// the screen it is handed and forwards what the user does.
class ProjectSettingsForm {
public:
    struct Services {
        MessageService& messages;
        // For the scratch channel objects (never opened) and whether a COM port exists.
        SerialFunctionLibrary& library;
        SerialPortDirectory& ports;
        // The USB monitoring taps; none when missing.
        MdTapSupport* taps = nullptr;
    };

    ProjectSettingsForm(Services services, const CommunicationSettings& current);

    // The view hears of every change; without one the form still works (tests).
    void setView(ProjectSettingsView* view) { view_ = view; }
    // Fills the lists, detects the taps and shows the copy of the settings on the communication tab.
    void open();
    const ProjectSettingsScreen& screen() const { return screen_; }

    // The communication mode: Send/Receive or "Monitoring (receive only)".
    void chooseMonitoring(bool monitoring);

    // Channel fields (0 channel 1, 1 channel 2): typed text, the check on leaving the field, and
    // an entry chosen from the list.
    void editChannel(int channel, const std::string& text);
    bool checkChannel(int channel);
    void chooseChannelEntry(int channel, int index);

    void editBaudRate(const std::string& text);
    void chooseBaudRateEntry(int index);
    bool checkBaudRate();

    void editParityErrorCharacter(const std::string& text);
    bool checkParityErrorCharacter();

    void chooseParity(int position);
    void chooseDataBits(int position);
    void chooseStopBits(int position);
    void chooseSignalLevel(int position);
    void chooseFlowControl(FlowControl code);
    void chooseContentFilter(ContentFilter filter);

    // Runs the checks of OK; true when they all passed and result() holds the new settings.
    bool ok();
    bool accepted() const { return accepted_; }
    const CommunicationSettings& result() const { return result_; }

    // Ctrl+Tab and Ctrl+Shift+Tab: the tab after (before) the current one, round the end.
    static int nextTab(int current, bool backwards);

private:
    bool isType(int channel, ChannelType type) const;
    bool isDevicePort(int channel) const;
    bool lumoTapInUse() const;
    bool tapInUse() const;
    bool linePropertiesAvailable() const;
    bool linePropertiesActive() const;
    bool flowControlAvailable() const;
    void buildChannelLists();
    std::vector<ChannelListEntry> channelList(int channel) const;
    void recompute();
    void warn(const std::string& text);
    bool ask(const std::string& text);
    void failAt(ProjectSettingsTab tab, ProjectSettingsField field, bool focus);
    bool checkPendingFields();
    bool checkOkBaudRate(std::int32_t rate, bool failed);
    void takeResult(std::int32_t rate);

    Services services_;
    CommunicationSettings settings_;
    ProjectSettingsView* view_ = nullptr;
    ProjectSettingsScreen screen_;
    ClCommChannel& scratch(int channel) { return channel == 0 ? scratch1_ : scratch2_; }
    const ClCommChannel& scratch(int channel) const { return channel == 0 ? scratch1_ : scratch2_; }
    std::string& channelText(int channel) {
        return channel == 0 ? screen_.channel1Text : screen_.channel2Text;
    }

    ClCommChannel scratch1_;
    ClCommChannel scratch2_;
    int parityErrorCharacter_ = 63;
    // Fields typed into and not checked yet.
    std::array<bool, 2> channelPending_{};
    bool baudRatePending_ = false;
    bool parityErrorPending_ = false;
    bool accepted_ = false;
    CommunicationSettings result_;
};

} // namespace corvane
