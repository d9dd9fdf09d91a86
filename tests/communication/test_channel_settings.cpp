#include "communication/ClCommChannel.h"
#include "platform/fakes/FakeSerialFunctionLibrary.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct Case {
    const char* input;
    ChannelType type;
    const char* stored; // nullptr: illegal
};

class ChannelSettingsTest : public ::testing::TestWithParam<Case> {};

TEST_P(ChannelSettingsTest, NormalisesAndChecks) {
    const Case& c = GetParam();
    FakeSerialFunctionLibrary library;
    ClCommChannel channel(library);
    channel.setChannelSettings("COM9:4800,EVEN,7,1");
    channel.setChannelSettings(c.input);
    if (c.stored == nullptr) {
        EXPECT_EQ(channel.channelStatus(), ChannelStatus::IllegalSettings) << c.input;
        EXPECT_EQ(channel.channelLastErrNum(), -1);
        EXPECT_EQ(channel.channelLastError(), ClCommChannel::illegalSettingsMessage(c.type));
        EXPECT_EQ(channel.channelSettings(), "COM9:4800,EVEN,7,1") << "illegal settings leave the old ones";
        EXPECT_EQ(channel.channelType(), ChannelType::Com);
    } else {
        EXPECT_EQ(channel.channelStatus(), ChannelStatus::Closed) << c.input;
        EXPECT_EQ(channel.channelLastError(), "");
        EXPECT_EQ(channel.channelSettings(), c.stored);
        EXPECT_EQ(channel.channelType(), c.type);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ChannelSettingsTest,
    ::testing::Values(
        // Device ports.
        Case{"3", ChannelType::Com, "COM3:9600,NONE,8,1"}, Case{"", ChannelType::Com, "COM1:9600,NONE,8,1"},
        Case{"   ", ChannelType::Com, "COM1:9600,NONE,8,1"},
        Case{" com3 ", ChannelType::Com, "COM3:9600,NONE,8,1"}, Case{"COM0", ChannelType::Com, nullptr},
        Case{"COM257", ChannelType::Com, nullptr}, Case{"COM256", ChannelType::Com, "COM256:9600,NONE,8,1"},
        Case{"COM03:19200,even,7,2", ChannelType::Com, "COM3:19200,EVEN,7,2"},
        Case{"COM2:NONE", ChannelType::Com, "COM2:NONE"}, Case{"COM2:9600,N,8", ChannelType::Com, nullptr},
        Case{"COM2:0,NONE,8,1", ChannelType::Com, nullptr},
        Case{"COM2:-9600,NONE,8,1", ChannelType::Com, nullptr},
        Case{"COM2:FAST,NONE,8,1", ChannelType::Com, nullptr},
        Case{"COM2:115200,NONE,8,1,RTSCTS,35", ChannelType::Com, "COM2:115200,NONE,8,1,RTSCTS,35"},
        Case{"COMX", ChannelType::Com, nullptr}, Case{"COM", ChannelType::Com, nullptr},
        Case{"COM99999999999999", ChannelType::Com, nullptr}, Case{"COMPUTER:80", ChannelType::Com, nullptr},
        Case{"TAP0", ChannelType::Tap, "TAP0:9600,NONE,8,1"},
        Case{"TAP255", ChannelType::Tap, "TAP255:9600,NONE,8,1"}, Case{"TAP256", ChannelType::Tap, nullptr},
        Case{"VTP1:9600,NONE,8,1,OFF,63,1", ChannelType::Vtp, "VTP1:9600,NONE,8,1,OFF,63,1"},
        Case{"VTPA", ChannelType::Vtp, nullptr},
        // TCP server.
        Case{"SERVER:", ChannelType::TcpServer, "SERVER:10001"},
        Case{"SERVER", ChannelType::TcpServer, "SERVER:10001"},
        Case{"server:3001", ChannelType::TcpServer, "SERVER:3001"},
        Case{"SERVER:70000", ChannelType::TcpServer, nullptr},
        Case{"SERVER:0", ChannelType::TcpServer, nullptr},
        Case{"SERVER:abc", ChannelType::TcpServer, nullptr},
        Case{"SERVERX:3001", ChannelType::TcpServer, nullptr},
        // TCP client.
        Case{"LOCALIP:502", ChannelType::TcpClient, "LOCALHOST:502"},
        Case{"localhost:502", ChannelType::TcpClient, "LOCALHOST:502"},
        Case{"10.0.0.1:3001", ChannelType::TcpClient, "10.0.0.1:3001"},
        Case{"10.0.0.1", ChannelType::TcpClient, "10.0.0.1:10001"},
        Case{"10.0.0.256:3001", ChannelType::TcpClient, nullptr},
        Case{"10.0.0:3001", ChannelType::TcpClient, nullptr},
        Case{"MYDEVICE.LAN:23", ChannelType::TcpClient, "MYDEVICE.LAN:23"},
        Case{"MY*DEVICE:23", ChannelType::TcpClient, nullptr},
        Case{"A/B:23", ChannelType::TcpClient, nullptr}, Case{":3001", ChannelType::TcpClient, nullptr},
        Case{"HOST:65536", ChannelType::TcpClient, nullptr},
        Case{"HOST:1:2", ChannelType::TcpClient, nullptr},
        // UDP peer.
        Case{"UDP:10.0.0.1:3001", ChannelType::Udp, "UDP:10.0.0.1:3001"},
        Case{"UDP:10.0.0.1:3001:3001", ChannelType::Udp, "UDP:10.0.0.1:3001"},
        Case{"UDP:10.0.0.1:3001:3002", ChannelType::Udp, "UDP:10.0.0.1:3001:3002"},
        Case{"UDP:3002", ChannelType::Udp, "UDP:3002"},
        Case{"UDP:LOCALIP:7", ChannelType::Udp, "UDP:LOCALHOST:7"},
        Case{"UDP:70000", ChannelType::Udp, nullptr}, Case{"UDP:10.0.0.1:3001:0", ChannelType::Udp, nullptr},
        Case{"UDP", ChannelType::Udp, nullptr}, Case{"UDP:", ChannelType::Udp, nullptr},
        Case{"UDP:A?B:1", ChannelType::Udp, nullptr}));

TEST(ChannelSettings, LineSettingsBecomeLibraryCodes) {
    auto p = ClCommChannel::parseLineSettings("19200,EVEN,7,2,XONXOFF,35", ChannelType::Com);
    EXPECT_EQ(p.baudRate, 19200);
    EXPECT_EQ(p.parity, kParityEven);
    EXPECT_EQ(p.dataBits, 7);
    EXPECT_EQ(p.stopBits, kStopBitsTwo);
    EXPECT_EQ(p.flowControl, kFlowXonXoff);
    EXPECT_EQ(p.parityErrorChar, 35);

    p = ClCommChannel::parseLineSettings("300,WHATEVER,4,1.5,RTSSEND", ChannelType::Com);
    EXPECT_EQ(p.parity, kParityNone);
    EXPECT_EQ(p.dataBits, 5);
    EXPECT_EQ(p.stopBits, kStopBitsOneAndHalf);
    EXPECT_EQ(p.flowControl, kFlowRtsSend);
    EXPECT_EQ(p.parityErrorChar, 63);

    p = ClCommChannel::parseLineSettings("9600,MARK,9,3,FAST,300", ChannelType::Com);
    EXPECT_EQ(p.parity, kParityMark);
    EXPECT_EQ(p.dataBits, 8);
    EXPECT_EQ(p.stopBits, kStopBitsOne);
    EXPECT_EQ(p.flowControl, kFlowOff);
    EXPECT_EQ(p.parityErrorChar, 300 & 0xFF);

    EXPECT_EQ(ClCommChannel::parseLineSettings("NONE", ChannelType::Com).baudRate, 0);
    EXPECT_EQ(ClCommChannel::parseLineSettings("9600,SPACE,6,1,RTSCTS,63", ChannelType::Com).parity,
              kParitySpace);
    EXPECT_EQ(ClCommChannel::parseLineSettings("9600,ODD,6,1,RTSCTS,63", ChannelType::Com).dataBits, 6);

    // Signal level, for tap device ports only, clamped to 0..2.
    EXPECT_EQ(ClCommChannel::parseLineSettings("9600,NONE,8,1,OFF,63,2", ChannelType::Vtp).signalLevel, 2);
    EXPECT_EQ(ClCommChannel::parseLineSettings("9600,NONE,8,1,OFF,63,-4", ChannelType::Vtp).signalLevel, 0);
    EXPECT_EQ(ClCommChannel::parseLineSettings("9600,NONE,8,1,OFF,63,7", ChannelType::Vtp).signalLevel, 2);
    EXPECT_EQ(ClCommChannel::parseLineSettings("9600,NONE,8,1,OFF,63,2", ChannelType::Tap).signalLevel, 0);
}

TEST(ChannelSettings, NamesAndLineSettingsOfEachKind) {
    FakeSerialFunctionLibrary library;
    ClCommChannel channel(library);
    EXPECT_EQ(channel.channelSettings(), "COM1");
    EXPECT_EQ(channel.channelName(), "COM1");
    EXPECT_EQ(channel.rs232_settings(), "9600,NONE,8,1");

    channel.setChannelSettings("COM12:NONE");
    EXPECT_EQ(channel.channelName(), "COM12");
    EXPECT_EQ(channel.channelNameShort(), "COM12");
    EXPECT_EQ(channel.rs232_settings(), "NONE");
    EXPECT_TRUE(channel.isDevicePort());

    channel.setChannelSettings("TAP1");
    EXPECT_EQ(channel.channelName(), "TAP1");

    channel.setChannelSettings("UDP:192.168.100.200:30001:30002");
    EXPECT_TRUE(channel.isNetworkSocket());
    EXPECT_EQ(channel.channelName(), "UDP:192.168.100.200:30001:30002");
    EXPECT_EQ(channel.channelNameShort(), "UDP:192.168.100.20..");
    EXPECT_EQ(channel.rs232_settings(), "");

    channel.setChannelSettings("SERVER:3001");
    EXPECT_EQ(channel.channelNameShort(), "SERVER:3001");
}

TEST(ChannelSettings, CheckOperationsHandOutTheirParts) {
    int port = 0;
    std::string line;
    EXPECT_TRUE(ClCommChannel::checkCOMSettings("COM7:1200,ODD,7,1", port, line));
    EXPECT_EQ(port, 7);
    EXPECT_EQ(line, "1200,ODD,7,1");
    EXPECT_TRUE(ClCommChannel::checkCOMSettings("TAP0", port, line));
    EXPECT_EQ(port, 0);
    EXPECT_EQ(line, "9600,NONE,8,1");

    std::string host;
    EXPECT_TRUE(ClCommChannel::checkTCPClientSettings("LOCALIP:502", host, port));
    EXPECT_EQ(host, "LOCALHOST");
    EXPECT_EQ(port, 502);
    EXPECT_TRUE(ClCommChannel::checkServerSettings("SERVER:", port));
    EXPECT_EQ(port, 10001);

    int remote = 0;
    int local = 0;
    EXPECT_TRUE(ClCommChannel::checkUDPSettings("UDP:10.0.0.1:3001", host, remote, local));
    EXPECT_EQ(remote, 3001);
    EXPECT_EQ(local, 3001);
    EXPECT_TRUE(ClCommChannel::checkUDPSettings("UDP:3002", host, remote, local));
    EXPECT_EQ(host, "");
    EXPECT_EQ(local, 3002);
}

} // namespace
} // namespace corvane
