// The pure parts of the serial function library: receive queue, port map, parity marks,
// loopback line timing and the clock.
#include "platform/SettingsStore.h"
#include "platform/fakes/FakeSerialDeviceEnumerator.h"
#include "platform/serial/HiresClock.h"
#include "platform/serial/LoopbackLine.h"
#include "platform/serial/ParityMarkDecoder.h"
#include "platform/serial/PortMap.h"
#include "platform/serial/ReceiveQueue.h"

#include <gtest/gtest.h>

#include <map>
#include <poll.h>
#include <thread>

namespace corvane {
namespace {

HiresTime sampleTime() {
    HiresTime t;
    t.year = 2026;
    t.month = 12;
    t.day = 7;
    t.hour = 23;
    t.minute = 59;
    t.second = 58;
    t.millisecond = 999;
    return t;
}

TEST(ReceiveQueue, PacketLayoutAndOrder) {
    ReceiveQueue queue;
    std::vector<std::int16_t> buffer(packet::kBufferWords);
    EXPECT_EQ(queue.read(buffer.data()), -1);
    const std::uint8_t first[] = {0x00, 0x7F, 0xFF};
    queue.pushBytes(1, sampleTime(), 0, first, 3);
    queue.pushBytes(2, sampleTime(), packet::kLineChange | packet::kLinesValid, nullptr, 0);
    std::vector<std::uint8_t> big(packet::kMaxDataWords + 10, 0xAA);
    queue.pushBytes(2, sampleTime(), 0, big.data(), big.size());

    ASSERT_EQ(queue.read(buffer.data()), 3);
    EXPECT_EQ(std::vector<std::int16_t>(buffer.begin(), buffer.begin() + 12),
              (std::vector<std::int16_t>{1, 2026, 12, 7, 23, 59, 58, 999, 0, 0x00, 0x7F, 0xFF}));
    ASSERT_EQ(queue.read(buffer.data()), 0) << "a line report without data";
    EXPECT_EQ(buffer[packet::kSourceQueueId], 2);
    EXPECT_EQ(static_cast<std::uint16_t>(buffer[packet::kStatus]), packet::kLineChange | packet::kLinesValid);
    EXPECT_EQ(queue.read(buffer.data()), packet::kMaxDataWords);
    EXPECT_EQ(queue.read(buffer.data()), 10);
    EXPECT_EQ(queue.read(buffer.data()), -1);
    EXPECT_EQ(queue.wordCount(), 0u);

    const std::int16_t words[] = {-37, 65};
    queue.pushWords(0, sampleTime(), 0, words, 2);
    ASSERT_EQ(queue.read(buffer.data()), 2);
    EXPECT_EQ(buffer[packet::kHeaderWords], -37);
}

TEST(ReceiveQueue, OverflowDropsAndIsReportedUntilErased) {
    ReceiveQueue queue(100);
    std::vector<std::uint8_t> data(60, 1);
    EXPECT_TRUE(queue.pushBytes(1, sampleTime(), 0, data.data(), data.size()));
    EXPECT_FALSE(queue.pushBytes(1, sampleTime(), 0, data.data(), data.size())) << "never blocks, drops";
    EXPECT_EQ(queue.status(), 2);
    EXPECT_EQ(queue.packetCount(), 1u);
    queue.erase();
    EXPECT_EQ(queue.status(), 0);
    EXPECT_EQ(queue.packetCount(), 0u);
    EXPECT_TRUE(queue.pushBytes(1, sampleTime(), 0, data.data(), data.size()));
}

TEST(ReceiveQueue, ReadersAreTurnedAwayAboveTheHighWaterMarkUntilTheLowWaterMark) {
    ReceiveQueue queue(20000); // high water 10000 words, low water 5000
    int resumed = 0;
    queue.setResumeHandler([&] { ++resumed; });
    std::vector<std::int16_t> buffer(packet::kBufferWords);
    std::vector<std::uint8_t> block(1000, 7);

    EXPECT_EQ(queue.admissibleBytes(1000), 1000u);
    while (queue.wordCount() < queue.highWaterWords()) {
        ASSERT_TRUE(queue.pushBytes(1, sampleTime(), 0, block.data(), block.size()));
    }
    EXPECT_EQ(queue.admissibleBytes(1000), 0u) << "at the high-water mark";
    EXPECT_TRUE(queue.readersHeld());

    // Reading below the high-water mark is not enough: readers wait for the low-water mark, and
    // are told once.
    ASSERT_GE(queue.read(buffer.data()), 0);
    EXPECT_EQ(queue.admissibleBytes(1000), 0u);
    EXPECT_EQ(resumed, 0);
    while (queue.wordCount() > queue.lowWaterWords()) {
        ASSERT_GE(queue.read(buffer.data()), 0);
    }
    EXPECT_EQ(resumed, 1);
    EXPECT_FALSE(queue.readersHeld());
    EXPECT_EQ(queue.admissibleBytes(1000), 1000u);
    while (queue.read(buffer.data()) >= 0) {
    }
    EXPECT_EQ(resumed, 1);
    EXPECT_EQ(queue.status(), 0) << "nothing was dropped";
}

TEST(ReceiveQueue, AdmittedBytesAlwaysFitWithTheirHeaders) {
    // However full the queue, a reader that queues what it was admitted never overflows it, and
    // room stays for the reports of line changes.
    for (std::size_t capacity : {200u, 1000u, 9000u, 70000u}) {
        ReceiveQueue queue(capacity);
        std::size_t wanted = 65536;
        while (std::size_t admitted = queue.admissibleBytes(wanted)) {
            std::vector<std::uint8_t> data(admitted, 1);
            ASSERT_TRUE(queue.pushBytes(2, sampleTime(), 0, data.data(), data.size())) << capacity;
            wanted = wanted / 2 + 1;
        }
        for (int report = 0; report < 8; ++report) {
            EXPECT_TRUE(queue.pushBytes(2, sampleTime(), packet::kLineChange, nullptr, 0)) << capacity;
        }
        EXPECT_EQ(queue.status(), 0) << capacity;
    }
}

TEST(ReceiveQueue, EmptyingTheQueueResumesHeldReaders) {
    ReceiveQueue queue(2000);
    int resumed = 0;
    queue.setResumeHandler([&] { ++resumed; });
    std::vector<std::uint8_t> data(1200, 1);
    queue.pushBytes(1, sampleTime(), 0, data.data(), data.size());
    EXPECT_EQ(queue.admissibleBytes(10), 0u);
    queue.erase();
    EXPECT_EQ(resumed, 1);
    EXPECT_EQ(queue.admissibleBytes(10), 10u);
}

TEST(ReceiveQueue, WaitReturnsWhenAPacketArrives) {
    ReceiveQueue queue;
    EXPECT_FALSE(queue.waitForPacket(0));
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const std::uint8_t b = 1;
        queue.pushBytes(1, sampleTime(), 0, &b, 1);
    });
    EXPECT_TRUE(queue.waitForPacket(5000));
    writer.join();
    EXPECT_TRUE(queue.waitForPacket(5000)) << "a packet is there: no wait";
    std::vector<std::int16_t> buffer(packet::kBufferWords);
    queue.read(buffer.data());
    // The wait watches a descriptor that a packet makes readable, so that a caller can watch
    // other descriptors beside it.
    ASSERT_TRUE(queue.beginWait());
    const std::uint8_t b = 2;
    queue.pushBytes(2, sampleTime(), 0, &b, 1);
    pollfd arrival{queue.arrivalDescriptor(), POLLIN, 0};
    EXPECT_EQ(::poll(&arrival, 1, 5000), 1);
    EXPECT_TRUE(queue.endWait(true));
    EXPECT_FALSE(queue.beginWait());
}

