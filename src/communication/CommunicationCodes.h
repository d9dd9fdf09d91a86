#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The numbered codes of the communication settings and of the send buttons. Every code that a
// project file or the program settings store keeps its stored number as its value, and is decoded
// from that number here and nowhere else (xFromStored, toStored).
//
// A stored number that names no code is kept as it is, so that a project writes back what it
// read; the users treat such a code like the comment at each enum says. The stores' own rules
// come first: a project file refuses a number beyond 16 bits, the program settings clamp parity,
// data bits and stop bits to the named codes.

// "Send/Receive" on channel 1, or monitoring the traffic between channel 1 and channel 2. An
// unnamed mode monitors (every mode but Send/Receive does).
enum class CommunicationMode : int {
    SendReceive = 0,
    MonitorReceiveOnly = 1,   // "Monitoring (Receive Only)"
    MonitorReceiveModify = 2, // "Monitoring (Receive and Modify)"
};

// What the communication window shows. An unnamed filter shows comments only.
enum class ContentFilter : int {
    AllData = 0,
    Channel1Only = 1, // channel 1 or [TX]
    Channel2Only = 2, // channel 2 or [RX]
    CommentsOnly = 3,
};

// An unnamed parity has no name and so no word in the channel settings string (the channel then
// uses no parity).
enum class Parity : int { Even = 0, Mark = 1, None = 2, Odd = 3, Space = 4 };

// An unnamed count of data bits has no name (the channel then uses 8).
enum class DataBits : int { Four = 0, Five = 1, Six = 2, Seven = 3, Eight = 4 };

// An unnamed count of stop bits has no name (the channel then uses 1).
enum class StopBits : int { One = 0, OneAndHalf = 1, Two = 2 };

// Stored as a text, not a number: see flowControlFromStored.
enum class FlowControl : int {
    None = 0,                // "No Handshaking"
    ManualRtsDtr = 1,        // "Manual RTS/DTR Control"
    RtsCts = 2,              // "RTS/CTS Handshaking"
    XonXoff = 3,             // "XON/XOFF Handshaking"
    RtsCtsXonXoff = 4,       // "RTS/CTS + XON/XOFF"
    RtsCtsSingleByte = 5,    // "RTS/CTS (Single Byte)"
    RtsHighWhileSending = 6, // "RTS high while sending"
};

// What a send button or a send menu item asks for. Not stored.
enum class SendKind : int { Once = 0, StartPeriodic = 1, StopPeriodic = 2 };

constexpr CommunicationMode communicationModeFromStored(int stored) {
    return static_cast<CommunicationMode>(stored);
}
constexpr ContentFilter contentFilterFromStored(int stored) {
    return static_cast<ContentFilter>(stored);
}
constexpr Parity parityFromStored(int stored) {
    return static_cast<Parity>(stored);
}
constexpr DataBits dataBitsFromStored(int stored) {
    return static_cast<DataBits>(stored);
}
constexpr StopBits stopBitsFromStored(int stored) {
    return static_cast<StopBits>(stored);
}

constexpr int toStored(CommunicationMode mode) {
    return static_cast<int>(mode);
}
constexpr int toStored(ContentFilter filter) {
    return static_cast<int>(filter);
}
constexpr int toStored(Parity parity) {
    return static_cast<int>(parity);
}
constexpr int toStored(DataBits dataBits) {
    return static_cast<int>(dataBits);
}
constexpr int toStored(StopBits stopBits) {
    return static_cast<int>(stopBits);
}

// The flow control of a stored text, trimmed of blanks: "0" None, "1" ManualRtsDtr, "2" and "+2"
// RtsCts, "3" and "4" XonXoff, "+0" RtsHighWhileSending, anything else None. (So RtsCtsXonXoff
// and RtsCtsSingleByte read back as XonXoff and RtsCts.)
FlowControl flowControlFromStored(std::string_view text);
// The stored text of a flow control: 0 to 4 as digits, RtsCtsSingleByte "+2",
// RtsHighWhileSending "+0", an unnamed one "0".
std::string toStored(FlowControl flowControl);

} // namespace corvane
