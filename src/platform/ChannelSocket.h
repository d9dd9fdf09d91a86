#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvane {

// Socket error numbers (the Windows Sockets numbers the channel's messages are keyed by).
inline constexpr int kSocketErrorAccess = 10013;
inline constexpr int kSocketErrorMessageSize = 10040;
inline constexpr int kSocketErrorAddressInUse = 10048;
inline constexpr int kSocketErrorAddressNotAvailable = 10049;
inline constexpr int kSocketErrorNetworkDown = 10050;
inline constexpr int kSocketErrorConnectionReset = 10054;
inline constexpr int kSocketErrorTimedOut = 10060;
inline constexpr int kSocketErrorConnectionRefused = 10061;
inline constexpr int kSocketErrorHostUnreachable = 10065;
inline constexpr int kSocketErrorHostNotFound = 11001;
inline constexpr int kSocketErrorGeneral = 10000;

enum class SocketState { Closed, Open, Listening, Connecting, Connected, Closing, Error };

class ChannelSocket;

// Receives the events of a socket. They arrive on the thread that runs the socket's event
// processing (the main thread).
class SocketEvents {
public:
    virtual ~SocketEvents() = default;
    virtual void socketDataArrival(ChannelSocket& socket) = 0;
    virtual void socketConnectionRequest(ChannelSocket& socket) = 0;
    virtual void socketClosed(ChannelSocket& socket) = 0;
    virtual void socketError(ChannelSocket& socket, int number, const std::string& description) = 0;
};

// One socket of a network channel: a TCP data socket, a TCP listening socket or a UDP socket.
// The operations return 0 when started or done, else a socket error number (see errorText).
class ChannelSocket {
public:
    virtual ~ChannelSocket() = default;
    virtual void setListener(SocketEvents* listener) = 0;
    virtual SocketState state() const = 0;

    // Starts connecting to host:port (connection or error are reported later).
    virtual int connectTcp(const std::string& host, int port) = 0;
    virtual int listenTcp(int port) = 0;
    // Takes over the oldest pending connection of a listening socket.
    virtual int acceptFrom(ChannelSocket& listener) = 0;
    // Drops the oldest pending connection of a listening socket.
    virtual void rejectPendingConnection() = 0;
    // Binds a UDP socket to localPort (0: any) for the peer remoteHost:remotePort.
    virtual int bindUdp(int localPort) = 0;

    // Sends on a connected TCP socket.
    virtual int send(const std::vector<std::uint8_t>& data) = 0;
    // Sends a UDP datagram.
    virtual int sendTo(const std::string& host, int port, const std::vector<std::uint8_t>& data) = 0;
    // Takes at most maxBytes of what has arrived, oldest first. A TCP socket leaves the rest in
    // the system, which holds the sender back; fewer than maxBytes means nothing more is there
    // now (a later data arrival event tells of more).
    virtual std::vector<std::uint8_t> takeData(std::size_t maxBytes) = 0;
    virtual void close() = 0;
    // Description of the last error.
    virtual std::string errorText() const = 0;
};

class SocketFactory {
public:
    virtual ~SocketFactory() = default;
    virtual std::unique_ptr<ChannelSocket> createSocket() = 0;
};

} // namespace corvane