class PortMapTest : public ::testing::Test {
protected:
    PortMap makeMap() {
        return PortMap(store, &devices, [this](const std::string& name) {
            auto it = environment.find(name);
            return it == environment.end() ? std::nullopt : std::optional<std::string>(it->second);
        });
    }
    MemorySettingsStore store;
    FakeSerialDeviceEnumerator devices;
    std::map<std::string, std::string> environment;
};

TEST_F(PortMapTest, EnvironmentOverridesTheStoredMap) {
    store.setValue("Ports", "COM3", "  /dev/ttyUSB0 ");
    store.setValue("Ports", "COM4", "   ");
    PortMap map = makeMap();
    EXPECT_EQ(map.devicePath(3), "/dev/ttyUSB0");
    EXPECT_EQ(map.devicePath(4), "") << "a blank entry maps nothing";
    environment["CORVANE_COM3"] = "/dev/pts/7";
    environment["CORVANE_COM5"] = "";
    EXPECT_EQ(map.devicePath(3), "/dev/pts/7");
    EXPECT_EQ(map.devicePath(5), "");
    EXPECT_EQ(map.devicePath(0), "");
    EXPECT_EQ(map.devicePath(257), "");
}

TEST_F(PortMapTest, Com256IsTheLoopbackUnlessMapped) {
    PortMap map = makeMap();
    EXPECT_TRUE(map.isLoopback(256));
    EXPECT_FALSE(map.isLoopback(255));
    environment["CORVANE_COM256"] = "/dev/ttyS0";
    EXPECT_FALSE(map.isLoopback(256));
}

