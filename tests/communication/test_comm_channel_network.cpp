#include "communication/ClCommChannel.h"
#include "platform/fakes/FakeChannelSocket.h"
#include "platform/fakes/FakeSerialFunctionLibrary.h"
#include "platform/fakes/FakeSystemClock.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

class NetworkChannelTest : public ::testing::Test {
protected:
    FakeChannelSocket& data() { return *sockets.created.at(0); }
    FakeChannelSocket& listener() { return *sockets.created.at(1); }

    FakeSerialFunctionLibrary library;
    FakeSocketFactory sockets;
    FakeSystemClock clock;
    ClCommChannel channel{library, &sockets, &clock};
};

TEST_F(NetworkChannelTest, ClientConnectsToLocalhostAndSendsLowBytes) {
    channel.setChannelSettings("LOCALIP:502");
    EXPECT_EQ(channel.channelSettings(), "LOCALHOST:502");
    ASSERT_TRUE(channel.openChannel());
    EXPECT_EQ(data().calls.at(0), "connect 127.0.0.1:502");
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Open);

    std::vector<CharCode> words = {'A', 0x141, -1};
    EXPECT_FALSE(channel.transmitData(words, 0, 2)) << "still connecting";
    data().setState(SocketState::Connected);
    EXPECT_TRUE(channel.readyForTransmission());
    EXPECT_TRUE(channel.transmitData(words, 0, 2));
    EXPECT_EQ(data().sent.back(), (std::vector<std::uint8_t>{'A', 0x41, 0xFF}));
    EXPECT_TRUE(channel.transmitBufferEmpty());
}

TEST_F(NetworkChannelTest, ClientReconnectsAfterTwoSeconds) {
    channel.setChannelSettings("10.0.0.1:3001");
    ASSERT_TRUE(channel.openChannel());
    data().setState(SocketState::Closed);
    std::vector<CharCode> words = {'x'};
    clock.nowMs += 1000;
    EXPECT_FALSE(channel.transmitData(words, 0, 0));
    EXPECT_EQ(data().calls.size(), 1u) << "the last attempt is too recent";
    clock.nowMs += 2500;
    EXPECT_FALSE(channel.transmitData(words, 0, 0));
    EXPECT_EQ(data().calls.back(), "connect 10.0.0.1:3001");
}

TEST_F(NetworkChannelTest, BusySocketAndRunTimeFailures) {
    channel.setChannelSettings("10.0.0.1:3001");
    ASSERT_TRUE(channel.openChannel());
    channel.closeChannel();
    data().setState(SocketState::Closing);
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastError(), "TCP/IP connection still busy");
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Error);

    data().setState(SocketState::Closed);
    data().failWith = kSocketErrorAddressInUse;
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastErrNum(), kSocketErrorAddressInUse);
    EXPECT_EQ(channel.channelLastError().rfind("IP Address / port in use.", 0), 0u);
    data().failWith = kSocketErrorAccess;
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastError(),
              "Permission denied. Check your PC's network and firewall settings.");
    data().failWith = kSocketErrorHostNotFound;
    data().errorDescription = "Host not found";
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastError(), "Host not found (#11001)");
    EXPECT_FALSE(channel.IsOpen());
}

TEST_F(NetworkChannelTest, RemoteCloseAndErrorsOfTheDataSocket) {
    channel.setChannelSettings("LOCALHOST:23");
    ASSERT_TRUE(channel.openChannel());
    data().setState(SocketState::Connected);
    data().remoteClose();
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Error);
    EXPECT_EQ(channel.channelLastError(), "TCP/IP connection closed by the remote computer");
    EXPECT_EQ(channel.channelLastErrNum(), -1);
    EXPECT_EQ(data().state(), SocketState::Closed);

    channel.clearChannelErrors();
    data().raiseError(kSocketErrorConnectionRefused, "Connection refused");
    EXPECT_EQ(channel.channelLastError(), "TCP/IP error - Connection refused (#10061)");
    EXPECT_EQ(channel.channelLastErrNum(), -1);
    data().raiseError(kSocketErrorAddressInUse, "in use");
    EXPECT_EQ(channel.channelLastError().rfind("IP Address / port in use.", 0), 0u);
}

