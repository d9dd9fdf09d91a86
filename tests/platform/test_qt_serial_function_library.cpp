#include "PtyPair.h"
#include "QtTestSupport.h"

#include "communication/ClCommChannel.h"
#include "platform/qt/LinuxSerialControl.h"
#include "platform/qt/QtSerialFunctionLibrary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

namespace corvane {
namespace {

using test::PtyPair;

// A library whose COM numbers are mapped by a private environment, as CORVANE_COM<n> does.
class SerialLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureQtApplication();
        ASSERT_TRUE(pty.ok());
        environment["CORVANE_COM5"] = pty.path();
        library = makeLibrary();
    }

    std::unique_ptr<QtSerialFunctionLibrary> makeLibrary() {
        return std::make_unique<QtSerialFunctionLibrary>(store, nullptr, [this](const std::string& name) {
            auto it = environment.find(name);
            return it == environment.end() ? std::nullopt : std::optional<std::string>(it->second);
        });
    }

    // Collects the data of packets until count bytes came or the time is up.
    std::vector<std::uint8_t> receive(std::size_t count,
                                      std::vector<std::vector<std::int16_t>>* headers = nullptr,
                                      int timeoutMs = 3000) {
        std::vector<std::uint8_t> data;
        std::vector<std::int16_t> buffer(packet::kBufferWords);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (data.size() < count && std::chrono::steady_clock::now() < deadline) {
            library->libWaitForPacket(10);
            int n = library->libRXQueueRead(buffer.data());
            if (n < 0) {
                continue;
            }
            if (headers != nullptr) {
                headers->emplace_back(buffer.begin(), buffer.begin() + packet::kHeaderWords);
            }
            for (int i = 0; i < n; ++i) {
                data.push_back(static_cast<std::uint8_t>(buffer[packet::kHeaderWords + i]));
            }
        }
        return data;
    }

    PtyPair pty;
    MemorySettingsStore store;
    std::map<std::string, std::string> environment;
    std::unique_ptr<QtSerialFunctionLibrary> library;
};

