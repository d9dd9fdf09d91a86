// What the engine tells an observer of a run: the data that passed in each direction, the
// detections with their arrival time, every reported channel error or data loss, and a stop at a
// detection the observer asks for.
#include "EngineTestSupport.h"

namespace corvane::test {
namespace {

class WatchingObserver : public CommunicationObserver {
public:
    void dataPassed(int direction, std::span<const CharCode> words) override {
        for (CharCode word : words) {
            if (isDataByte(word)) {
                data[static_cast<std::size_t>(direction)] += static_cast<char>(word);
            }
        }
    }
    bool sequenceDetected(int index, int direction, const HiresTime& arrival) override {
        detections.push_back({index, direction, arrival.millisecond});
        return index == stopAt;
    }
    void troubleReported(const std::string& text) override { troubles.push_back(text); }

    struct Detection {
        int index;
        int direction;
        int millisecond;
        bool operator==(const Detection&) const = default;
    };
    std::array<std::string, 2> data;
    std::vector<Detection> detections;
    std::vector<std::string> troubles;
    int stopAt = -1;
};

class ObserverTest : public EngineTest {
protected:
    ObserverTest() { engine.setObserver(&observer); }
    WatchingObserver observer;
};

TEST_F(ObserverTest, DataOfBothDirectionsAndDetectionsWithTheirArrivalTimeAreTold) {
    int answer = addSend("Answer", sequenceOf("ok"));
    answerWith(addReceive("Question", sequenceOf("Q?")), answer);
    addReceive("Mark", sequenceOf("M"));
    // The display shows only comments: what the observer hears does not depend on it.
    settings.contentFilter = ContentFilter::CommentsOnly;
    start();
    arrive("xQ?");
    time.set(2026, 12, 1, 10, 20, 31, 250);
    arrive("M");
    engine.communicationPass();
    EXPECT_EQ(observer.data[1], "xQ?M");
    EXPECT_EQ(observer.data[0], "ok");
    EXPECT_EQ(observer.detections, (std::vector<WatchingObserver::Detection>{{0, 1, 400}, {1, 1, 250}}));
    EXPECT_EQ(transmitted(), "ok");
    EXPECT_TRUE(observer.troubles.empty());

    // Typed characters and the parts of a sequence between function characters are told as sent.
    EXPECT_TRUE(engine.send().sendTypedCharacters(sequenceOf("ty")));
    ClSequence waiting = sequenceOf("ab");
    waiting.appendCharacter(kFunctionPercent);
    waiting.appendSequence(sequenceOf("c"));
    engine.send().enqueue(waiting);
    engine.communicationPass();
    EXPECT_EQ(observer.data[0], "oktyabc");
}

TEST_F(ObserverTest, AStopAskedForAtADetectionActsAsTheStopActionWithoutChangingTheProject) {
    addReceive("Go", sequenceOf("G"), "go");
    addReceive("Done", sequenceOf("D"), "done");
    observer.stopAt = 1;
    start();
    arrive("GxDyG");
    engine.communicationPass();
    EXPECT_FALSE(engine.communicationRuns());
    EXPECT_EQ(ascii(), "G go xD done\r\nCommunication stopped by receive sequence \"Done\". ");
    EXPECT_EQ(observer.data[1], "GxD") << "the rest of the packet is not processed";
    EXPECT_EQ(receiveList[1].stopCommunication, 0);
}

TEST_F(ObserverTest, EveryReportedLineErrorAndDataLossIsTold) {
    int blocked = addSend("blocked", sequenceOf("b"));
    start();
    arrive("XX", 2, packet::kGeneralIoError | packet::kInputOverflow);
    engine.communicationPass();
    ASSERT_EQ(observer.troubles.size(), 2u);
    EXPECT_EQ(
        observer.troubles[0],
        "General I/O error on COM1\r\nA general error/exception occured while accessing the serial port\r\n");
    EXPECT_EQ(observer.troubles[1].rfind("Input buffer overflow on COM1\r\n", 0), 0u);
    EXPECT_TRUE(observer.data[1].empty()) << "the dropped data is no traffic";

    library.txWriteResult = 0;
    for (int i = 0; i < MdCommunicationSend::kQueueSize; ++i) {
        engine.send().enqueue(blocked);
    }
    EXPECT_FALSE(engine.send().enqueue(blocked));
    ASSERT_EQ(observer.troubles.size(), 3u);
    EXPECT_EQ(observer.troubles[2], std::string(MdCommunicationSend::kQueueOverflowText) + "\r\n");

    EXPECT_FALSE(engine.send().sendTypedCharacters(sequenceOf("w")));
    engine.receive().channelErrorCheck();
    ASSERT_EQ(observer.troubles.size(), 4u);
    EXPECT_EQ(observer.troubles[3].rfind("Error on channel COM1:\r\n", 0), 0u) << observer.troubles[3];
    EXPECT_TRUE(observer.data[0].empty()) << "nothing was transmitted";

    engine.stopCommunication();
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    start();
    library.txWriteResult = -1;
    arrive("lost", 1);
    engine.communicationPass();
    ASSERT_EQ(observer.troubles.size(), 5u);
    EXPECT_EQ(observer.troubles[4].rfind("Data not forwarded to COM2\r\n4 bytes could not be forwarded.", 0),
              0u)
        << observer.troubles[4];
    EXPECT_EQ(observer.data[0], "lost") << "a monitor still sees what it received";
}

} // namespace
} // namespace corvane::test
