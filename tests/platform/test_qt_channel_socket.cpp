// The network kinds of the communication channel over real sockets on 127.0.0.1.
#include "QtTestSupport.h"

#include "communication/ClCommChannel.h"
#include "platform/fakes/FakeSerialFunctionLibrary.h"
#include "platform/qt/QtChannelSocket.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::pumpUntil;

// A port that was free a moment ago.
int freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    int port = probe.serverPort();
    probe.close();
    return port;
}

class ChannelSocketTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureQtApplication(); }

    std::vector<CharCode> readAll(ClCommChannel& channel, std::size_t count) {
        std::vector<CharCode> all;
        pumpUntil([&] {
            std::vector<CharCode> piece;
            channel.readData(piece);
            all.insert(all.end(), piece.begin(), piece.end());
            return all.size() >= count;
        });
        return all;
    }

    FakeSerialFunctionLibrary library;
    QtSocketFactory sockets{QHostAddress::LocalHost};
};

TEST_F(ChannelSocketTest, ClientTalksToATestServer) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    ClCommChannel channel(library, &sockets);
    channel.setChannelSettings("LOCALIP:" + std::to_string(server.serverPort()));
    ASSERT_TRUE(channel.openChannel()) << channel.channelLastError();
    ASSERT_TRUE(pumpUntil([&] { return server.hasPendingConnections() && channel.readyForTransmission(); }));
    QTcpSocket* peer = server.nextPendingConnection();

    std::vector<CharCode> data = {'p', 'i', 'n', 'g', 0x100 + 'X'};
    EXPECT_TRUE(channel.transmitData(data, 0, 4));
    QByteArray received;
    ASSERT_TRUE(pumpUntil([&] {
        received += peer->readAll();
        return received.size() >= 5;
    }));
    EXPECT_EQ(received, QByteArray("pingX"));

    int events = 0;
    channel.evNewInputData = [&] { ++events; };
    peer->write("pong");
    EXPECT_EQ(readAll(channel, 4), (std::vector<CharCode>{'p', 'o', 'n', 'g'}));
    EXPECT_GE(events, 1);

    // The server goes away.
    peer->close();
    ASSERT_TRUE(pumpUntil([&] { return channel.channelStatus() == ChannelStatus::Error; }));
    EXPECT_EQ(channel.channelLastError(), "TCP/IP connection closed by the remote computer");
    channel.closeChannel();
}

TEST_F(ChannelSocketTest, ClientWithoutServerGetsConnectionRefused) {
    ClCommChannel channel(library, &sockets);
    channel.setChannelSettings("127.0.0.1:" + std::to_string(freePort()));
    ASSERT_TRUE(channel.openChannel());
    ASSERT_TRUE(pumpUntil([&] { return channel.channelStatus() == ChannelStatus::Error; }));
    EXPECT_EQ(channel.channelLastError().rfind("TCP/IP error - ", 0), 0u);
    EXPECT_NE(channel.channelLastError().find("(#10061)"), std::string::npos) << channel.channelLastError();
}

TEST_F(ChannelSocketTest, ServerAcceptsATestClientAndQueuesItsData) {
    int port = freePort();
    ClCommChannel channel(library, &sockets);
    channel.setQueueID(1);
    channel.setChannelSettings("SERVER:" + std::to_string(port));
    ASSERT_TRUE(channel.openChannel()) << channel.channelLastError();

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    ASSERT_TRUE(pumpUntil([&] { return channel.readyForTransmission(); }));
    client.write("hello");
    std::vector<std::int16_t> buffer(packet::kBufferWords);
    int count = -1;
    ASSERT_TRUE(pumpUntil([&] { return (count = library.libRXQueueRead(buffer.data())) >= 0; }));
    EXPECT_EQ(buffer[packet::kSourceQueueId], 1);
    EXPECT_EQ(std::vector<std::int16_t>(buffer.begin() + packet::kHeaderWords,
                                        buffer.begin() + packet::kHeaderWords + count),
              (std::vector<std::int16_t>{'h', 'e', 'l', 'l', 'o'}));

    std::vector<CharCode> answer = {'o', 'k'};
    EXPECT_TRUE(channel.transmitData(answer, 0, 1));
    QByteArray received;
    ASSERT_TRUE(pumpUntil([&] {
        received += client.readAll();
        return received.size() >= 2;
    }));
    EXPECT_EQ(received, QByteArray("ok"));

    // A second server on the same port is refused with the port-in-use message.
    ClCommChannel second(library, &sockets);
    second.setChannelSettings("SERVER:" + std::to_string(port));
    EXPECT_FALSE(second.openChannel());
    EXPECT_EQ(second.channelLastErrNum(), kSocketErrorAddressInUse);

    channel.closeChannel();
    EXPECT_TRUE(pumpUntil([&] { return client.state() == QAbstractSocket::UnconnectedState; }));
}

