#pragma once

#include "communication/ChannelCodes.h"
#include "communication/CommWindowFormat.h"
#include "communication/CommunicationCodes.h"

#include <cstdint>
#include <string>

namespace corvane {

// What the status bar needs to know of one channel.
struct ChannelStatusView {
    ChannelStatus status = ChannelStatus::Closed;
    ChannelType type = ChannelType::Com;
    bool readyForTransmission = true;
    std::string shortName;
    std::string settings;
};

// Snapshot state as the status text reads it: once triggered, taking while the mode is on,
// complete after it ended.
struct SnapshotStatusView {
    bool modeOn = false;
    bool triggered = false;
};

// Panel 1: the status text of the communication.
std::string communicationStatusText(CommunicationMode communicationMode, const ChannelStatusView& channel1,
                                    const ChannelStatusView& channel2, const SnapshotStatusView& snapshot);

// Panel 2: "Colors&Fonts Mode" for formatted output, else "Plain Text Mode".
std::string windowFormatPanelText(CommWindowFormat format);

// Panel 3: two blanks, the channel text, two blanks.
std::string channelPanelText(CommunicationMode communicationMode, const std::string& channel1,
                             const std::string& channel2);

// Panel 4: "No Serial Settings" or "9600, None, 8, 1".
std::string serialPanelText(bool hasSerialParameters, std::int32_t baudRate, Parity parity, DataBits dataBits,
                            StopBits stopBits);

// Panel 5 and the line indicator strip.
struct FlowPanel {
    bool visible = false;
    bool tapDeviceMode = false;
    bool indicatorsVisible = false;
    std::string text;
    std::string rtsToolTip;
    std::string dtrToolTip;
};
FlowPanel flowControlPanel(CommunicationMode communicationMode, FlowControl flowControl,
                           ChannelType channel1Type, bool hasSerialParameters);

// The deferred command a double click on a panel (1 to 5) posts; empty for panel 1, which starts
// or stops communication at once.
std::string panelDoubleClickCommand(int panel, bool tapDeviceMode);

// The activity icon (numbers 1 to 10), ticked every 603 ms.
class ActivityIcon {
public:
    static constexpr int kIntervalMs = 603;

    // Returns the icon to show now; clears the activity flags it has shown.
    int tick(bool communicationStopped, bool receiveOnlyMonitoring, bool& flag0, bool& flag1);
    int current() const { return current_; }

private:
    int current_ = 5;
};

// One state of the six modem line indicators (RTS, DTR, CTS, DSR, DCD, RI).
struct LineStates {
    bool rts = false, dtr = false, cts = false, dsr = false, dcd = false, ri = false;
    bool operator==(const LineStates&) const = default;
};
// The lines from the status word of the last packet; RTS and DTR from it only in tap device mode,
// else from the values the program set on channel 1.
LineStates lineStatesOf(std::uint16_t statusWord, bool tapDeviceMode, bool channelRts, bool channelDtr);

} // namespace corvane
