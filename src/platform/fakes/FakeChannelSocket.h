#pragma once

#include "platform/ChannelSocket.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace corvane {

// A socket in memory. Tests drive its state and events by hand.
class FakeChannelSocket : public ChannelSocket {
public:
    void setListener(SocketEvents* listener) override { listener_ = listener; }
    SocketState state() const override { return state_; }
    int connectTcp(const std::string& host, int port) override {
        calls.push_back("connect " + host + ":" + std::to_string(port));
        if (failWith != 0) {
            return failWith;
        }
        state_ = SocketState::Connecting;
        return 0;
    }
    int listenTcp(int port) override {
        calls.push_back("listen " + std::to_string(port));
        if (failWith != 0) {
            return failWith;
        }
        state_ = SocketState::Listening;
        return 0;
    }
    int acceptFrom(ChannelSocket& listener) override {
        auto* fake = static_cast<FakeChannelSocket*>(&listener);
        if (fake->pendingConnections == 0) {
            return kSocketErrorGeneral;
        }
        --fake->pendingConnections;
        calls.push_back("accept");
        state_ = SocketState::Connected;
        return 0;
    }
    void rejectPendingConnection() override {
        if (pendingConnections > 0) {
            --pendingConnections;
            ++rejected;
        }
    }
    int bindUdp(int localPort) override {
        calls.push_back("bind " + std::to_string(localPort));
        if (failWith != 0) {
            return failWith;
        }
        state_ = SocketState::Open;
        return 0;
    }
    int send(const std::vector<std::uint8_t>& data) override {
        sent.push_back(data);
        return 0;
    }
    int sendTo(const std::string& host, int port, const std::vector<std::uint8_t>& data) override {
        calls.push_back("sendTo " + host + ":" + std::to_string(port));
        sent.push_back(data);
        return 0;
    }
    std::vector<std::uint8_t> takeData(std::size_t maxBytes) override {
        const auto count = static_cast<std::ptrdiff_t>(std::min(maxBytes, incoming.size()));
        std::vector<std::uint8_t> data(incoming.begin(), incoming.begin() + count);
        incoming.erase(incoming.begin(), incoming.begin() + count);
        takes.push_back(maxBytes);
        return data;
    }
    void close() override {
        if (state_ != SocketState::Closed) {
            calls.push_back("close");
        }
        state_ = SocketState::Closed;
    }
    std::string errorText() const override { return errorDescription; }

    // Test controls.
    void setState(SocketState state) { state_ = state; }
    void arrive(const std::vector<std::uint8_t>& data) {
        incoming.insert(incoming.end(), data.begin(), data.end());
        if (listener_) {
            listener_->socketDataArrival(*this);
        }
    }
    void requestConnection() {
        ++pendingConnections;
        if (listener_) {
            listener_->socketConnectionRequest(*this);
        }
    }
    void remoteClose() {
        if (listener_) {
            listener_->socketClosed(*this);
        }
    }
    void raiseError(int number, const std::string& description) {
        state_ = SocketState::Error;
        if (listener_) {
            listener_->socketError(*this, number, description);
        }
    }

    int failWith = 0;
    std::string errorDescription = "Fake failure";
    int pendingConnections = 0;
    int rejected = 0;
    std::vector<std::string> calls;
    std::vector<std::vector<std::uint8_t>> sent;
    std::deque<std::uint8_t> incoming;
    std::vector<std::size_t> takes; // maxBytes of every takeData

private:
    SocketEvents* listener_ = nullptr;
    SocketState state_ = SocketState::Closed;
};

// Hands out fake sockets and keeps a pointer to each (the channel owns them).
class FakeSocketFactory : public SocketFactory {
public:
    std::unique_ptr<ChannelSocket> createSocket() override {
        auto socket = std::make_unique<FakeChannelSocket>();
        socket->failWith = nextFailure;
        created.push_back(socket.get());
        return socket;
    }
    int nextFailure = 0;
    std::vector<FakeChannelSocket*> created;
};

} // namespace corvane