TEST_F(ChannelSocketTest, AFastTcpSenderWaitsWhileTheQueueIsFullAndLosesNothing) {
    // Far less than the sender writes; its high-water mark is 128 Ki words.
    FakeSerialFunctionLibrary small(256 * 1024);
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    ClCommChannel channel(small, &sockets);
    channel.setQueueID(1);
    channel.setChannelSettings("LOCALIP:" + std::to_string(server.serverPort()));
    ASSERT_TRUE(channel.openChannel()) << channel.channelLastError();
    ASSERT_TRUE(pumpUntil([&] { return server.hasPendingConnections() && channel.readyForTransmission(); }));
    QTcpSocket* peer = server.nextPendingConnection();
    peer->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 64 * 1024);

    QByteArray sent(32 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < sent.size(); ++i) {
        sent[i] = static_cast<char>(i % 251);
    }
    peer->write(sent);
    peer->disconnectFromHost(); // once everything is written

    // Nobody reads the queue: it fills to its high-water mark, and then the sender waits.
    ASSERT_TRUE(pumpUntil([&] {
        channel.takeWaitingInput();
        return small.queue.readersHeld();
    }));
    for (int round = 0; round < 200; ++round) {
        QCoreApplication::processEvents();
        channel.takeWaitingInput();
    }
    EXPECT_GT(peer->bytesToWrite(), 0) << "the sender should be held back, not read into memory";
    EXPECT_EQ(small.libRXQueueStatus(), 0);
    EXPECT_LT(small.queue.wordCount(), small.queue.highWaterWords() + 2 * ClCommChannel::kTcpBytesPerTake);

    // The queue is read: everything comes, in order, up to the peer's close.
    QByteArray received;
    std::vector<std::int16_t> buffer(packet::kBufferWords);
    bool overflow = false;
    ASSERT_TRUE(pumpUntil(
        [&] {
            int count = 0;
            while ((count = small.libRXQueueRead(buffer.data())) >= 0) {
                for (int i = 0; i < count; ++i) {
                    received.append(static_cast<char>(buffer[packet::kHeaderWords + i]));
                }
            }
            overflow = overflow || small.libRXQueueStatus() != 0;
            channel.takeWaitingInput();
            return received.size() >= sent.size() || overflow;
        },
        60000))
        << received.size() << " of " << sent.size() << " bytes arrived";
    EXPECT_FALSE(overflow);
    EXPECT_TRUE(received == sent) << "the data arrived changed";
    ASSERT_TRUE(pumpUntil([&] { return channel.channelStatus() == ChannelStatus::Error; }));
    EXPECT_EQ(channel.channelLastError(), "TCP/IP connection closed by the remote computer");
    channel.closeChannel();
}

TEST_F(ChannelSocketTest, UdpBothWays) {
    QUdpSocket peer;
    ASSERT_TRUE(peer.bind(QHostAddress::LocalHost, 0));
    int local = freePort();
    ClCommChannel channel(library, &sockets);
    channel.setChannelSettings("UDP:127.0.0.1:" + std::to_string(peer.localPort()) + ":" +
                               std::to_string(local));
    ASSERT_TRUE(channel.openChannel()) << channel.channelLastError();
    ASSERT_TRUE(channel.readyForTransmission());

    std::vector<CharCode> data = {'u', 'd', 'p'};
    EXPECT_TRUE(channel.transmitData(data, 0, 2));
    ASSERT_TRUE(pumpUntil([&] { return peer.hasPendingDatagrams(); }));
    QByteArray datagram(static_cast<int>(peer.pendingDatagramSize()), 0);
    peer.readDatagram(datagram.data(), datagram.size());
    EXPECT_EQ(datagram, QByteArray("udp"));

    peer.writeDatagram("back", QHostAddress::LocalHost, static_cast<quint16>(local));
    EXPECT_EQ(readAll(channel, 4), (std::vector<CharCode>{'b', 'a', 'c', 'k'}));
    channel.closeChannel();
    EXPECT_FALSE(channel.IsOpen());
}

} // namespace
} // namespace corvane
