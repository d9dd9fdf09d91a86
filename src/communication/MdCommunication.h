#pragma once

#include "communication/ClCommChannel.h"
#include "communication/CommunicationHooks.h"
#include "communication/CommunicationSettings.h"
#include "communication/ExpertOptions.h"
#include "platform/MessageService.h"
#include "platform/SerialFunctionLibrary.h"
#include "platform/SystemClock.h"

#include <array>
#include <cstdint>
#include <string>

namespace corvane {

// The per-run state that the receive processing, the send processing and the data output start
// from; set at each start of communication.
struct CommunicationRunState {
    std::string pendingComment;
    bool snapshotTriggered = false;
    bool headerRequest = false;
    bool snapshotRequest = false;
    std::int64_t lastTimeStampTime = -86400000;
    std::int64_t lastDataTime = -86400000;
    int lastDirection = -1;
    std::int64_t pendingWait = 100000000;
    bool paritySwitched = false;
    // Milliseconds per bit on channel 1 (four decimals), 0 when not a serial port with line settings.
    double bitTime = 0;
    // "[TX] - " / "[RX] - ", or the two channel names in the monitoring modes.
    std::array<std::string, 2> directionTags{"[TX] - ", "[RX] - "};
};

// Channel configuration, open and close: turns the project's communication settings into the
// settings strings of the two channels, and starts and stops communication.
class MdCommunication {
public:
    static constexpr const char* kModule = "MdCommunication";
    static constexpr const char* kHighPriorityTitle = "Expert Options: High Priority Mode";

    MdCommunication(SerialFunctionLibrary& library, ClCommChannel& channel1, ClCommChannel& channel2,
                    CommunicationSettings& settings, ExpertOptions& expertOptions, MessageService& messages,
                    SystemClock& clock, CommunicationHooks* hooks = nullptr);

    std::string setupCommChannelObjects(int channelIndex);
    bool CommunicationPortInit(int channelIndex);
    void CommunicationPortClose(int channelIndex);
    void startCommunication();
    void stopCommunication();

    bool communicationStopped() const { return communicationStopped_; }
    const CommunicationRunState& runState() const { return runState_; }
    CommunicationRunState& runState() { return runState_; }
    ClCommChannel& channel(int index) { return index == 0 ? channel1_ : channel2_; }
    bool monitoring() const { return settings_.communicationMode != CommunicationMode::SendReceive; }

    // The flow-control word of the settings strings ("OFF", "RTSCTS", "XONXOFF", "RTSSEND").
    std::string flowControlWord() const;
    // The line settings part of the settings strings ("None" without a baud rate).
    std::string lineSettings() const;

private:
    void buildDirectionTags();
    double bitTimeOfChannel1();
    // The channel name the settings string of a channel index will give.
    std::string plannedChannelName(int channelIndex);
    ChannelType plannedChannelType(int channelIndex);
    void waitForTransmitBuffer();
    void endStart();

    SerialFunctionLibrary& library_;
    ClCommChannel& channel1_;
    ClCommChannel& channel2_;
    CommunicationSettings& settings_;
    ExpertOptions& expertOptions_;
    MessageService& messages_;
    SystemClock& clock_;
    CommunicationHooks defaultHooks_;
    CommunicationHooks* hooks_;
    bool communicationStopped_ = true;
    CommunicationRunState runState_;
};

} // namespace corvane
