#pragma once

#include "communication/CommunicationCodes.h"

#include <cstdint>
#include <string>

namespace corvane {

// The communication settings of the current project: one set in the program at a time. The
// channel configuration turns them into the two channel settings strings; the project file and
// the program settings store them.
struct CommunicationSettings {
    CommunicationMode communicationMode = CommunicationMode::SendReceive;
    // Settings strings of channel 1 and channel 2, for example "COM1" or "TAP0".
    std::string channelA = "COM1";
    std::string channelB = "COM2";
    // 0 to 9 999 999; 0 sets no line properties when the port is opened.
    std::int32_t baudRate = 9600;
    Parity parity = Parity::None;
    // Replaces a byte received with a parity error, 0 to 255.
    int parityErrorCharacter = 63;
    DataBits dataBits = DataBits::Eight;
    StopBits stopBits = StopBits::One;
    FlowControl flowControl = FlowControl::None;
    ContentFilter contentFilter = ContentFilter::AllData;
    // 0 "0-RS232/TTL", 1 "1-RS422/485", 2 "2-Inverted".
    int tapSignallingLevel = 0;

    bool operator==(const CommunicationSettings&) const = default;
};

} // namespace corvane
