#include "communication/ClCommChannel.h"
#include "platform/fakes/FakeSerialFunctionLibrary.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct Case {
    const char* input;
    int type;
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
        EXPECT_EQ(channel.channelStatus(), ClCommChannel::kStatusIllegalSettings) << c.input;
        EXPECT_EQ(channel.channelLastErrNum(), -1);
        EXPECT_EQ(channel.channelLastError(), ClCommChannel::illegalSettingsMessage(c.type));
        EXPECT_EQ(channel.channelSettings(), "COM9:4800,EVEN,7,1") << "illegal settings leave the old ones";
        EXPECT_EQ(channel.channelType(), ClCommChannel::kTypeCom);
    } else {
        EXPECT_EQ(channel.channelStatus(), ClCommChannel::kStatusClosed) << c.input;
        EXPECT_EQ(channel.channelLastError(), "");
        EXPECT_EQ(channel.channelSettings(), c.stored);
        EXPECT_EQ(channel.channelType(), c.type);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ChannelSettingsTest,
    ::testing::Values(
        // Device ports.
        Case{"3", 0, "COM3:9600,NONE,8,1"}, Case{"", 0, "COM1:9600,NONE,8,1"},
        Case{"   ", 0, "COM1:9600,NONE,8,1"}, Case{" com3 ", 0, "COM3:9600,NONE,8,1"},
        Case{"COM0", 0, nullptr}, Case{"COM257", 0, nullptr}, Case{"COM256", 0, "COM256:9600,NONE,8,1"},
        Case{"COM03:19200,even,7,2", 0, "COM3:19200,EVEN,7,2"}, Case{"COM2:NONE", 0, "COM2:NONE"},
        Case{"COM2:9600,N,8", 0, nullptr}, Case{"COM2:0,NONE,8,1", 0, nullptr},
        Case{"COM2:-9600,NONE,8,1", 0, nullptr}, Case{"COM2:FAST,NONE,8,1", 0, nullptr},
        Case{"COM2:115200,NONE,8,1,RTSCTS,35", 0, "COM2:115200,NONE,8,1,RTSCTS,35"}, Case{"COMX", 0, nullptr},
        Case{"COM", 0, nullptr}, Case{"COM99999999999999", 0, nullptr}, Case{"COMPUTER:80", 0, nullptr},
        Case{"TAP0", 4, "TAP0:9600,NONE,8,1"}, Case{"TAP255", 4, "TAP255:9600,NONE,8,1"},
        Case{"TAP256", 4, nullptr}, Case{"VTP1:9600,NONE,8,1,OFF,63,1", 5, "VTP1:9600,NONE,8,1,OFF,63,1"},
        Case{"VTPA", 5, nullptr},
        // TCP server.
        Case{"SERVER:", 2, "SERVER:10001"}, Case{"SERVER", 2, "SERVER:10001"},
        Case{"server:3001", 2, "SERVER:3001"}, Case{"SERVER:70000", 2, nullptr}, Case{"SERVER:0", 2, nullptr},
        Case{"SERVER:abc", 2, nullptr}, Case{"SERVERX:3001", 2, nullptr},
        // TCP client.
        Case{"LOCALIP:502", 1, "LOCALHOST:502"}, Case{"localhost:502", 1, "LOCALHOST:502"},
        Case{"10.0.0.1:3001", 1, "10.0.0.1:3001"}, Case{"10.0.0.1", 1, "10.0.0.1:10001"},
        Case{"10.0.0.256:3001", 1, nullptr}, Case{"10.0.0:3001", 1, nullptr},
        Case{"MYDEVICE.LAN:23", 1, "MYDEVICE.LAN:23"}, Case{"MY*DEVICE:23", 1, nullptr},
        Case{"A/B:23", 1, nullptr}, Case{":3001", 1, nullptr}, Case{"HOST:65536", 1, nullptr},
        Case{"HOST:1:2", 1, nullptr},
        // UDP peer.
        Case{"UDP:10.0.0.1:3001", 3, "UDP:10.0.0.1:3001"},
        Case{"UDP:10.0.0.1:3001:3001", 3, "UDP:10.0.0.1:3001"},
        Case{"UDP:10.0.0.1:3001:3002", 3, "UDP:10.0.0.1:3001:3002"}, Case{"UDP:3002", 3, "UDP:3002"},
        Case{"UDP:LOCALIP:7", 3, "UDP:LOCALHOST:7"}, Case{"UDP:70000", 3, nullptr},
        Case{"UDP:10.0.0.1:3001:0", 3, nullptr}, Case{"UDP", 3, nullptr}, Case{"UDP:", 3, nullptr},
        Case{"UDP:A?B:1", 3, nullptr}));

TEST(ChannelSettings, LineSettingsBecomeLibraryCodes) {
    auto p = ClCommChannel::parseLineSettings("19200,EVEN,7,2,XONXOFF,35", ClCommChannel::kTypeCom);
    EXPECT_EQ(p.baudRate, 19200);
    EXPECT_EQ(p.parity, kParityEven);
    EXPECT_EQ(p.dataBits, 7);
    EXPECT_EQ(p.stopBits, kStopBitsTwo);
    EXPECT_EQ(p.flowControl, kFlowXonXoff);
    EXPECT_EQ(p.parityErrorChar, 35);

    p = ClCommChannel::parseLineSettings("300,WHATEVER,4,1.5,RTSSEND", ClCommChannel::kTypeCom);
    EXPECT_EQ(p.parity, kParityNone);
    EXPECT_EQ(p.dataBits, 5);
    EXPECT_EQ(p.stopBits, kStopBitsOneAndHalf);
    EXPECT_EQ(p.flowControl, kFlowRtsSend);
    EXPECT_EQ(p.parityErrorChar, 63);

    p = ClCommChannel::parseLineSettings("9600,MARK,9,3,FAST,300", ClCommChannel::kTypeCom);
    EXPECT_EQ(p.parity, kParityMark);
    EXPECT_EQ(p.dataBits, 8);
    EXPECT_EQ(p.stopBits, kStopBitsOne);
    EXPECT_EQ(p.flowControl, kFlowOff);
    EXPECT_EQ(p.parityErrorChar, 300 & 0xFF);

    EXPECT_EQ(ClCommChannel::parseLineSettings("NONE", ClCommChannel::kTypeCom).baudRate, 0);
    EXPECT_EQ(ClCommChannel::parseLineSettings("9600,SPACE,6,1,RTSCTS,63", 0).parity, kParitySpace);
    EXPECT_EQ(ClCommChannel::parseLineSettings("9600,ODD,6,1,RTSCTS,63", 0).dataBits, 6);

    // Signal level, for tap device ports only, clamped to 0..2.
    EXPECT_EQ(ClCommChannel::parseLineSettings("9600,NONE,8,1,OFF,63,2", ClCommChannel::kTypeVtp).signalLevel,
              2);
    EXPECT_EQ(
        ClCommChannel::parseLineSettings("9600,NONE,8,1,OFF,63,-4", ClCommChannel::kTypeVtp).signalLevel, 0);
    EXPECT_EQ(ClCommChannel::parseLineSettings("9600,NONE,8,1,OFF,63,7", ClCommChannel::kTypeVtp).signalLevel,
              2);
    EXPECT_EQ(ClCommChannel::parseLineSettings("9600,NONE,8,1,OFF,63,2", ClCommChannel::kTypeTap).signalLevel,
              0);
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
