#pragma once

namespace corvane {

// The kind of endpoint a communication channel is, from the beginning of its settings string.
// Not stored: the settings string is.
enum class ChannelType : int {
    Com = 0,       // "COM1" .. "COM256": a local serial port
    TcpClient = 1, // "host:port"
    TcpServer = 2, // "SERVER:port"
    Udp = 3,       // "UDP:host:port[:local port]" or "UDP:local port"
    Tap = 4,       // "TAP0" ..: a USB monitoring tap
    Vtp = 5,       // "VTP0" ..: a port of a dual-port tap device (Kito-Tap Pro, Lumo-Tap)
};

// The state of a communication channel.
enum class ChannelStatus : int {
    Closed = 0,
    Open = 1,
    IllegalSettings = 2,
    Error = 3,
    InputOverflow = 4, // open, but its input buffer overflowed
};

} // namespace corvane