TEST_F(PortMapTest, NewDevicesGetTheLowestFreeNumberOnceAndForAll) {
    store.setValue("Ports", "COM1", "/dev/ttyS0");
    devices.devices = {
        {"/dev/ttyS0", "", "ttyS0", "", "", 0, 0, -1, 1},
        {"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_A", "FT232R USB UART", "FTDI", "A", 0x403, 1, 0, 1},
        {"/dev/ttyACM0", "", "Arduino Uno", "", "", 0x2341, 1, 0, 1}};
    PortMap map = makeMap();
    auto list = map.listPorts();
    EXPECT_EQ(store.valueOr("Ports", "COM2", ""), "/dev/serial/by-id/usb-FTDI_A")
        << "the stable path is kept";
    EXPECT_EQ(store.valueOr("Ports", "COM3", ""), "/dev/ttyACM0");
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].displayText, "COM1  (/dev/ttyS0, ttyS0)");
    // The node first, the stable name beside it.
    EXPECT_EQ(list[1].displayText, "COM2  (/dev/ttyUSB0, FT232R USB UART, /dev/serial/by-id/usb-FTDI_A)");
    EXPECT_EQ(list[1].systemPath, "/dev/ttyUSB0");
    EXPECT_EQ(list[1].stablePath, "/dev/serial/by-id/usb-FTDI_A");
    EXPECT_EQ(list[3].displayText, "COM256  (loopback)");
    EXPECT_TRUE(list[3].loopback);

    // An adapter that is unplugged keeps its number and says so.
    devices.devices.erase(devices.devices.begin() + 1);
    list = map.listPorts();
    EXPECT_EQ(list[1].displayText, "COM2  (/dev/serial/by-id/usb-FTDI_A, not present)");
    EXPECT_FALSE(list[1].present);

    // Plugged in again at another node: same number; nothing new is assigned.
    devices.devices = {
        {"/dev/ttyUSB3", "/dev/serial/by-id/usb-FTDI_A", "FT232R USB UART", "FTDI", "A", 0x403, 1, 0, 1}};
    EXPECT_EQ(map.assignNewDevices(), 0);
    EXPECT_EQ(map.listPorts()[1].displayText,
              "COM2  (/dev/ttyUSB3, FT232R USB UART, /dev/serial/by-id/usb-FTDI_A)");
    // A device whose COM number was taken by hand keeps it; numbers never reach COM256.
    for (int n = 4; n <= 255; ++n) {
        store.setValue("Ports", PortMap::keyFor(n), "/dev/used" + std::to_string(n));
    }
    devices.devices = {{"/dev/ttyUSB9", "", "new", "", "", 0, 0, -1, 1}};
    EXPECT_EQ(map.assignNewDevices(), 0);
    EXPECT_FALSE(store.value("Ports", "COM256").has_value());
}