TEST_F(NetworkChannelTest, ServerAcceptsOneConnectionAtATime) {
    bool shuttingDown = false;
    channel.setShutdownQuery([&] { return shuttingDown; });
    channel.setChannelSettings("SERVER:");
    ASSERT_TRUE(channel.openChannel());
    EXPECT_EQ(listener().calls.at(0), "listen 10001");
    listener().requestConnection();
    EXPECT_EQ(data().state(), SocketState::Connected);
    listener().requestConnection();
    EXPECT_EQ(listener().rejected, 1);

    int events = 0;
    channel.evNewInputData = [&] { ++events; };
    data().arrive({'h', 'i'});
    EXPECT_EQ(events, 1);
    std::vector<CharCode> received;
    channel.readData(received);
    EXPECT_EQ(received, (std::vector<CharCode>{'h', 'i'}));

    // The client leaves: a server just waits for the next one.
    data().remoteClose();
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Open);
    shuttingDown = true;
    listener().requestConnection();
    EXPECT_EQ(data().state(), SocketState::Closed) << "no connection is accepted while shutting down";
    shuttingDown = false;
    listener().requestConnection();
    EXPECT_EQ(data().state(), SocketState::Connected);

    channel.closeChannel();
    EXPECT_EQ(listener().state(), SocketState::Closed);
    EXPECT_EQ(data().state(), SocketState::Closed);
}

TEST_F(NetworkChannelTest, ServerPortInUse) {
    sockets.nextFailure = 0;
    channel.setChannelSettings("SERVER:3001");
    ASSERT_TRUE(channel.openChannel());
    channel.closeChannel();
    listener().failWith = kSocketErrorAddressInUse;
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastErrNum(), kSocketErrorAddressInUse);
}

TEST_F(NetworkChannelTest, UdpPeerSendsToItsPeerAndQueuesWhatArrives) {
    channel.setQueueID(2);
    channel.setChannelSettings("UDP:LOCALHOST:3001:3002");
    ASSERT_TRUE(channel.openChannel());
    EXPECT_EQ(data().calls.at(0), "bind 3002");
    EXPECT_TRUE(channel.readyForTransmission());
    std::vector<CharCode> words = {'u', 'd', 'p'};
    EXPECT_TRUE(channel.transmitData(words, 0, 2));
    EXPECT_EQ(data().calls.back(), "sendTo 127.0.0.1:3001");

    // With a queue id, arriving data goes into the receive queue in pieces of at most 4096.
    std::vector<std::uint8_t> block(5000, 'z');
    data().arrive(block);
    std::vector<std::int16_t> buffer(packet::kBufferWords);
    EXPECT_EQ(library.libRXQueueRead(buffer.data()), 4096);
    EXPECT_EQ(buffer[packet::kSourceQueueId], 2);
    EXPECT_EQ(library.libRXQueueRead(buffer.data()), 904);
    EXPECT_EQ(library.libRXQueueRead(buffer.data()), -1);
}

TEST_F(NetworkChannelTest, UdpListenOnlyIsNeverReady) {
    channel.setChannelSettings("UDP:3002");
    ASSERT_TRUE(channel.openChannel());
    EXPECT_FALSE(channel.readyForTransmission());
    std::vector<CharCode> words = {'u'};
    EXPECT_FALSE(channel.transmitData(words, 0, 0));
    EXPECT_TRUE(data().sent.empty());
}

TEST_F(NetworkChannelTest, ClosingOrFailedSocketFoundWhileReading) {
    channel.setChannelSettings("LOCALHOST:23");
    ASSERT_TRUE(channel.openChannel());
    data().setState(SocketState::Closing);
    channel.processIncomingData();
    EXPECT_EQ(channel.channelLastError(), "Peer is closing the connection.");
    EXPECT_EQ(data().state(), SocketState::Closed);
    data().setState(SocketState::Error);
    channel.processIncomingData();
    EXPECT_EQ(channel.channelLastError(), "TCP/IP error.");
    EXPECT_EQ(channel.channelLastErrNum(), -1);
}

TEST_F(NetworkChannelTest, WithoutNetworkSupportOpeningFails) {
    ClCommChannel bare(library);
    bare.setChannelSettings("LOCALHOST:23");
    EXPECT_FALSE(bare.openChannel());
    EXPECT_EQ(bare.channelStatus(), ChannelStatus::Error);
    EXPECT_EQ(bare.channelLastErrNum(), kSocketErrorNetworkDown);
}

TEST_F(NetworkChannelTest, SettingsChangedWhileOpenReopen) {
    channel.setChannelSettings("SERVER:3001");
    ASSERT_TRUE(channel.openChannel());
    channel.setChannelSettings("SERVER:3002");
    EXPECT_TRUE(channel.IsOpen());
    EXPECT_EQ(listener().calls.back(), "listen 3002");
}

// A TCP server channel with a client connected, over a receive queue small enough to fill (and
// yet several takes of the channel above its high-water mark, as the real one is).
class HeldTcpChannelTest : public ::testing::Test {
protected:
    static constexpr std::size_t kQueueWords = 512 * 1024;

    void SetUp() override {
        channel.setQueueID(1);
        channel.setChannelSettings("SERVER:3001");
        ASSERT_TRUE(channel.openChannel());
        listener().requestConnection();
        ASSERT_EQ(data().state(), SocketState::Connected);
    }

