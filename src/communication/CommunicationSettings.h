#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// The communication settings of the current project: one set in the program at a time. The
// channel configuration turns them into the two channel settings strings; the project file and
// the program settings store them.
struct CommunicationSettings {
    // 0 "Send/Receive", 1 "Monitoring (Receive Only)", 2 "Monitoring (Receive and Modify)".
    int communicationMode = 0;
    // Settings strings of channel 1 and channel 2, for example "COM1" or "TAP0".
    std::string channelA = "COM1";
    std::string channelB = "COM2";
    // 0 to 9 999 999; 0 sets no line properties when the port is opened.
    std::int32_t baudRate = 9600;
    // 0 Even, 1 Mark, 2 None, 3 Odd, 4 Space.
    int parity = 2;
    // Replaces a byte received with a parity error, 0 to 255.
    int parityErrorCharacter = 63;
    // 0 = 4, 1 = 5, 2 = 6, 3 = 7, 4 = 8 data bits.
    int dataBits = 4;
    // 0 = 1, 1 = 1.5, 2 = 2 stop bits.
    int stopBits = 0;
    // 0 No Handshaking, 1 Manual RTS/DTR Control, 2 RTS/CTS Handshaking, 3 XON/XOFF Handshaking,
    // 4 RTS/CTS + XON/XOFF, 5 RTS/CTS (Single Byte), 6 RTS high while sending.
    int flowControl = 0;
    // 0 all data, 1 channel 1 or [TX] only, 2 channel 2 or [RX] only, 3 comments only.
    int contentFilter = 0;
    // 0 "0-RS232/TTL", 1 "1-RS422/485", 2 "2-Inverted".
    int tapSignallingLevel = 0;

    bool operator==(const CommunicationSettings&) const = default;
};

} // namespace corvane
