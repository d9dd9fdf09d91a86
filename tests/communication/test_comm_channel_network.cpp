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

} // namespace
} // namespace corvane
