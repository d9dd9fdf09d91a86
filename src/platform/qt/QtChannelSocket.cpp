#include "platform/qt/QtChannelSocket.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

#include <algorithm>
#include <limits>

namespace corvane {

QtChannelSocket::QtChannelSocket(QHostAddress bindAddress) : bindAddress_(std::move(bindAddress)) {}

QtChannelSocket::~QtChannelSocket() {
    listener_ = nullptr;
    close();
}

int QtChannelSocket::errorNumber(int qtSocketError) {
    switch (static_cast<QAbstractSocket::SocketError>(qtSocketError)) {
    case QAbstractSocket::ConnectionRefusedError:
        return kSocketErrorConnectionRefused;
    case QAbstractSocket::RemoteHostClosedError:
        return kSocketErrorConnectionReset;
    case QAbstractSocket::HostNotFoundError:
        return kSocketErrorHostNotFound;
    case QAbstractSocket::SocketAccessError:
        return kSocketErrorAccess;
    case QAbstractSocket::SocketTimeoutError:
        return kSocketErrorTimedOut;
    case QAbstractSocket::DatagramTooLargeError:
        return kSocketErrorMessageSize;
    case QAbstractSocket::NetworkError:
        return kSocketErrorNetworkDown;
    case QAbstractSocket::AddressInUseError:
        return kSocketErrorAddressInUse;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return kSocketErrorAddressNotAvailable;
    default:
        return kSocketErrorGeneral;
    }
}

int QtChannelSocket::failure(int number, const QString& text) {
    error_ = true;
    errorText_ = text.toStdString();
    return number;
}

SocketState QtChannelSocket::state() const {
    if (error_) {
        return SocketState::Error;
    }
    if (server_ && server_->isListening()) {
        return SocketState::Listening;
    }
    if (udp_ && udp_->state() == QAbstractSocket::BoundState) {
        return SocketState::Open;
    }
    if (tcp_) {
        switch (tcp_->state()) {
        case QAbstractSocket::HostLookupState:
        case QAbstractSocket::ConnectingState:
            return SocketState::Connecting;
        case QAbstractSocket::ConnectedState:
            return SocketState::Connected;
        case QAbstractSocket::ClosingState:
            return SocketState::Closing;
        default:
            return SocketState::Closed;
        }
    }
    return SocketState::Closed;
}

void QtChannelSocket::adoptTcp(QTcpSocket* socket) {
    tcp_ = socket;
    socket->setParent(this);
    socket->setReadBufferSize(kTcpReadAheadBytes);
    connect(socket, &QTcpSocket::readyRead, this, [this] {
        if (listener_) {
            listener_->socketDataArrival(*this);
        }
    });
    connect(socket, &QTcpSocket::disconnected, this, [this] {
        // What was read ahead stays takeable after the close (at most kTcpReadAheadBytes).
        if (tcp_) {
            received_.append(tcp_->readAll());
        }
        if (listener_) {
            listener_->socketClosed(*this);
        }
    });
    connect(socket, &QTcpSocket::errorOccurred, this, [this] { onTcpError(); });
}

void QtChannelSocket::onTcpError() {
    if (!tcp_) {
        return;
    }
    QAbstractSocket::SocketError error = tcp_->error();
    if (error == QAbstractSocket::RemoteHostClosedError) {
        // Reported as a close by the disconnected signal.
        return;
    }
    int number = errorNumber(error);
    failure(number, tcp_->errorString());
    if (listener_) {
        listener_->socketError(*this, number, errorText_);
    }
}

int QtChannelSocket::connectTcp(const std::string& host, int port) {
    close();
    adoptTcp(new QTcpSocket(this));
    tcp_->connectToHost(QString::fromStdString(host), static_cast<quint16>(port));
    return 0;
}

int QtChannelSocket::listenTcp(int port) {
    close();
    server_ = new QTcpServer(this);
    if (!server_->listen(bindAddress_, static_cast<quint16>(port))) {
        int number = errorNumber(server_->serverError());
        QString text = server_->errorString();
        server_->deleteLater();
        server_ = nullptr;
        return failure(number, text);
    }
    connect(server_, &QTcpServer::newConnection, this, [this] {
        if (listener_) {
            listener_->socketConnectionRequest(*this);
        } else {
            rejectPendingConnection();
        }
    });
    connect(server_, &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError error) {
        if (listener_) {
            listener_->socketError(*this, errorNumber(error),
                                   server_ ? server_->errorString().toStdString() : "");
        }
    });
    return 0;
}

