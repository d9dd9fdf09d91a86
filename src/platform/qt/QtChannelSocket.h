#pragma once

#include "platform/ChannelSocket.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>

class QTcpServer;
class QTcpSocket;
class QUdpSocket;

namespace corvane {

// A channel socket on QtNetwork: a TCP data socket (QTcpSocket), a listening socket (QTcpServer)
// or a UDP socket (QUdpSocket), whichever operation the channel starts. Events are delivered in
// the thread that owns the socket, from Qt's event processing. A TCP socket reads ahead only a
// bounded amount; what the channel doesn't take waits in the system.
class QtChannelSocket : public QObject, public ChannelSocket {
    Q_OBJECT
public:
    explicit QtChannelSocket(QHostAddress bindAddress = QHostAddress::Any);
    ~QtChannelSocket() override;

    void setListener(SocketEvents* listener) override { listener_ = listener; }
    SocketState state() const override;
    int connectTcp(const std::string& host, int port) override;
    int listenTcp(int port) override;
    int acceptFrom(ChannelSocket& listener) override;
    void rejectPendingConnection() override;
    int bindUdp(int localPort) override;
    int send(const std::vector<std::uint8_t>& data) override;
    int sendTo(const std::string& host, int port, const std::vector<std::uint8_t>& data) override;
    std::vector<std::uint8_t> takeData(std::size_t maxBytes) override;
    void close() override;
    std::string errorText() const override { return errorText_; }

    // The socket error number of a QtNetwork error.
    static int errorNumber(int qtSocketError);
    // The most a TCP socket reads ahead of takeData; the rest stays in the system, so that a
    // sender is held back while the channel takes nothing.
    static constexpr qint64 kTcpReadAheadBytes = 256 * 1024;

private:
    void adoptTcp(QTcpSocket* socket);
    void onTcpError();
    void onUdpReadyRead();
    int failure(int number, const QString& text);

    QHostAddress bindAddress_;
    SocketEvents* listener_ = nullptr;
    QPointer<QTcpSocket> tcp_;
    QPointer<QTcpServer> server_;
    QPointer<QUdpSocket> udp_;
    QByteArray received_;
    bool error_ = false;
    std::string errorText_;
};

class QtSocketFactory : public SocketFactory {
public:
    // Servers and UDP sockets bind to bindAddress (all interfaces by default).
    explicit QtSocketFactory(QHostAddress bindAddress = QHostAddress::Any) : bindAddress_(bindAddress) {}
    std::unique_ptr<ChannelSocket> createSocket() override {
        return std::make_unique<QtChannelSocket>(bindAddress_);
    }

private:
    QHostAddress bindAddress_;
};

} // namespace corvane
