// How data flows through the serial library over pseudo-terminals: transmissions that leave at
// once without the I/O thread, writes that queue behind each other, a receive queue that holds
// the sender back instead of dropping, and the idle wait that reads what arrives itself.
#include "PtyPair.h"
#include "QtTestSupport.h"

#include "platform/qt/DevicePort.h"
#include "platform/qt/QtSerialFunctionLibrary.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <map>
#include <mutex>
#include <thread>

namespace corvane {
namespace {

using namespace std::chrono_literals;
using test::PtyPair;

std::vector<std::uint8_t> pattern(std::size_t size, int seed) {
    std::vector<std::uint8_t> data(size);
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = static_cast<std::uint8_t>((i * 131 + i / 253 + static_cast<std::size_t>(seed)) & 0xFF);
    }
    return data;
}

std::vector<std::int16_t> words(const std::vector<std::uint8_t>& data, std::size_t offset,
                                std::size_t count) {
    return std::vector<std::int16_t>(data.begin() + static_cast<std::ptrdiff_t>(offset),
                                     data.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

// Keeps the library's I/O thread busy until released, as a long system call or a slow device
// would.
class IoThreadBlocker {
public:
    explicit IoThreadBlocker(QtSerialFunctionLibrary& library) {
        blocked_ = std::async(std::launch::async, [this, &library] {
            return library.runInIoThread([this] {
                inside_ = true;
                std::unique_lock lock(mutex_);
                released_.wait_for(lock, 20s, [this] { return release_; });
                inside_ = false;
                return 0;
            });
        });
        while (!inside_) {
            std::this_thread::sleep_for(1ms);
        }
    }
    ~IoThreadBlocker() { release(); }
    bool blocking() const { return inside_; }
    void release() {
        {
            std::lock_guard lock(mutex_);
            release_ = true;
        }
        released_.notify_all();
        if (blocked_.valid()) {
            blocked_.wait();
        }
    }

private:
    std::atomic<bool> inside_ = false;
    std::mutex mutex_;
    std::condition_variable released_;
    bool release_ = false;
    std::future<int> blocked_;
};

class SerialLibraryFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureQtApplication();
        ASSERT_TRUE(pty.ok());
    }

    std::unique_ptr<QtSerialFunctionLibrary>
    makeLibrary(std::size_t queueWords = ReceiveQueue::kDefaultCapacityWords,
                std::size_t transmitLimit = SerialPort::kDefaultTransmitLimit) {
        std::string path = pty.path();
        auto library = std::make_unique<QtSerialFunctionLibrary>(
            store, nullptr,
            [path](const std::string& name) {
                return name == "CORVANE_COM5" ? std::optional<std::string>(path) : std::nullopt;
            },
            queueWords, transmitLimit);
        EXPECT_GE(library->SioResetExt(4, 4096, 4096, 115200, kParityNone, kStopBitsOne, 8, 63, kFlowOff), 0);
        EXPECT_GE(library->libInitQueueing(4, 2, 0, kQueueingModeTimestamped), 0);
        return library;
    }

    // Takes packets out of the queue until count data bytes came or the time is up.
    static std::vector<std::uint8_t> drainQueue(QtSerialFunctionLibrary& library, std::size_t count,
                                                int timeoutMs = 5000) {
        std::vector<std::uint8_t> data;
        std::vector<std::int16_t> buffer(packet::kBufferWords);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (data.size() < count && std::chrono::steady_clock::now() < deadline) {
            library.libWaitForPacket(10);
            int n = 0;
            while ((n = library.libRXQueueRead(buffer.data())) >= 0) {
                for (int i = 0; i < n; ++i) {
                    data.push_back(static_cast<std::uint8_t>(
                        buffer[static_cast<std::size_t>(packet::kHeaderWords + i)]));
                }
            }
        }
        return data;
    }

    PtyPair pty;
    MemorySettingsStore store;
};

TEST_F(SerialLibraryFlowTest, ATransmissionLeavesAtOnceWhileTheIoThreadIsBusy) {
    auto library = makeLibrary();
    IoThreadBlocker blocker(*library);

    // Neither the transmission nor the state queries wait for the I/O thread.
    auto transmitted = std::async(std::launch::async, [&] {
        std::vector<std::int16_t> request = {'A', 'T', '\r'};
        return library->libTXQueueWrite(4, request.data(), 3, 2);
    });
    ASSERT_EQ(transmitted.wait_for(2s), std::future_status::ready) << "the transmission waited";
    EXPECT_EQ(transmitted.get(), 3);
    EXPECT_EQ(pty.read(3), (std::vector<std::uint8_t>{'A', 'T', '\r'}));
    auto states = std::async(std::launch::async, [&] {
        return std::vector<int>{library->libTXQueueStatus(2), library->libPortTXBytes(4), library->SioCTS(4),
                                library->SioDTR(4, 'S'), library->SioRxQue(4)};
    });
    ASSERT_EQ(states.wait_for(2s), std::future_status::ready) << "a state query waited";
    EXPECT_EQ(states.get(), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_TRUE(blocker.blocking()) << "all of it without the I/O thread";
}

TEST_F(SerialLibraryFlowTest, WritesThatQueueBehindEachOtherKeepTheirOrder) {
    auto library = makeLibrary();
    // Far more than the pseudo-terminal holds, while the far end does not read; part of it
    // while the I/O thread can't write either.
    const std::vector<std::uint8_t> data = pattern(400000, 1);
    std::size_t offset = 0;
    {
        IoThreadBlocker blocker(*library);
        for (; offset < data.size() / 2; offset += 4000) {
            auto block = words(data, offset, 4000);
            ASSERT_EQ(library->libTXQueueWrite(4, block.data(), 4000, 2), 4000);
        }
        EXPECT_GT(library->libTXQueueStatus(2), 0) << "bytes wait for the port";
        EXPECT_GT(library->libPortTXBytes(4), 0);
    }
    for (; offset < data.size(); offset += 4000) {
        auto block = words(data, offset, 4000);
        ASSERT_EQ(library->libTXQueueWrite(4, block.data(), 4000, 2), 4000);
    }
    EXPECT_TRUE(pty.read(data.size(), 10000) == data) << "every byte, in order";
    EXPECT_TRUE(test::pumpUntil(
        [&] { return library->libTXQueueStatus(2) == 0 && library->libPortTXBytes(4) == 0; }));
}

TEST_F(SerialLibraryFlowTest, AFullTransmitBufferRefusesUntilThePortTakesMore) {
    auto library = makeLibrary(ReceiveQueue::kDefaultCapacityWords, 8192);
    const std::vector<std::uint8_t> data = pattern(300000, 2);
    std::size_t accepted = 0;
    int refused = 0;
    while (accepted < data.size() && refused == 0) {
        auto block = words(data, accepted, 1000);
        int result = library->libTXQueueWrite(4, block.data(), 1000, 2);
        if (result == 0) {
            ++refused;
        } else {
            ASSERT_EQ(result, 1000);
            accepted += 1000;
        }
    }
    ASSERT_EQ(refused, 1) << "the far end reads nothing, so the buffer fills";
    EXPECT_GE(library->libTXQueueStatus(2), 8192 - 1000);
    // Once the far end reads, the rest is taken too.
    std::vector<std::uint8_t> received;
    while (accepted < data.size()) {
        auto got = pty.read(1, 50);
        received.insert(received.end(), got.begin(), got.end());
        auto block = words(data, accepted, 1000);
        if (library->libTXQueueWrite(4, block.data(), 1000, 2) > 0) {
            accepted += 1000;
        }
    }
    auto rest = pty.read(data.size() - received.size(), 10000);
    received.insert(received.end(), rest.begin(), rest.end());
    EXPECT_TRUE(received == data);
}

TEST_F(SerialLibraryFlowTest, AFullReceiveQueueHoldsTheSenderBackAndLosesNothing) {
    // High water 32768 words: the far end can write little more than that plus what the
    // pseudo-terminal holds before it has to wait.
    auto library = makeLibrary(65536);
    const std::vector<std::uint8_t> data = pattern(1000000, 3);
    std::atomic<std::size_t> written = 0;
    std::atomic<bool> stop = false;
    std::thread writer([&] {
        while (written < data.size() && !stop) {
            ssize_t n = ::write(pty.master(), data.data() + written,
                                std::min<std::size_t>(4096, data.size() - written));
            if (n > 0) {
                written += static_cast<std::size_t>(n);
            } else {
                pollfd p{pty.master(), POLLOUT, 0};
                ::poll(&p, 1, 10);
            }
        }
    });
    // Nothing is taken out of the queue until the writer has stopped making progress.
    std::size_t seen = 0;
    for (int quiet = 0; quiet < 20;) {
        std::this_thread::sleep_for(10ms);
        quiet = written == seen ? quiet + 1 : 0;
        seen = written;
    }
    EXPECT_LT(written.load(), data.size() / 2) << "the sender is held back";
    EXPECT_LE(library->receiveQueue().wordCount(), 65536u);
    EXPECT_EQ(library->libRXQueueStatus(), 0) << "no overflow";

    std::vector<std::uint8_t> received = drainQueue(*library, data.size(), 20000);
    stop = true;
    writer.join();
    EXPECT_EQ(written.load(), data.size());
    EXPECT_EQ(received.size(), data.size());
    EXPECT_TRUE(received == data) << "nothing lost, nothing reordered";
    EXPECT_EQ(library->libRXQueueStatus(), 0);
}

TEST(SerialLossReports, WhatTheSystemCountedAsLostIsReportedAsOverrunAndOverflow) {
    // A real UART without flow control can't be held back: the kernel's counters tell what it
    // lost, a receiver overrun as "COM port overrun", a full buffer as "Input buffer overflow".
    linuxserial::ErrorCounters before{3, 1, 1, 7};
    linuxserial::ErrorCounters now = before;
    EXPECT_TRUE(lossReports(before, now).empty());
    now.parity = 9;
    now.frame = 9;
    EXPECT_TRUE(lossReports(before, now).empty()) << "parity and framing errors are no loss of bytes";
    now.bufferOverrun = 8;
    EXPECT_EQ(lossReports(before, now), std::vector<std::uint16_t>{packet::kInputOverflow});
    now.overrun = 4;
    EXPECT_EQ(lossReports(before, now),
              (std::vector<std::uint16_t>{packet::kPortOverrun, packet::kInputOverflow}));
}

TEST_F(SerialLibraryFlowTest, AHeldQueueIdIsNotReadUntilResumed) {
    auto library = makeLibrary();
    ASSERT_EQ(library->libRXQueueHold(2, 1), 0);
    EXPECT_EQ(library->libRXQueueAdmissible(2, 100), 0) << "a TCP channel of the queue id waits too";
    EXPECT_EQ(library->libRXQueueAdmissible(1, 100), 100);
    EXPECT_EQ(library->libRXQueueAdmissible(3, 100), kSioRange);
    ASSERT_TRUE(pty.write({'h', 'e', 'l', 'd'}));
    EXPECT_FALSE(library->libWaitForPacket(100));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(library->receiveQueue().packetCount(), 0u) << "left in the pseudo-terminal";
    ASSERT_EQ(library->libRXQueueHold(2, 0), 0);
    EXPECT_EQ(library->libRXQueueAdmissible(2, 100), 100);
    EXPECT_EQ(drainQueue(*library, 4), (std::vector<std::uint8_t>{'h', 'e', 'l', 'd'}));
}

TEST_F(SerialLibraryFlowTest, TheIdleWaitReadsWhatArrivesItselfAndStampsIt) {
    auto library = makeLibrary();
    IoThreadBlocker blocker(*library);
    std::thread farEnd([&] {
        std::this_thread::sleep_for(30ms);
        pty.write({'n', 'o', 'w'});
    });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(library->libWaitForPacket(5000));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 4s) << "woken by the data, not the timeout";
    farEnd.join();
    std::vector<std::int16_t> buffer(packet::kBufferWords);
    ASSERT_EQ(library->libRXQueueRead(buffer.data()), 3);
    EXPECT_EQ(buffer[packet::kSourceQueueId], 2);
    HiresTime now;
    library->libGetHiresTime(now);
    EXPECT_EQ(buffer[packet::kYear], now.year);
    EXPECT_EQ(buffer[packet::kHeaderWords], 'n');
    EXPECT_TRUE(blocker.blocking()) << "read without the I/O thread";
}

} // namespace
} // namespace corvane