int QtChannelSocket::acceptFrom(ChannelSocket& listener) {
    auto* other = dynamic_cast<QtChannelSocket*>(&listener);
    if (other == nullptr || !other->server_ || !other->server_->hasPendingConnections()) {
        return kSocketErrorGeneral;
    }
    close();
    adoptTcp(other->server_->nextPendingConnection());
    return 0;
}

void QtChannelSocket::rejectPendingConnection() {
    if (server_ && server_->hasPendingConnections()) {
        QTcpSocket* socket = server_->nextPendingConnection();
        socket->abort();
        socket->deleteLater();
    }
}

int QtChannelSocket::bindUdp(int localPort) {
    close();
    udp_ = new QUdpSocket(this);
    if (!udp_->bind(bindAddress_, static_cast<quint16>(localPort))) {
        int number = errorNumber(udp_->error());
        QString text = udp_->errorString();
        udp_->deleteLater();
        udp_ = nullptr;
        return failure(number, text);
    }
    connect(udp_, &QUdpSocket::readyRead, this, [this] { onUdpReadyRead(); });
    return 0;
}

void QtChannelSocket::onUdpReadyRead() {
    while (udp_ && udp_->hasPendingDatagrams()) {
        QNetworkDatagram datagram = udp_->receiveDatagram();
        received_.append(datagram.data());
    }
    if (listener_ && !received_.isEmpty()) {
        listener_->socketDataArrival(*this);
    }
}

int QtChannelSocket::send(const std::vector<std::uint8_t>& data) {
    if (!tcp_ || tcp_->state() != QAbstractSocket::ConnectedState) {
        return kSocketErrorGeneral;
    }
    if (tcp_->write(reinterpret_cast<const char*>(data.data()), static_cast<qint64>(data.size())) < 0) {
        return failure(errorNumber(tcp_->error()), tcp_->errorString());
    }
    return 0;
}

int QtChannelSocket::sendTo(const std::string& host, int port, const std::vector<std::uint8_t>& data) {
    if (!udp_) {
        return kSocketErrorGeneral;
    }
    QHostAddress address(QString::fromStdString(host));
    if (address.isNull()) {
        // A host name: the first address it resolves to.
        const QList<QHostAddress> addresses = QHostInfo::fromName(QString::fromStdString(host)).addresses();
        if (addresses.isEmpty()) {
            return failure(kSocketErrorHostNotFound, QStringLiteral("Host not found"));
        }
        address = addresses.first();
    }
    if (udp_->writeDatagram(reinterpret_cast<const char*>(data.data()), static_cast<qint64>(data.size()),
                            address, static_cast<quint16>(port)) < 0) {
        return failure(errorNumber(udp_->error()), udp_->errorString());
    }
    return 0;
}

std::vector<std::uint8_t> QtChannelSocket::takeData(std::size_t maxBytes) {
    const auto limit =
        static_cast<qsizetype>(std::min<std::size_t>(maxBytes, std::numeric_limits<int>::max()));
    if (tcp_ && received_.size() < limit) {
        // Reading asks Qt to read from the system again once its read-ahead was full.
        received_.append(tcp_->read(limit - received_.size()));
    }
    const qsizetype count = std::min(limit, received_.size());
    std::vector<std::uint8_t> data(received_.begin(), received_.begin() + count);
    received_.remove(0, count);
    return data;
}

void QtChannelSocket::close() {
    error_ = false;
    received_.clear();
    if (tcp_) {
        QTcpSocket* socket = tcp_;
        tcp_ = nullptr;
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    if (server_) {
        QTcpServer* server = server_;
        server_ = nullptr;
        server->disconnect(this);
        server->close();
        server->deleteLater();
    }
    if (udp_) {
        QUdpSocket* udp = udp_;
        udp_ = nullptr;
        udp->disconnect(this);
        udp->close();
        udp->deleteLater();
    }
}

} // namespace corvane
