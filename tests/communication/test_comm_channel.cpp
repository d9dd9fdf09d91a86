#include "communication/ClCommChannel.h"
#include "platform/fakes/FakeSerialFunctionLibrary.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

class ChannelTest : public ::testing::Test {
protected:
    ClCommChannel& openCom(const std::string& settings, int queueId = 2) {
        channel.setQueueID(queueId);
        channel.setChannelSettings(settings);
        EXPECT_TRUE(channel.openChannel()) << channel.channelLastError();
        return channel;
    }
    FakeSerialFunctionLibrary library;
    ClCommChannel channel{library};
};

TEST_F(ChannelTest, OpeningASerialPortHandsTheLineSettingsToTheLibrary) {
    channel.setRs232_watchModemSignals(true);
    openCom("COM3:19200,ODD,7,2,XONXOFF,35");
    ASSERT_EQ(library.opens.size(), 1u);
    const auto& open = library.opens[0];
    EXPECT_EQ(open.port, 2);
    EXPECT_EQ(open.baudRate, 19200);
    EXPECT_EQ(open.parity, kParityOdd);
    EXPECT_EQ(open.stopBits, kStopBitsTwo);
    EXPECT_EQ(open.dataBits, 7);
    EXPECT_EQ(open.flowControl, kFlowXonXoff);
    EXPECT_EQ(open.parityErrorChar, 35);
    ASSERT_EQ(library.queueings.size(), 1u);
    EXPECT_EQ(library.queueings[0].queueId, 2);
    EXPECT_EQ(library.queueings[0].watch, 1);
    EXPECT_EQ(library.queueings[0].mode, kQueueingModeTimestamped);
    EXPECT_EQ(library.lineCalls, (std::vector<std::string>{"RTS 2 S", "DTR 2 S"}));
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Open);
    EXPECT_TRUE(channel.IsOpen());

    // Queue id and watch flag can't change while open.
    channel.setQueueID(1);
    channel.setRs232_watchModemSignals(false);
    EXPECT_EQ(channel.queueID(), 2);
    EXPECT_TRUE(channel.rs232_watchModemSignals());

    channel.closeChannel();
    EXPECT_EQ(library.closes, std::vector<int>{2});
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Closed);
}

TEST_F(ChannelTest, RtsIsLeftToTheFlowControl) {
    channel.rs232_setRTSDTR(false, false);
    openCom("COM1:9600,NONE,8,1,RTSCTS");
    EXPECT_EQ(library.lineCalls, std::vector<std::string>{"DTR 0 C"});
    channel.closeChannel();
    library.lineCalls.clear();
    openCom("COM1:9600,NONE,8,1,RTSSEND");
    EXPECT_EQ(library.lineCalls, std::vector<std::string>{"DTR 0 C"});
    bool rts = true;
    bool dtr = true;
    channel.rs232_getRTSDTR(rts, dtr);
    EXPECT_FALSE(rts || dtr);
}

TEST_F(ChannelTest, NoneLineSettingsAskForThePortsOwnSettings) {
    openCom("COM2:NONE");
    EXPECT_EQ(library.opens.at(0).baudRate, 0);
}

TEST_F(ChannelTest, LibraryErrorsBecomeTheirTexts) {
    struct Expect {
        int code;
        const char* text;
    };
    const Expect cases[] = {{kSioBadPort, "Invalid COM port name"},
                            {kSioAlreadyOpen, "COM port already open"},
                            {kSioCannotOpen, "Cannot open COM port"},
                            {kSioNoMemory, "Unable to allocate memory"},
                            {kSioBadDefaults, "Error in default parameters"},
                            {kSioNotPresent, "Hardware not present"},
                            {kSioBadByteSize, "Unsupported byte size"},
                            {kSioBadBaudRate, "Unsupported baud rate"},
                            {kSioNoData, "No data"},
                            {kSioRange, "Parameter out of range"},
                            {kSioBufferMemory, "Cannot allocate memory for buffers"},
                            {kSioThread, "Cannot start thread"},
                            {-77, "Error code -77"}};
    for (const auto& c : cases) {
        library.openResults[4] = c.code;
        channel.setChannelSettings("COM5");
        EXPECT_FALSE(channel.openChannel());
        EXPECT_EQ(channel.channelLastError(), c.text);
        EXPECT_EQ(channel.channelLastErrNum(), c.code);
        EXPECT_EQ(channel.channelStatus(), ChannelStatus::Error);
    }
    library.openResults[4] = kSioSystemError;
    library.winErrorNumber = 2;
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastError(), "Device not available.");
    library.winErrorNumber = 13;
    library.winErrorText = "Permission denied";
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastError(), "Windows Error #13 - Permission denied");
}