    FakeChannelSocket& data() { return *sockets.created.at(0); }
    FakeChannelSocket& listener() { return *sockets.created.at(1); }

    // Bytes that show a lost, doubled or swapped block.
    static std::vector<std::uint8_t> pattern(std::size_t count) {
        std::vector<std::uint8_t> bytes(count);
        for (std::size_t i = 0; i < count; ++i) {
            bytes[i] = static_cast<std::uint8_t>(i % 251);
        }
        return bytes;
    }

    // Empties the receive queue into received; false after an overflow.
    bool drainQueue() {
        std::vector<std::int16_t> buffer(packet::kBufferWords);
        int count = 0;
        while ((count = library.libRXQueueRead(buffer.data())) >= 0) {
            EXPECT_EQ(buffer[packet::kSourceQueueId], 1);
            for (int i = 0; i < count; ++i) {
                received.push_back(static_cast<std::uint8_t>(buffer[packet::kHeaderWords + i]));
            }
        }
        return library.libRXQueueStatus() == 0;
    }

    FakeSerialFunctionLibrary library{kQueueWords};
    FakeSocketFactory sockets;
    FakeSystemClock clock;
    ClCommChannel channel{library, &sockets, &clock};
    std::vector<std::uint8_t> received;
};

TEST_F(HeldTcpChannelTest, DataBeyondTheHighWaterMarkWaitsInTheSocketAndAllArrivesInOrder) {
    const std::vector<std::uint8_t> sent = pattern(4 * kQueueWords);
    data().arrive(sent);
    EXPECT_FALSE(data().incoming.empty()) << "the socket keeps what the queue can't take";
    EXPECT_LE(library.queue.wordCount(), kQueueWords);

    // Nothing more is taken until the queue has been read down.
    int passes = 0;
    while (library.queue.wordCount() < library.queue.highWaterWords() && ++passes < 100) {
        channel.takeWaitingInput();
    }
    const std::size_t waiting = data().incoming.size();
    channel.takeWaitingInput();
    data().arrive({});
    EXPECT_EQ(data().incoming.size(), waiting);
    EXPECT_EQ(library.libRXQueueStatus(), 0);

    // Reading the queue lets the rest in on later passes, without a new arrival event.
    for (passes = 0; passes < 1000 && received.size() < sent.size(); ++passes) {
        ASSERT_TRUE(drainQueue()) << "queue overflow after " << received.size() << " bytes";
        channel.takeWaitingInput();
    }
    EXPECT_EQ(received, sent);
    EXPECT_NE(channel.channelStatus(), ChannelStatus::InputOverflow);
    for (std::size_t take : data().takes) {
        EXPECT_LE(take, static_cast<std::size_t>(ClCommChannel::kTcpBytesPerTake));
    }
}

TEST_F(HeldTcpChannelTest, AHeldQueueIdLeavesTheDataInTheSocketUntilReleased) {
    library.libRXQueueHold(1, 1);
    data().arrive({'a', 'b', 'c'});
    EXPECT_EQ(data().incoming.size(), 3u);
    EXPECT_EQ(library.queue.wordCount(), 0u);
    library.libRXQueueHold(1, 0);
    channel.takeWaitingInput();
    ASSERT_TRUE(drainQueue());
    EXPECT_EQ(received, (std::vector<std::uint8_t>{'a', 'b', 'c'}));
}

TEST_F(HeldTcpChannelTest, WhatWaitsWhenThePeerClosesIsQueuedAtOnce) {
    // More than one take: the rest waits in the socket (a real one holds at most its read-ahead).
    const std::vector<std::uint8_t> sent = pattern(3 * ClCommChannel::kTcpBytesPerTake);
    data().arrive(sent);
    ASSERT_FALSE(data().incoming.empty());
    data().remoteClose();
    EXPECT_EQ(data().state(), SocketState::Closed);
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Open) << "a server waits for the next client";
    ASSERT_TRUE(drainQueue());
    EXPECT_EQ(received, sent);
}

TEST_F(NetworkChannelTest, UdpCannotBeHeldBackAndStillOverflowsAFullQueue) {
    FakeSerialFunctionLibrary small{4096};
    ClCommChannel udp{small, &sockets, &clock};
    udp.setQueueID(1);
    udp.setChannelSettings("UDP:LOCALHOST:3001:3002");
    ASSERT_TRUE(udp.openChannel());
    data().arrive(std::vector<std::uint8_t>(8192, 'u'));
    EXPECT_TRUE(data().incoming.empty());
    EXPECT_EQ(small.libRXQueueStatus(), 2);
    EXPECT_EQ(udp.channelStatus(), ChannelStatus::InputOverflow);
}

} // namespace
} // namespace corvane