TEST_F(SerialLibraryTest, OpenAppliesLineSettingsSeenFromTheOtherSide) {
    ASSERT_GE(library->SioResetExt(4, 4096, 4096, 19200, kParityEven, kStopBitsTwo, 8, 63, kFlowRtsCts), 0);
    termios t{};
    ASSERT_EQ(tcgetattr(pty.master(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B19200);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
    EXPECT_TRUE(t.c_iflag & PARMRK) << "parity errors are marked so the error character can replace them";
    EXPECT_TRUE(t.c_iflag & INPCK);
    EXPECT_FALSE(t.c_iflag & IXON);

    // New parameters while open: no parity, one stop bit, XON/XOFF; the baud rate stays.
    ASSERT_GE(library->SioParmsExt(4, kParityNone, kStopBitsOne, 8, 63, kFlowXonXoff), 0);
    ASSERT_EQ(tcgetattr(pty.master(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B19200);
    EXPECT_FALSE(t.c_cflag & (CSTOPB | CRTSCTS));
    EXPECT_TRUE(t.c_iflag & IXON);
    EXPECT_TRUE(t.c_iflag & IXOFF);
    EXPECT_FALSE(t.c_iflag & PARMRK);
    EXPECT_EQ(library->SioDone(4), 0);
}

TEST_F(SerialLibraryTest, CharacterSizeAndParityAreAcceptedOnAPseudoTerminal) {
    // The kernel keeps pseudo-terminals at 8 bits without parity; the port still opens.
    ASSERT_GE(library->SioResetExt(4, 4096, 4096, 9600, kParityOdd, kStopBitsOneAndHalf, 5, 63, kFlowOff), 0);
    termios t{};
    ASSERT_EQ(tcgetattr(pty.master(), &t), 0);
    EXPECT_TRUE(t.c_cflag & CSTOPB) << "1.5 stop bits are two stop bits to Linux";
    EXPECT_EQ(library->SioResetExt(5, 4096, 4096, 9600, 0, 0, 4, 63, 0), kSioBadPort);
    EXPECT_EQ(library->SioParmsExt(4, kParityNone, kStopBitsOne, 9, 63, kFlowOff), kSioBadByteSize);
}

TEST_F(SerialLibraryTest, CustomBaudRate) {
    ASSERT_GE(library->SioResetExt(4, 4096, 4096, 250000, kParityNone, kStopBitsOne, 8, 63, kFlowOff), 0);
    linuxserial::LineSnapshot snapshot;
    ASSERT_EQ(linuxserial::readLineSettings(pty.master(), snapshot), 0);
    EXPECT_EQ(snapshot.ospeed, 250000u);
}

TEST_F(SerialLibraryTest, NoneLineSettingsKeepThePortsOwnSettings) {
    termios t{};
    ASSERT_EQ(tcgetattr(pty.master(), &t), 0);
    cfsetspeed(&t, B4800);
    t.c_cflag |= CSTOPB;
    t.c_iflag |= IXON;
    ASSERT_EQ(tcsetattr(pty.master(), TCSANOW, &t), 0);

    ASSERT_GE(library->SioResetExt(4, 4096, 4096, 0, kParityNone, kStopBitsOne, 8, 63, kFlowOff), 0);
    termios after{};
    ASSERT_EQ(tcgetattr(pty.master(), &after), 0);
    EXPECT_EQ(cfgetospeed(&after), B4800);
    EXPECT_TRUE(after.c_cflag & CSTOPB);
    EXPECT_TRUE(after.c_iflag & IXON);
}

TEST_F(SerialLibraryTest, TransmitAndReceiveInBothDirections) {
    ASSERT_GE(library->SioResetExt(4, 4096, 4096, 115200, kParityNone, kStopBitsOne, 8, 63, kFlowOff), 0);
    ASSERT_GE(library->libInitQueueing(4, 2, 0, kQueueingModeTimestamped), 0);

    // Far end to library, three blocks a little apart: packets of queue id 2, stamped in order.
    std::vector<std::vector<std::int16_t>> headers;
    std::vector<std::uint8_t> expected;
    for (int block = 0; block < 3; ++block) {
        std::vector<std::uint8_t> data = {static_cast<std::uint8_t>('a' + block), 0x00, 0xFF, 0x0D, 0x0A};
        ASSERT_TRUE(pty.write(data));
        expected.insert(expected.end(), data.begin(), data.end());
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(receive(expected.size(), &headers), expected);
    ASSERT_GE(headers.size(), 2u);
    HiresTime now;
    library->libGetHiresTime(now);
    auto stamp = [](const std::vector<std::int16_t>& h) {
        return ((h[packet::kHour] * 60 + h[packet::kMinute]) * 60 + h[packet::kSecond]) * 1000 +
               h[packet::kMillisecond];
    };
    for (std::size_t i = 0; i < headers.size(); ++i) {
        EXPECT_EQ(headers[i][packet::kSourceQueueId], 2);
        EXPECT_EQ(headers[i][packet::kYear], now.year);
        EXPECT_EQ(headers[i][packet::kStatus], 0);
        if (i > 0) {
            EXPECT_GE(stamp(headers[i]), stamp(headers[i - 1]));
        }
    }
    EXPECT_GT(stamp(headers.back()), stamp(headers.front()));

    // Library to far end; words outside 0..255 are not put on the line.
    std::vector<std::int16_t> words = {'H', 'i', -37, 0, 255, '\r'};
    EXPECT_GT(library->libTXQueueWrite(4, words.data(), static_cast<int>(words.size()), 2), 0);
    EXPECT_EQ(pty.read(5), (std::vector<std::uint8_t>{'H', 'i', 0, 255, '\r'}));
    EXPECT_TRUE(test::pumpUntil(
        [&] { return library->libPortTXBytes(4) == 0 && library->libTXQueueStatus(2) == 0; }));
}

TEST_F(SerialLibraryTest, NothingIsLostWhileTheMainThreadIsBusy) {
    ASSERT_GE(library->SioResetExt(4, 4096, 4096, 115200, kParityNone, kStopBitsOne, 8, 63, kFlowOff), 0);
    ASSERT_GE(library->libInitQueueing(4, 1, 0, kQueueingModeTimestamped), 0);
    std::vector<std::uint8_t> data(200000);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>((i * 7 + i / 256) & 0xFF);
    }
    bool written = false;
    std::thread writer([&] { written = pty.write(data); });
    // The main thread does something else for half a second; the I/O thread keeps reading.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    writer.join();
    ASSERT_TRUE(written);
    EXPECT_EQ(library->libRXQueueStatus(), 0);
    std::vector<std::uint8_t> received = receive(data.size(), nullptr, 5000);
    EXPECT_EQ(received.size(), data.size());
    EXPECT_TRUE(received == data);
}

TEST_F(SerialLibraryTest, ClosingTheOtherEndReportsAnIoErrorAndTheChannelFails) {
    ClCommChannel channel(*library);
    channel.setQueueID(2);
    channel.setChannelSettings("COM5:9600,NONE,8,1");
    ASSERT_TRUE(channel.openChannel()) << channel.channelLastError();
    pty.closeMaster();

    std::vector<std::int16_t> buffer(packet::kBufferWords);
    bool reported = false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!reported && std::chrono::steady_clock::now() < deadline) {
        library->libWaitForPacket(20);
        if (library->libRXQueueRead(buffer.data()) >= 0) {
            reported = (buffer[packet::kStatus] & packet::kGeneralIoError) != 0;
            EXPECT_EQ(buffer[packet::kSourceQueueId], 2);
        }
    }
    EXPECT_TRUE(reported);
    std::vector<CharCode> data = {'x'};
    EXPECT_FALSE(channel.transmitData(data, 0, 0));
    EXPECT_EQ(channel.channelStatus(), ChannelStatus::Error);
    EXPECT_EQ(channel.channelLastError(), "Error while transmitting");
    bool cts = true, dsr = true, dcd = true, changed = false;
    channel.rs232_readHandshakeLines(cts, dsr, dcd, changed);
    EXPECT_FALSE(cts || dsr || dcd);
    channel.closeChannel();
    EXPECT_FALSE(channel.IsOpen());
}

TEST_F(SerialLibraryTest, SecondOpenOfTheSamePortIsRefused) {
    ClCommChannel first(*library);
    first.setChannelSettings("COM5");
    ASSERT_TRUE(first.openChannel());

    ClCommChannel second(*library);
    second.setChannelSettings("COM5");
    EXPECT_FALSE(second.openChannel());
    EXPECT_EQ(second.channelLastErrNum(), kSioAlreadyOpen);
    EXPECT_EQ(second.channelLastError(), "COM port already open");
    EXPECT_EQ(second.channelStatus(), ChannelStatus::Error);

    // Another program (a second library with its own I/O thread) is refused the same way.
    auto other = makeLibrary();
    EXPECT_EQ(other->SioResetExt(4, 4096, 4096, 9600, 0, 0, 8, 63, 0), kSioAlreadyOpen);

    // Closing the refused channel leaves the first one's port alone.
    second.closeChannel();
    std::vector<CharCode> data = {'o', 'k'};
    first.setQueueID(0);
    EXPECT_TRUE(library->libTXQueueWrite(4, data.data(), 2, 0) > 0);
    EXPECT_EQ(pty.read(2), (std::vector<std::uint8_t>{'o', 'k'}));
}

TEST_F(SerialLibraryTest, PortNamesThatLeadNowhere) {
    EXPECT_EQ(library->SioResetExt(6, 4096, 4096, 9600, 0, 0, 8, 63, 0), kSioBadPort);
    EXPECT_EQ(library->SioResetExt(-1, 4096, 4096, 9600, 0, 0, 8, 63, 0), kSioBadPort);
    EXPECT_EQ(library->SioResetExt(256, 4096, 4096, 9600, 0, 0, 8, 63, 0), kSioBadPort);
    environment["CORVANE_COM7"] = "/dev/corvane-no-such-device";
    EXPECT_EQ(library->SioResetExt(6, 4096, 4096, 9600, 0, 0, 8, 63, 0), kSioCannotOpen);
    EXPECT_EQ(library->SioResetExt(4, 4096, 4096, 9600, 0, 0, 9, 63, 0), kSioBadByteSize);
    EXPECT_FALSE(library->libPortAvailable(6));
    EXPECT_FALSE(library->libPortAvailable(7));
    EXPECT_TRUE(library->libPortAvailable(4));
    EXPECT_TRUE(library->libPortAvailable(kLoopbackPort));
    EXPECT_LT(library->SioDone(6), 0);
}

TEST_F(SerialLibraryTest, ModemLinesOfAPseudoTerminalReadLowWithoutError) {
    ASSERT_GE(library->SioResetExt(4, 4096, 4096, 9600, 0, 0, 8, 63, 0), 0);
    EXPECT_EQ(library->SioCTS(4), 0);
    EXPECT_EQ(library->SioDSR(4), 0);
    EXPECT_EQ(library->SioDCD(4), 0);
    EXPECT_EQ(library->SioRI(4), 0);
    EXPECT_GE(library->SioRTS(4, 'S'), 0);
    EXPECT_GE(library->SioDTR(4, 'C'), 0);
    EXPECT_GE(library->SioBrkSig(4, 'A'), 0);
    EXPECT_GE(library->SioBrkSig(4, 'C'), 0);
    EXPECT_LT(library->SioCTS(9), 0) << "a port that is not open";

    // Watched lines: every packet carries the line states.
    ASSERT_GE(library->libInitQueueing(4, 1, 1, kQueueingModeTimestamped), 0);
    ASSERT_TRUE(pty.write({'z'}));
    std::vector<std::vector<std::int16_t>> headers;
    EXPECT_EQ(receive(1, &headers), std::vector<std::uint8_t>{'z'});
    ASSERT_FALSE(headers.empty());
    EXPECT_EQ(headers[0][packet::kStatus] & packet::kLinesValid, packet::kLinesValid);
    EXPECT_EQ(headers[0][packet::kStatus] & (packet::kLineCTS | packet::kLineDSR), 0);
}

TEST_F(SerialLibraryTest, PolledReadingWithoutQueueId) {
    ClCommChannel channel(*library);
    channel.setChannelSettings("COM5");
    ASSERT_TRUE(channel.openChannel());
    int events = 0;
    channel.evNewInputData = [&] { ++events; };
    ASSERT_TRUE(pty.write({'p', 'o', 'l', 'l'}));
    std::vector<CharCode> received;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (received.size() < 4 && std::chrono::steady_clock::now() < deadline) {
        channel.processIncomingData();
        std::vector<CharCode> piece;
        channel.readData(piece);
        received.insert(received.end(), piece.begin(), piece.end());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(received, (std::vector<CharCode>{'p', 'o', 'l', 'l'}));
    EXPECT_GE(events, 1);
}

TEST_F(SerialLibraryTest, ByteMarkedAsFaultyIsReplacedAndDoubledFFIsUndone) {
    ASSERT_GE(library->SioResetExt(4, 4096, 4096, 9600, kParityEven, kStopBitsOne, 8, '#', kFlowOff), 0);
    ASSERT_GE(library->libInitQueueing(4, 2, 0, kQueueingModeTimestamped), 0);
    ASSERT_TRUE(pty.write({'A', 0xFF, 'B'}));
    EXPECT_EQ(receive(3), (std::vector<std::uint8_t>{'A', 0xFF, 'B'}));
}

TEST_F(SerialLibraryTest, LoopbackPortReturnsEveryByteInOrder) {
    ASSERT_GE(library->SioResetExt(kLoopbackPort, 4096, 4096, 115200, 0, 0, 8, 63, 0), 0);
    ASSERT_GE(library->libInitQueueing(kLoopbackPort, 2, 0, kQueueingModeTimestamped), 0);
    std::vector<std::int16_t> words;
    std::vector<std::uint8_t> expected;
    for (int i = 0; i < 3000; ++i) {
        words.push_back(static_cast<std::int16_t>(i % 256));
        expected.push_back(static_cast<std::uint8_t>(i % 256));
    }
    for (std::size_t offset = 0; offset < words.size(); offset += 1000) {
        ASSERT_GT(library->libTXQueueWrite(kLoopbackPort, words.data() + offset, 1000, 2), 0);
    }
    EXPECT_EQ(receive(expected.size(), nullptr, 5000), expected);
    EXPECT_EQ(library->libPortTXBytes(kLoopbackPort), 0);
    // A loopback plug: CTS follows RTS, DSR and DCD follow DTR.
    EXPECT_EQ(library->SioCTS(kLoopbackPort), 1);
    library->SioRTS(kLoopbackPort, 'C');
    EXPECT_EQ(library->SioCTS(kLoopbackPort), 0);
    library->SioDTR(kLoopbackPort, 'C');
    EXPECT_EQ(library->SioDSR(kLoopbackPort), 0);
    EXPECT_EQ(library->SioDCD(kLoopbackPort), 0);
    EXPECT_EQ(library->SioDone(kLoopbackPort), 0);
}

TEST_F(SerialLibraryTest, LoopbackGivesWayToAMappedDevice) {
    environment["CORVANE_COM256"] = pty.path();
    ASSERT_GE(library->SioResetExt(kLoopbackPort, 4096, 4096, 9600, 0, 0, 8, 63, 0), 0);
    std::vector<std::int16_t> words = {'d', 'e', 'v'};
    ASSERT_GT(library->libTXQueueWrite(kLoopbackPort, words.data(), 3, 0), 0);
    EXPECT_EQ(pty.read(3), (std::vector<std::uint8_t>{'d', 'e', 'v'}));
}

TEST_F(SerialLibraryTest, EnvironmentVariableOfTheProcessMapsAPort) {
    setenv("CORVANE_COM9", pty.path().c_str(), 1);
    QtSerialFunctionLibrary fromProcess(store, nullptr);
    EXPECT_GE(fromProcess.SioResetExt(8, 4096, 4096, 9600, 0, 0, 8, 63, 0), 0);
    EXPECT_EQ(fromProcess.SioDone(8), 0);
    unsetenv("CORVANE_COM9");
}

TEST_F(SerialLibraryTest, MonitoringTapOpensReadOnlyThroughTheResolver) {
    EXPECT_EQ(library->libInitFTDIMonitor(0, 1, kQueueingModeTimestamped, 9600, 0, 0, 8, 63),
              kMonitorNoDrivers);
    library->setTapResolver([this](int tap, std::string& path) {
        path = tap == 0 ? pty.path() : std::string();
        return path.empty() ? kMonitorNotFound : kMonitorOk;
    });
    EXPECT_EQ(library->libInitFTDIMonitor(1, 1, kQueueingModeTimestamped, 9600, 0, 0, 8, 63),
              kMonitorNotFound);
    ASSERT_EQ(library->libInitFTDIMonitor(0, 1, kQueueingModeTimestamped, 9600, 0, 0, 8, 63), kMonitorOk);
    EXPECT_EQ(library->libInitFTDIMonitor(0, 2, kQueueingModeTimestamped, 9600, 0, 0, 8, 63), kMonitorBusy);
    ASSERT_TRUE(pty.write({'t', 'a', 'p'}));
    std::vector<std::vector<std::int16_t>> headers;
    EXPECT_EQ(receive(3, &headers), (std::vector<std::uint8_t>{'t', 'a', 'p'}));
    ASSERT_FALSE(headers.empty());
    EXPECT_EQ(headers[0][packet::kSourceQueueId], 1);
    EXPECT_GE(library->libCloseFTDIMonitor(1), 0);
    EXPECT_EQ(library->libInitFTDIMonitor(0, 2, kQueueingModeTimestamped, 9600, 0, 0, 8, 63), kMonitorOk);
}

TEST_F(SerialLibraryTest, LineChangesOfAWatchedPortArriveAsPacketsWithoutData) {
    ASSERT_GE(library->SioResetExt(kLoopbackPort, 4096, 4096, 9600, 0, 0, 8, 63, 0), 0);
    ASSERT_GE(library->libInitQueueing(kLoopbackPort, 2, 1, kQueueingModeTimestamped), 0);
    ASSERT_GE(library->SioRTS(kLoopbackPort, 'C'), 0);
    std::vector<std::int16_t> buffer(packet::kBufferWords);
    int count = -1;
    ASSERT_TRUE(test::pumpUntil([&] { return (count = library->libRXQueueRead(buffer.data())) >= 0; }));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(buffer[packet::kSourceQueueId], 2);
    auto status = static_cast<std::uint16_t>(buffer[packet::kStatus]);
    EXPECT_EQ(status & (packet::kLineChange | packet::kLinesValid),
              packet::kLineChange | packet::kLinesValid);
    EXPECT_EQ(status & packet::kLineCTS, 0) << "CTS follows RTS on the loopback port";
    EXPECT_EQ(status & packet::kLineDSR, packet::kLineDSR);
}

TEST_F(SerialLibraryTest, RtsIsHighOnlyWhileSending) {
    ASSERT_GE(library->SioResetExt(kLoopbackPort, 4096, 4096, 300, 0, 0, 8, 63, kFlowRtsSend), 0);
    EXPECT_EQ(library->SioCTS(kLoopbackPort), 0) << "RTS low while idle";
    library->SioRTS(kLoopbackPort, 'S');
    EXPECT_EQ(library->SioCTS(kLoopbackPort), 0) << "RTS belongs to the flow control";
    std::vector<std::int16_t> words(20, 'r');
    ASSERT_GT(library->libTXQueueWrite(kLoopbackPort, words.data(), 20, 0), 0);
    EXPECT_EQ(library->SioCTS(kLoopbackPort), 1) << "RTS raised for the transmission";
    EXPECT_GT(library->libPortTXBytes(kLoopbackPort), 0);
    ASSERT_GE(library->SioDone(kLoopbackPort), 0);

    ASSERT_GE(library->SioResetExt(kLoopbackPort, 4096, 4096, 115200, 0, 0, 8, 63, kFlowRtsSend), 0);
    ASSERT_GT(library->libTXQueueWrite(kLoopbackPort, words.data(), 1, 0), 0);
    EXPECT_TRUE(test::pumpUntil([&] { return library->SioCTS(kLoopbackPort) == 0; }))
        << "RTS drops once the line is idle again";
}

TEST_F(SerialLibraryTest, QueuedBytesThatCannotBeHeldBackOverflowTheQueue) {
    // Ports are held back before the queue fills; what a caller queues itself (the data of a
    // network channel) can't be, and a full queue drops it and says so.
    QtSerialFunctionLibrary small(
        store, nullptr,
        [this](const std::string& name) {
            return name == "CORVANE_COM5" ? std::optional<std::string>(pty.path()) : std::nullopt;
        },
        200);
    ASSERT_GE(small.SioResetExt(4, 4096, 4096, 9600, 0, 0, 8, 63, 0), 0);
    ASSERT_GE(small.libInitQueueing(4, 1, 0, kQueueingModeTimestamped), 0);
    std::vector<std::uint8_t> bytes(150, 'q');
    EXPECT_EQ(small.libRXQueueWriteBytes(bytes.data(), 150, 2), 150);
    EXPECT_EQ(small.libRXQueueStatus(), 0);
    EXPECT_EQ(small.libRXQueueWriteBytes(bytes.data(), 150, 2), 150);
    EXPECT_EQ(small.libRXQueueStatus(), 2);
    small.libRXQueueErase();
    EXPECT_EQ(small.libRXQueueStatus(), 0);
    // The port is still read after the overflow.
    ASSERT_TRUE(pty.write({'!'}));
    std::vector<std::int16_t> buffer(packet::kBufferWords);
    EXPECT_TRUE(test::pumpUntil([&] { return small.libRXQueueRead(buffer.data()) == 1; }));
}

} // namespace
} // namespace corvane