TEST_F(ChannelTest, TheSystemsOwnWordsOnAFailureReplaceItsNumber) {
    library.openResults[4] = kSioSystemError;
    library.winErrorNumber = 13;
    library.winErrorText = "Permission denied";
    library.errorDetail = "Permission denied for /dev/ttyUSB0: add your user to the 'dialout' group (sudo "
                          "usermod -aG dialout $USER) and log in again";
    channel.setChannelSettings("COM5");
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastError(), library.errorDetail);
    EXPECT_EQ(channel.channelLastErrNum(), kSioSystemError);

    // A port held by another program names it; without a name the text stands alone.
    library.openResults[4] = kSioAlreadyOpen;
    library.errorDetail = "used by minicom, pid 4711";
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastError(), "COM port already open (used by minicom, pid 4711)");
    library.errorDetail.clear();
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastError(), "COM port already open");

    // "Device not available." keeps its words whatever the detail.
    library.openResults[4] = kSioSystemError;
    library.winErrorNumber = 2;
    library.errorDetail = "something";
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastError(), "Device not available.");
}

TEST_F(ChannelTest, FailedQueueingClosesThePortAgain) {
    library.queueingResult = kSioThread;
    channel.setQueueID(1);
    channel.setChannelSettings("COM4");
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastError(), "Cannot start thread");
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Error);
    EXPECT_TRUE(library.openPorts.empty());
}

TEST_F(ChannelTest, ClosingAChannelThatNeverOpenedLeavesThePortAlone) {
    openCom("COM4");
    ClCommChannel other(library);
    other.setChannelSettings("COM4");
    EXPECT_FALSE(other.openChannel());
    other.closeChannel();
    EXPECT_EQ(other.channelStatus(), ChannelStatus::Closed);
    EXPECT_EQ(library.openPorts.count(3), 1u) << "the first channel's port stays open";
}

TEST_F(ChannelTest, TransmitRules) {
    std::vector<CharCode> data = {'a', 'b', 'c', -37, 300};
    EXPECT_FALSE(channel.transmitData(data, 0, 2)) << "closed";
    openCom("COM1");
    EXPECT_TRUE(channel.transmitData(data, -5, 99));
    EXPECT_GE(channel.lastTransmitTime().year, 2024) << "the clock is sampled for each transmission";
    ASSERT_EQ(library.transmissions.size(), 1u);
    EXPECT_EQ(library.transmissions[0].words, (std::vector<std::int16_t>{'a', 'b', 'c', -37, 300}));
    EXPECT_EQ(library.transmissions[0].queueId, 2);
    EXPECT_TRUE(channel.transmitData(data, 1, 1));
    EXPECT_EQ(library.transmissions[1].words, std::vector<std::int16_t>{'b'});

    std::vector<CharCode> large(4097, 'x');
    EXPECT_FALSE(channel.transmitData(large, 0, 4096));
    EXPECT_EQ(channel.channelLastError(), "Data packet to transmit is too large");
    EXPECT_EQ(channel.channelLastErrNum(), -1);
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Error);
    EXPECT_EQ(library.transmissions.size(), 2u) << "nothing of it is sent";
    EXPECT_TRUE(channel.transmitData(large, 0, 4095)) << "4096 words are fine";
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Open);
    EXPECT_EQ(channel.channelLastError(), "");

    library.txWriteResult = 0;
    EXPECT_FALSE(channel.transmitData(data, 0, 0));
    EXPECT_EQ(channel.channelLastError(), "Transmit buffer overflow.");
    library.txWriteResult = -103;
    EXPECT_FALSE(channel.transmitData(data, 0, 0));
    EXPECT_EQ(channel.channelLastError(), "Error while transmitting");
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Error);
    channel.clearChannelErrors();
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Open);
    EXPECT_EQ(channel.channelLastErrNum(), 0);
}

