// The network kinds of the communication channel: TCP client, TCP server and UDP peer.
#include "communication/ClCommChannel.h"

#include <algorithm>
#include <limits>

namespace corvane {

namespace {

// Everything a socket holds (a UDP socket, what a closed TCP socket read ahead).
constexpr std::size_t kMaxSocketTake = std::numeric_limits<std::size_t>::max();

// The address a host setting connects to.
std::string connectAddress(const std::string& host) {
    return (host == "LOCALHOST" || host == "LOCALIP") ? "127.0.0.1" : host;
}

// A socket standing in when the program has no network support: every operation fails.
class UnavailableSocket : public ChannelSocket {
public:
    void setListener(SocketEvents*) override {}
    SocketState state() const override { return SocketState::Closed; }
    int connectTcp(const std::string&, int) override { return kSocketErrorNetworkDown; }
    int listenTcp(int) override { return kSocketErrorNetworkDown; }
    int acceptFrom(ChannelSocket&) override { return kSocketErrorNetworkDown; }
    void rejectPendingConnection() override {}
    int bindUdp(int) override { return kSocketErrorNetworkDown; }
    int send(const std::vector<std::uint8_t>&) override { return kSocketErrorNetworkDown; }
    int sendTo(const std::string&, int, const std::vector<std::uint8_t>&) override {
        return kSocketErrorNetworkDown;
    }
    std::vector<std::uint8_t> takeData(std::size_t) override { return {}; }
    void close() override {}
    std::string errorText() const override { return "Network is down"; }
};

// The messages of the socket errors a user can do something about; empty for the others.
std::string knownSocketErrorText(int number) {
    if (number == kSocketErrorAccess) {
        return "Permission denied. Check your PC's network and firewall settings.";
    }
    if (number == kSocketErrorAddressInUse) {
        return "IP Address / port in use. Check if another server / Corvane application is blocking this "
               "port. Try "
               "also restarting Corvane Studio. It may take up to 4 minutes until a port is actually "
               "released and "
               "available again! (See the Online Help for more information.)";
    }
    return {};
}

} // namespace

ChannelSocket& ClCommChannel::dataSocket() {
    if (!dataSocket_) {
        dataSocket_ = socketFactory_ ? socketFactory_->createSocket() : nullptr;
        if (!dataSocket_) {
            dataSocket_ = std::make_unique<UnavailableSocket>();
        }
        dataSocket_->setListener(this);
    }
    return *dataSocket_;
}

ChannelSocket& ClCommChannel::listenSocket() {
    if (!listenSocket_) {
        listenSocket_ = socketFactory_ ? socketFactory_->createSocket() : nullptr;
        if (!listenSocket_) {
            listenSocket_ = std::make_unique<UnavailableSocket>();
        }
        listenSocket_->setListener(this);
    }
    return *listenSocket_;
}

void ClCommChannel::releaseSockets() {
    if (dataSocket_) {
        dataSocket_->setListener(nullptr);
        dataSocket_->close();
        dataSocket_.reset();
    }
    if (listenSocket_) {
        listenSocket_->setListener(nullptr);
        listenSocket_->close();
        listenSocket_.reset();
    }
}

std::int64_t ClCommChannel::secondsSinceMidnight() {
    return clock_->timeOfDayMs() / 1000;
}

void ClCommChannel::networkRunTimeFailure(int number, const std::string& description) {
    open_ = false;
    std::string text = knownSocketErrorText(number);
    if (text.empty()) {
        text = description + " (#" + std::to_string(number) + ")";
    }
    setError(ChannelStatus::Error, text, number);
    if (dataSocket_) {
        dataSocket_->close();
    }
    if (listenSocket_) {
        listenSocket_->close();
    }
}

bool ClCommChannel::openNetwork() {
    const std::string busyText = "TCP/IP connection still busy";
    switch (type_) {
    case ChannelType::TcpClient: {
        if (dataSocket().state() != SocketState::Closed) {
            setError(ChannelStatus::Error, busyText, -1);
            return false;
        }
        std::string host;
        int port = 0;
        if (!checkTCPClientSettings(settings_, host, port)) {
            setError(ChannelStatus::IllegalSettings, "Illegal TCP/IP settings.", -1);
            return false;
        }
        connectHost_ = connectAddress(host);
        connectPort_ = port;
        lastConnectTime_ = secondsSinceMidnight();
        int result = dataSocket().connectTcp(connectHost_, connectPort_);
        if (result != 0) {
            networkRunTimeFailure(result, dataSocket().errorText());
            return false;
        }
        break;
    }
    case ChannelType::TcpServer: {
        dataSocket();
        if (listenSocket().state() != SocketState::Closed && dataSocket().state() != SocketState::Error) {
            setError(ChannelStatus::Error, busyText, -1);
            return false;
        }
        int port = 0;
        if (!checkServerSettings(settings_, port)) {
            setError(ChannelStatus::IllegalSettings, "Illegal TCP/IP settings.", -1);
            return false;
        }
        listenSocket().close();
        int result = listenSocket().listenTcp(port);
        if (result != 0) {
            networkRunTimeFailure(result, listenSocket().errorText());
            return false;
        }
        dataSocket().close();
        break;
    }
    case ChannelType::Udp: {
        if (dataSocket().state() != SocketState::Closed) {
            setError(ChannelStatus::Error, busyText, -1);
            return false;
        }
        std::string host;
        int remote = 0;
        int local = 0;
        if (!checkUDPSettings(settings_, host, remote, local)) {
            setError(ChannelStatus::IllegalSettings, "Illegal TCP/IP settings.", -1);
            return false;
        }
        int result = dataSocket().bindUdp(local);
        if (result != 0) {
            networkRunTimeFailure(result, dataSocket().errorText());
            return false;
        }
        udpPeerHost_ = host.empty() ? std::string() : connectAddress(host);
        udpPeerPort_ = remote;
        break;
    }
    default:
        return false;
    }
    open_ = true;
    status_ = ChannelStatus::Open;
    return true;
}

void ClCommChannel::fetchSocketData() {
    socketInputWaiting_ = false;
    if (!dataSocket_) {
        return;
    }
    SocketState state = dataSocket_->state();
    bool connected = type_ == ChannelType::Udp ? state == SocketState::Open : state == SocketState::Connected;
    if (connected) {
        if (queueId_ == 0) {
            std::vector<std::uint8_t> bytes = dataSocket_->takeData(kMaxSocketTake);
            if (input_.size() + bytes.size() > static_cast<std::size_t>(kMaxInputWords)) {
                status_ = ChannelStatus::InputOverflow;
            }
            input_.insert(input_.end(), bytes.begin(), bytes.end());
        } else if (type_ == ChannelType::Udp) {
            // A datagram sender can't be held back: everything is queued as it comes.
            queueBytes(dataSocket_->takeData(kMaxSocketTake));
        } else {
            queueTcpData();
        }
    } else if (state == SocketState::Closing) {
        setError(ChannelStatus::Error, "Peer is closing the connection.", -1);
        dataSocket_->close();
    } else if (state == SocketState::Error) {
        setError(ChannelStatus::Error, "TCP/IP error.", -1);
        dataSocket_->close();
    }
}

void ClCommChannel::queueTcpData() {
    const int admitted = library_.libRXQueueAdmissible(queueId_, kTcpBytesPerTake);
    if (admitted <= 0) {
        // The queue is full enough: the data stays in the socket and the sender waits.
        socketInputWaiting_ = true;
        return;
    }
    std::vector<std::uint8_t> bytes = dataSocket_->takeData(static_cast<std::size_t>(admitted));
    // All that was asked for came: more may be there without a new arrival event.
    socketInputWaiting_ = bytes.size() == static_cast<std::size_t>(admitted);
    queueBytes(bytes);
}

void ClCommChannel::queueBytes(const std::vector<std::uint8_t>& bytes) {
    for (std::size_t offset = 0; offset < bytes.size(); offset += kSerialBufferSize) {
        int n = static_cast<int>(std::min<std::size_t>(bytes.size() - offset, kSerialBufferSize));
        library_.libRXQueueWriteBytes(bytes.data() + offset, n, queueId_);
    }
    if (library_.libRXQueueStatus() == 2) {
        status_ = ChannelStatus::InputOverflow;
    }
}

void ClCommChannel::takeWaitingInput() {
    if (socketInputWaiting_) {
        // Set again by the fetch while data still waits.
        socketInputWaiting_ = false;
        processIncomingData();
    }
}

void ClCommChannel::socketDataArrival(ChannelSocket& socket) {
    if (&socket == dataSocket_.get()) {
        processIncomingData();
    }
}

void ClCommChannel::socketConnectionRequest(ChannelSocket& socket) {
    if (&socket != listenSocket_.get()) {
        return;
    }
    bool shuttingDown = shuttingDown_ && shuttingDown_();
    if (dataSocket().state() == SocketState::Closed && !shuttingDown) {
        int result = dataSocket().acceptFrom(socket);
        if (result != 0) {
            socket.rejectPendingConnection();
        }
    } else {
        // One connection at a time: further requests are turned away.
        socket.rejectPendingConnection();
    }
}

void ClCommChannel::socketClosed(ChannelSocket& socket) {
    if (&socket != dataSocket_.get()) {
        return;
    }
    if (open_ && queueId_ != 0) {
        // The last data read ahead before the close; nothing more can come, so it is queued
        // whatever the queue's fill (it is bounded by the socket's read-ahead).
        queueBytes(socket.takeData(kMaxSocketTake));
    }
    socketInputWaiting_ = false;
    socket.close();
    if (type_ == ChannelType::TcpClient) {
        setError(ChannelStatus::Error, "TCP/IP connection closed by the remote computer", -1);
    }
}

void ClCommChannel::socketError(ChannelSocket& socket, int number, const std::string& description) {
    if (&socket == listenSocket_.get()) {
        socket.close();
        return;
    }
    if (&socket != dataSocket_.get()) {
        return;
    }
    socket.close();
    std::string text = knownSocketErrorText(number);
    if (text.empty()) {
        text = "TCP/IP error - " + description + " (#" + std::to_string(number) + ")";
    }
    setError(ChannelStatus::Error, text, -1);
}

} // namespace corvane
