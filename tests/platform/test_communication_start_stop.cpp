// Start and stop of communication with the real library over pseudo-terminals.
#include "PtyPair.h"
#include "QtTestSupport.h"

#include "communication/MdCommunication.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/qt/QtSerialFunctionLibrary.h"

#include <gtest/gtest.h>

#include <map>

namespace corvane {
namespace {

class StartStopTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureQtApplication();
        ASSERT_TRUE(line1.ok() && line2.ok());
        environment["CORVANE_COM11"] = line1.path();
        environment["CORVANE_COM12"] = line2.path();
        settings.channelA = "COM11";
        settings.channelB = "COM12";
    }

    // Reads packets until count data words came; returns them with their queue ids.
    std::vector<std::pair<int, int>> receive(std::size_t count) {
        std::vector<std::pair<int, int>> words;
        std::vector<std::int16_t> buffer(packet::kBufferWords);
        test::pumpUntil([&] {
            int n = library.libRXQueueRead(buffer.data());
            for (int i = 0; i < n; ++i) {
                words.emplace_back(buffer[packet::kSourceQueueId], buffer[packet::kHeaderWords + i]);
            }
            return words.size() >= count;
        });
        return words;
    }

    test::PtyPair line1;
    test::PtyPair line2;
    std::map<std::string, std::string> environment;
    MemorySettingsStore store;
    QtSerialFunctionLibrary library{store, nullptr, [this](const std::string& name) {
                                        auto it = environment.find(name);
                                        return it == environment.end()
                                                   ? std::nullopt
                                                   : std::optional<std::string>(it->second);
                                    }};
    ClCommChannel channel1{library};
    ClCommChannel channel2{library};
    CommunicationSettings settings;
    ExpertOptions options;
    FakeMessageService messages;
    RealSystemClock clock;
    MdCommunication comm{library, channel1, channel2, settings, options, messages, clock};
};

TEST_F(StartStopTest, MonitoringTagsEachLineWithItsQueueId) {
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    comm.startCommunication();
    ASSERT_FALSE(comm.communicationStopped()) << (messages.shown.empty() ? "" : messages.shown[0].text);
    ASSERT_TRUE(line1.write({'a'}));
    auto first = receive(1);
    ASSERT_TRUE(line2.write({'b'}));
    auto second = receive(1);
    EXPECT_EQ(first, (std::vector<std::pair<int, int>>{{1, 'a'}}));
    EXPECT_EQ(second, (std::vector<std::pair<int, int>>{{2, 'b'}}));
    comm.stopCommunication();
    EXPECT_FALSE(channel1.IsOpen() || channel2.IsOpen());

    // The ports are free again.
    comm.startCommunication();
    EXPECT_FALSE(comm.communicationStopped());
    comm.stopCommunication();
}

TEST_F(StartStopTest, SendReceiveSendsEverythingBeforeClosing) {
    settings.baudRate = 115200;
    comm.startCommunication();
    ASSERT_FALSE(comm.communicationStopped());
    std::vector<CharCode> data(4000, 'w');
    ASSERT_TRUE(channel1.transmitData(data, 0, 3999));
    comm.stopCommunication();
    EXPECT_EQ(line1.read(4000).size(), 4000u);

    ASSERT_TRUE(line1.write({'r'}));
    comm.startCommunication();
    // What came while stopped is thrown away at the start.
    ASSERT_TRUE(line1.write({'x'}));
    auto words = receive(1);
    EXPECT_EQ(words, (std::vector<std::pair<int, int>>{{2, 'x'}}));
    comm.stopCommunication();
}

TEST_F(StartStopTest, BusySecondPortClosesTheFirstAndNamesTheSecond) {
    settings.communicationMode = CommunicationMode::MonitorReceiveModify;
    ASSERT_GE(library.SioResetExt(11, 4096, 4096, 9600, 0, 0, 8, 63, 0), 0);
    comm.startCommunication();
    EXPECT_TRUE(comm.communicationStopped());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "The communication port COM12 could not be opened. COM port already open");
    EXPECT_FALSE(channel1.IsOpen());
    EXPECT_GE(library.SioResetExt(10, 4096, 4096, 9600, 0, 0, 8, 63, 0), 0) << "COM11 was closed again";
}

} // namespace
} // namespace corvane