TEST_F(ChannelTest, TransmitWithoutQueueIdFails) {
    openCom("COM1", 0);
    std::vector<CharCode> data = {'a'};
    EXPECT_FALSE(channel.transmitData(data, 0, 0));
    EXPECT_EQ(channel.channelLastError(), "Error while transmitting");
}

TEST_F(ChannelTest, ReadinessAndTransmitBuffer) {
    EXPECT_FALSE(channel.readyForTransmission());
    EXPECT_TRUE(channel.transmitBufferEmpty());
    openCom("COM1:9600,NONE,8,1,RTSCTS");
    EXPECT_FALSE(channel.readyForTransmission()) << "CTS low";
    library.lines['C'] = 1;
    EXPECT_TRUE(channel.readyForTransmission());
    library.portTxBytes = 5;
    EXPECT_FALSE(channel.transmitBufferEmpty());
    library.portTxBytes = 0;
    library.txQueueStatus = 1;
    EXPECT_FALSE(channel.transmitBufferEmpty());
    library.txQueueStatus = 0;
    EXPECT_TRUE(channel.transmitBufferEmpty());
}

TEST_F(ChannelTest, HandshakeLinesAndBreakAndParity) {
    openCom("COM2:9600,EVEN,8,1");
    bool cts = false, dsr = false, dcd = false, changed = false;
    channel.rs232_readHandshakeLines(cts, dsr, dcd, changed);
    EXPECT_FALSE(changed);
    library.lines['D'] = 1;
    channel.rs232_readHandshakeLines(cts, dsr, dcd, changed);
    EXPECT_TRUE(changed);
    EXPECT_TRUE(dsr);
    EXPECT_FALSE(cts || dcd);
    channel.rs232_readHandshakeLines(cts, dsr, dcd, changed);
    EXPECT_FALSE(changed);
    library.lines['I'] = 1;
    channel.rs232_readHandshakeLines(cts, dsr, dcd, changed);
    EXPECT_TRUE(changed) << "a ring counts as a change";

    library.lineCalls.clear();
    channel.rs232_setBreak(true);
    channel.rs232_setBreak(false);
    channel.rs232_switchParity(kParityMark);
    channel.rs232_switchParity(9);
    channel.rs232_setRTSDTR(false, true);
    EXPECT_EQ(library.lineCalls, (std::vector<std::string>{"BRK 1 A", "BRK 1 C", "PARMS 1 3", "PARMS 1 2",
                                                           "RTS 1 C", "DTR 1 S"}));
    channel.closeChannel();
    channel.rs232_readHandshakeLines(cts, dsr, dcd, changed);
    EXPECT_FALSE(dsr) << "the snapshot is cleared on close";
}

TEST_F(ChannelTest, NewSettingsWhileOpen) {
    openCom("COM2:9600,NONE,8,1");
    library.lineCalls.clear();
    channel.setChannelSettings("COM2:115200,NONE,8,1");
    EXPECT_EQ(library.opens.size(), 1u) << "the same port is not opened again";
    EXPECT_EQ(channel.lineParameters().baudRate, 115200);
    EXPECT_EQ(library.lineCalls, (std::vector<std::string>{"RTS 1 S", "DTR 1 S"}));
    EXPECT_EQ(channel.channelSettings(), "COM2:115200,NONE,8,1");
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Open);

    channel.setChannelSettings("COM5");
    EXPECT_EQ(library.closes, std::vector<int>{1});
    ASSERT_EQ(library.opens.size(), 2u);
    EXPECT_EQ(library.opens[1].port, 4);
    EXPECT_TRUE(channel.IsOpen());

    channel.setChannelSettings("COM0");
    EXPECT_TRUE(channel.IsOpen()) << "illegal settings change nothing";
    EXPECT_EQ(channel.channelSettings(), "COM5:9600,NONE,8,1");
}

