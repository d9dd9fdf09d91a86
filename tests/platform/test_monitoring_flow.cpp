// "Monitoring (Receive Only)" through the real library and engine over pseudo-terminals: a line
// that can't take forwarded data holds the sender on the other line back, and a pass takes a
// bounded share of what arrived.
#include "PtyPair.h"
#include "QtTestSupport.h"

#include "communication/CommunicationEngine.h"
#include "platform/HiresTimeSource.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/qt/QtSerialFunctionLibrary.h"
#include "support/DataOnlyOutputOptions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>

namespace corvane {
namespace {

using namespace std::chrono_literals;

// The text of the data output: comments apart from data, ASCII view only.
class TextRecorder : public CommPieceConsumer {
public:
    void writeCommPiece(int view, bool, int style, std::string_view text) override {
        if (view == 0) {
            (style == 0 ? comments : data).append(text);
        }
    }
    std::string comments;
    std::string data;
};

std::vector<std::uint8_t> pattern(std::size_t size) {
    std::vector<std::uint8_t> data(size);
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = static_cast<std::uint8_t>('0' + (i * 7 + i / 61) % 64);
    }
    return data;
}

class MonitoringFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureQtApplication();
        ASSERT_TRUE(lineA.ok() && lineB.ok());
        settings.channelA = "COM11:115200,NONE,8,1";
        settings.channelB = "COM12:115200,NONE,8,1";
        settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
        engine.output().setOptions(test::dataOnlyOutputOptions());
        engine.output().setEnabledRepresentations({true, false, false, false});
    }

    void start() {
        engine.startCommunication();
        ASSERT_TRUE(engine.communicationRuns()) << (messages.shown.empty() ? "" : messages.shown[0].text);
    }

    // Passes of the main loop, with its idle wait, until done() or the time is up.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 20s) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            if (engine.communicationPass()) {
                engine.idleWait(engine.idleWaitMs());
            }
        }
        return true;
    }

    test::PtyPair lineA;
    test::PtyPair lineB;
    std::map<std::string, std::string> environment{{"CORVANE_COM11", lineA.path()},
                                                   {"CORVANE_COM12", lineB.path()}};
    MemorySettingsStore store;
    // A small transmit buffer, so that a line that is not read fills it soon.
    QtSerialFunctionLibrary library{store, nullptr,
                                    [this](const std::string& name) {
                                        auto it = environment.find(name);
                                        return it == environment.end()
                                                   ? std::nullopt
                                                   : std::optional<std::string>(it->second);
                                    },
                                    std::size_t{1} << 18, 8192};
    RealSystemClock clock;
    LibraryHiresTimeSource timeSource{library};
    ClCommChannel channel1{library, nullptr, &clock};
    ClCommChannel channel2{library, nullptr, &clock};
    CommunicationSettings settings;
    ExpertOptions expert;
    SendSequenceList sendList;
    ReceiveSequenceList receiveList;
    FakeMessageService messages;
    TextRecorder recorder;
    CommunicationEngine engine{library,     channel1, channel2, settings, expert,    sendList,
                               receiveList, messages, clock,    recorder, timeSource};
};

TEST_F(MonitoringFlowTest, ALineThatCannotTakeForwardedDataHoldsTheSenderBackAndNothingIsLost) {
    start();
    const std::vector<std::uint8_t> data = pattern(1500000);
    std::atomic<std::size_t> written = 0;
    std::thread sender([&] {
        std::size_t done = 0;
        auto deadline = std::chrono::steady_clock::now() + 60s;
        while (done < data.size() && std::chrono::steady_clock::now() < deadline) {
            ssize_t n = ::write(lineA.master(), data.data() + done, data.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else {
                pollfd p{lineA.master(), POLLOUT, 0};
                ::poll(&p, 1, 10);
            }
        }
        written = done;
    });
    // B's far end reads nothing: its pseudo-terminal and the transmit buffer fill, the packet
    // waits, and line A is no longer read.
    ASSERT_TRUE(runUntil([&] { return engine.receive().forwardPending(); }));
    std::vector<std::uint8_t> received;
    for (int round = 0; round < 50; ++round) {
        runUntil([] { return false; }, 10ms);
    }
    EXPECT_TRUE(engine.receive().forwardPending());
    EXPECT_EQ(written.load(), 0u) << "the sender on line A is still held back";

    // B's far end reads again: everything arrives there, in order, and is shown once.
    std::atomic<std::size_t> arrived = 0;
    std::thread reader([&] {
        auto deadline = std::chrono::steady_clock::now() + 30s;
        while (received.size() < data.size() && std::chrono::steady_clock::now() < deadline) {
            auto got = lineB.read(data.size() - received.size(), 20);
            received.insert(received.end(), got.begin(), got.end());
            arrived = received.size();
        }
    });
    EXPECT_TRUE(runUntil([&] {
        return written == data.size() && recorder.data.size() == data.size() && arrived == data.size();
    }));
    reader.join();
    sender.join();
    EXPECT_EQ(received.size(), data.size());
    EXPECT_TRUE(received == data);
    EXPECT_TRUE(recorder.data == std::string(data.begin(), data.end()));
    EXPECT_EQ(recorder.comments.find("CORVANE reports"), std::string::npos) << recorder.comments;
    engine.stopCommunication();
}

TEST_F(MonitoringFlowTest, APassTakesABoundedShareOfWhatArrived) {
    expert.dataForwarding = 1;
    start();
    const std::vector<std::uint8_t> data = pattern(120000);
    ASSERT_TRUE(lineA.write(data));
    // The I/O thread takes all of it into the queue while no pass runs.
    ASSERT_TRUE(test::pumpUntil([&] { return library.receiveQueue().wordCount() >= data.size(); }, 10000));
    EXPECT_FALSE(engine.communicationPass());
    EXPECT_GE(recorder.data.size(), static_cast<std::size_t>(MdCommunicationReceive::kMaxDataWordsPerPass));
    EXPECT_LT(recorder.data.size(),
              static_cast<std::size_t>(MdCommunicationReceive::kMaxDataWordsPerPass + packet::kMaxDataWords));
    EXPECT_TRUE(runUntil([&] { return recorder.data.size() == data.size(); }));
    EXPECT_TRUE(recorder.data == std::string(data.begin(), data.end()));
    engine.stopCommunication();
}

} // namespace
} // namespace corvane