TEST_F(PortMapTest, UnreachableDeviceListAssignsNothing) {
    devices.reachable = false;
    devices.devices = {{"/dev/ttyUSB0", "", "x", "", "", 0, 0, -1, 1}};
    PortMap map = makeMap();
    EXPECT_EQ(map.assignNewDevices(), 0);
    PortMap withoutEnumerator(store, nullptr, nullptr);
    EXPECT_EQ(withoutEnumerator.assignNewDevices(), 0);
    EXPECT_EQ(withoutEnumerator.devicePath(2), "");
}

TEST(ParityMarkDecoder, ReplacesMarkedBytesAndUndoesDoubling) {
    ParityMarkDecoder decoder;
    decoder.setErrorCharacter('#');
    std::vector<std::uint8_t> out;
    const std::uint8_t stream[] = {'A', 0xFF, 0x00, 'x', 'B', 0xFF, 0xFF, 'C'};
    EXPECT_EQ(decoder.decode(stream, sizeof stream, out), 1u);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{'A', '#', 'B', 0xFF, 'C'}));

    // A mark split across two reads.
    out.clear();
    const std::uint8_t part1[] = {'1', 0xFF};
    const std::uint8_t part2[] = {0x00};
    const std::uint8_t part3[] = {0x55, 0xFF};
    const std::uint8_t part4[] = {0xFF};
    decoder.decode(part1, 2, out);
    decoder.decode(part2, 1, out);
    decoder.decode(part3, 2, out);
    decoder.decode(part4, 1, out);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{'1', '#', 0xFF}));

    // Something the system never writes is passed on unchanged.
    out.clear();
    const std::uint8_t odd[] = {0xFF, 'z'};
    decoder.decode(odd, 2, out);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0xFF, 'z'}));
}

TEST(LoopbackLine, DeliversAtTheLineRateInOrder) {
    LoopbackLine line;
    line.configure(9600, 8, false, 0);
    EXPECT_NEAR(line.characterTimeUs(), 1041.67, 0.01);
    const std::uint8_t data[] = {1, 2, 3, 4};
    line.write(data, 4, 0);
    EXPECT_TRUE(line.takeDue(1000).empty());
    EXPECT_EQ(line.takeDue(1042), std::vector<std::uint8_t>{1});
    EXPECT_EQ(line.takeDue(3200), (std::vector<std::uint8_t>{2, 3}));
    const std::uint8_t more[] = {5};
    line.write(more, 1, 3200);
    EXPECT_EQ(line.takeDue(100000), (std::vector<std::uint8_t>{4, 5}));
    EXPECT_EQ(line.pending(), 0u);

    // An idle line starts the next character when it is written.
    line.write(more, 1, 200000);
    EXPECT_TRUE(line.takeDue(200500).empty());
    EXPECT_EQ(line.takeDue(201100).size(), 1u);

    line.configure(300, 7, true, 2); // 1 + 7 + 1 + 2 bits
    EXPECT_NEAR(line.characterTimeUs(), 1e6 * 11 / 300, 0.01);
    line.configure(0, 8, false, 1); // no baud rate: 9600; 1.5 stop bits
    EXPECT_NEAR(line.characterTimeUs(), 1e6 * 10.5 / 9600, 0.01);
}

TEST(HiresClock, LocalTimeFieldsAndMonotony) {
    HiresClock clock;
    std::int64_t before = clock.nowMilliseconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::int64_t after = clock.nowMilliseconds();
    EXPECT_GE(after - before, 5);
    HiresTime t = clock.now();
    EXPECT_GE(t.year, 2024);
    EXPECT_TRUE(t.month >= 1 && t.month <= 12);
    EXPECT_TRUE(t.millisecond >= 0 && t.millisecond <= 999);
    EXPECT_TRUE(t.weekday >= 0 && t.weekday <= 6);

    HiresTime epoch = HiresClock::toLocalTime(-1);
    EXPECT_EQ(epoch.millisecond, 999);
}

} // namespace
} // namespace corvane