TEST_F(ChannelTest, PolledReadingFillsTheInputBuffer) {
    openCom("COM1", 0);
    int events = 0;
    channel.evNewInputData = [&] { ++events; };
    channel.processIncomingData();
    EXPECT_EQ(events, 0);
    library.pollData = {'h', 'i'};
    channel.processIncomingData();
    EXPECT_EQ(events, 1);
    EXPECT_EQ(channel.ReadCharacter(), 'h');
    std::vector<CharCode> rest;
    channel.readData(rest);
    EXPECT_EQ(rest, std::vector<CharCode>{'i'});
    EXPECT_EQ(channel.ReadCharacter(), -1);

    // A full read of 4096 bytes counts as overflow: the buffer is emptied, the event still comes.
    library.pollData.assign(5000, 'x');
    channel.processIncomingData();
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::InputOverflow);
    EXPECT_EQ(events, 2);
    EXPECT_EQ(channel.ReadCharacter(), -1);
}

TEST_F(ChannelTest, TapsOpenThroughTheMonitorCalls) {
    channel.setChannelSettings("TAP3:57600,EVEN,7,1");
    EXPECT_FALSE(channel.openChannel()) << "taps need a queue id";
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Error);
    EXPECT_TRUE(library.ftdiCalls.empty());

    channel.setQueueID(1);
    EXPECT_TRUE(channel.openChannel());
    ASSERT_EQ(library.ftdiCalls.size(), 1u);
    EXPECT_EQ(library.ftdiCalls[0], (std::vector<int>{3, 1, 14, 57600, kParityEven, 0, 7, 63}));
    EXPECT_FALSE(channel.readyForTransmission());
    std::vector<CharCode> data = {'a'};
    EXPECT_FALSE(channel.transmitData(data, 0, 0));
    channel.closeChannel();
    EXPECT_EQ(library.ftdiCloses, std::vector<int>{1});
    EXPECT_TRUE(library.closes.empty()) << "a tap is not a COM port";

    channel.setChannelSettings("VTP3:9600,NONE,8,1,OFF,63,1");
    EXPECT_TRUE(channel.rs232_watchModemSignals());
    EXPECT_TRUE(channel.openChannel());
    ASSERT_EQ(library.proCalls.size(), 1u);
    EXPECT_EQ(library.proCalls[0], (std::vector<int>{1, 1, 2, 14, 9600, 0, 0, 8, 63, 1}));
    channel.closeChannel();
    EXPECT_EQ(library.proCloses, 1);
}

TEST_F(ChannelTest, TapErrorTexts) {
    channel.setQueueID(2);
    struct Expect {
        int result;
        const char* text;
    };
    const Expect tap[] = {{-2, "TAP device drivers (FTDI) not installed."},
                          {1, "TAP device error #1 - Device not ready / already busy"},
                          {2, "TAP device error #2 - Device not found"},
                          {4, "TAP (FTDI device) error #4 - General IO Error"},
                          {10001, "TAP (FTDI device) error #10001 - no FTDI drivers installed"},
                          {99, "TAP (FTDI device) error #99 - "},
                          {-7, "TAP internal error #-7"}};
    channel.setChannelSettings("TAP0");
    for (const auto& c : tap) {
        library.ftdiResult = c.result;
        EXPECT_FALSE(channel.openChannel());
        EXPECT_EQ(channel.channelLastError(), c.text);
        EXPECT_EQ(channel.channelStatus(), ChannelStatus::Error);
    }
    channel.setChannelSettings("VTP0");
    library.proResult = 2;
    EXPECT_FALSE(channel.openChannel());
    EXPECT_EQ(channel.channelLastError(), "VTP device error #2 - Device not found");
}

TEST_F(ChannelTest, PortAvailability) {
    library.missingPorts = {0, 1, 2};
    EXPECT_FALSE(channel.rs232_isPortAvailable(1));
    EXPECT_TRUE(channel.rs232_isPortAvailable(4));
    EXPECT_FALSE(channel.rs232_isPortAvailable(0));
    EXPECT_FALSE(channel.rs232_isPortAvailable(257));
    EXPECT_EQ(channel.rs232_findNextPort(1), "COM4");
    EXPECT_EQ(channel.rs232_findNextPort(5), "COM5");
    EXPECT_EQ(channel.rs232_findNextPort(256), "COM256");
    EXPECT_EQ(channel.rs232_findNextPort(0), "");
    EXPECT_EQ(channel.rs232_findNextPort(-3), "");
    EXPECT_EQ(channel.rs232_findNextPort(257), "");
}

} // namespace
} // namespace corvane
