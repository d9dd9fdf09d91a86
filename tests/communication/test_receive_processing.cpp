// The receive processing over the fake library: detection at every offset, actions, pieces cut
// at detections, content filter, messages for queue and line errors.
#include "EngineTestSupport.h"

#include <set>

namespace corvane::test {
namespace {

using ReceiveTest = EngineTest;

TEST_F(ReceiveTest, PatternSplitAcrossPacketsIsFoundAndTheCommentFollowsItsLastCharacter) {
    addReceive("OK", sequenceOf("OK\r\n"), "<ok>");
    start();
    arrive("xxO");
    arrive("K\r");
    arrive("\nyy");
    EXPECT_FALSE(engine.communicationPass());
    EXPECT_EQ(ascii(), "xxOK\r\n <ok> yy");
    EXPECT_EQ(receiveList[0].detectionCount, 1);
    // An empty queue makes the pass idle.
    EXPECT_TRUE(engine.communicationPass());
}

TEST_F(ReceiveTest, TwoSequencesOnTheSameCharacterGiveBothCommentsInListOrder) {
    addReceive("first", sequenceOf("AB"), "one");
    addReceive("second", sequenceOf("B"), "two");
    addReceive("inactive", sequenceOf("B"), "three").active = 0;
    addReceive("empty", ClSequence{}, "never");
    start();
    arrive("ABC");
    engine.communicationPass();
    EXPECT_EQ(ascii(), "AB one two C");
    EXPECT_EQ(receiveList[2].detectionCount, 0);
}

TEST_F(ReceiveTest, ReplayFindsPatternsAtEveryOffsetOverlappingStartsIncluded) {
    auto& ab = addReceive("AB", sequenceOf("AB"), "[AB]");
    addReceive("ABAC", sequenceOf("ABAC"), "[ABAC]");
    addReceive("AAB", sequenceOf("AAB"), "[AAB]");
    start();
    arrive("AAB");
    engine.communicationPass();
    EXPECT_EQ(ascii(), "AAB [AB] [AAB] ");
    EXPECT_EQ(ab.matchHistory[1].size(), 0);
    EXPECT_EQ(ab.sequence.Cursors(1), 0);

    recorder.pieces.clear();
    arrive("ABABAC");
    arrive("AAAB");
    engine.communicationPass();
    EXPECT_EQ(ascii(), "AB [AB] AB [AB] AC [ABAC] AAAB [AB] [AAB] ");
    EXPECT_EQ(receiveList[0].detectionCount, 4);
    EXPECT_EQ(receiveList[1].detectionCount, 1);
    EXPECT_EQ(receiveList[2].detectionCount, 2);
}

TEST_F(ReceiveTest, WildcardPatternsTrailingOptionalAndDirectionsKeepTheirOwnCursors) {
    ClSequence trailing = sequenceOf("AB");
    trailing.appendCharacter(kWildcardOptional);
    addReceive("trailing", trailing, "t");
    ClSequence any = sequenceOf("X");
    any.appendCharacter(kWildcardOne);
    any.appendCharacter('Z');
    addReceive("any", any, "%_H");
    settings.communicationMode = CommunicationMode::MonitorReceiveModify;
    start();
    arrive("ABC");
    // X and Y on one line, Z on the other: no match across directions.
    arrive("XY", 1);
    arrive("Z", 2);
    arrive("Z", 1);
    engine.communicationPass();
    EXPECT_EQ(ascii(), "AB t CXYZZ 58 59 5A ");
}

TEST_F(ReceiveTest, StopCommunicationDropsTheRestOfThePacket) {
    auto& stop = addReceive("Halt", sequenceOf("H"), "halted");
    stop.stopCommunication = 1;
    addReceive("later", sequenceOf("Z"), "never");
    start();
    arrive("abHcdZ");
    arrive("more");
    engine.communicationPass();
    EXPECT_FALSE(engine.communicationRuns());
    EXPECT_EQ(ascii(), "abH halted\r\nCommunication stopped by receive sequence \"Halt\". ");
    EXPECT_EQ(receiveList[1].detectionCount, 0);
}

TEST_F(ReceiveTest, StopOnTheLastCharacterOfAPacketStillStops) {
    auto& stop = addReceive("Halt", sequenceOf("H"));
    stop.stopCommunication = 1;
    start();
    arrive("abH");
    engine.communicationPass();
    EXPECT_FALSE(engine.communicationRuns());
    EXPECT_EQ(ascii(), "abH \r\nCommunication stopped by receive sequence \"Halt\". ");
}

TEST_F(ReceiveTest, ContentFilterDecidesWhichDirectionsShow) {
    stamps(true);
    auto& record = addReceive("B", sequenceOf("B"), "seen");
    record.timeStampAfterComment = 1;
    settings.contentFilter = ContentFilter::CommentsOnly;
    start();
    arrive("ABC");
    engine.communicationPass();
    // Comments and headers only: the header requested after the comment is forced.
    EXPECT_EQ(ascii(), " seen \r\n10:20:30.400 [RX] - ");
    EXPECT_EQ(hex(), " seen \r\n10:20:30.400 [RX] - ");

    for (ContentFilter filter : {ContentFilter::Channel1Only, ContentFilter::Channel2Only}) {
        engine.stopCommunication();
        settings.contentFilter = filter;
        start();
        arrive("r");
        arrive("t", 1);
        engine.communicationPass();
        EXPECT_EQ(ascii(), filter == ContentFilter::Channel1Only ? "\r\n10:20:30.400 [TX] - t"
                                                                 : "\r\n10:20:30.400 [RX] - r")
            << toStored(filter);
    }
}

TEST_F(ReceiveTest, AnswersAreQueuedAndSentExceptInReceiveOnlyMonitoring) {
    int pong = addSend("Pong", sequenceOf("pong"));
    answerWith(addReceive("Ping", sequenceOf("ping")), pong);
    start();
    arrive("ping");
    engine.communicationPass();
    EXPECT_EQ(transmitted(), "pong");
    // The sent data leaves the output block at the next flush.
    engine.communicationPass();
    EXPECT_EQ(ascii(), "pingpong");
    EXPECT_EQ(recorder.pieces[recorder.pieces.size() - 1].style, kStyleDirection0);

    engine.stopCommunication();
    library.transmissions.clear();
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    expert.dataForwarding = 1;
    start();
    arrive("ping");
    engine.communicationPass();
    EXPECT_TRUE(library.transmissions.empty());
    EXPECT_TRUE(engine.send().queue().queueEmpty());
}

TEST_F(ReceiveTest, ReceiveOnlyMonitoringForwardsEachLineToTheOther) {
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    start();
    arrive("to-b", 1);
    arrive("to-a", 2);
    engine.communicationPass();
    EXPECT_EQ(transmitted(1), "to-b");
    EXPECT_EQ(transmitted(0), "to-a");

    engine.stopCommunication();
    library.transmissions.clear();
    expert.dataForwarding = 1;
    start();
    arrive("quiet", 1);
    engine.communicationPass();
    EXPECT_TRUE(library.transmissions.empty());
}

TEST_F(ReceiveTest, ReceiveOnlyMonitoringKeepsAPacketTheOtherLineCannotTakeYetAndRetriesIt) {
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    start();
    arrive("first", 1);
    arrive("second", 2);
    library.txWriteResult = 0; // channel 2's transmit buffer is full
    EXPECT_TRUE(engine.communicationPass()) << "the loop may wait";
    EXPECT_TRUE(engine.receive().forwardPending());
    EXPECT_TRUE(library.transmissions.empty());
    EXPECT_EQ(library.heldQueueIds, std::set<int>{1}) << "channel 1 is not read meanwhile";
    EXPECT_EQ(ascii(), "") << "nothing shown before it is forwarded, nothing after it either";
    EXPECT_EQ(library.queue.packetCount(), 1u);
    EXPECT_EQ(engine.idleWaitMs(), CommunicationEngine::kBusyIdleWaitMs);
    engine.communicationPass();
    EXPECT_TRUE(engine.receive().forwardPending());

    library.txWriteResult = 1;
    EXPECT_FALSE(engine.communicationPass());
    EXPECT_FALSE(engine.receive().forwardPending());
    EXPECT_EQ(transmitted(1), "first");
    EXPECT_EQ(transmitted(0), "second");
    EXPECT_TRUE(library.heldQueueIds.empty());
    EXPECT_EQ(ascii(), "firstsecond");
    EXPECT_EQ(channel2.channelStatus(), ChannelStatus::Open) << "a full buffer is no channel error";
    EXPECT_EQ(ascii().find("CORVANE reports"), std::string::npos);

    // A packet that waited when communication stopped does not hold its line at the next start.
    arrive("third", 2);
    library.txWriteResult = 0;
    engine.communicationPass();
    EXPECT_EQ(library.heldQueueIds, std::set<int>{2});
    engine.stopCommunication();
    library.txWriteResult = 1;
    start();
    EXPECT_TRUE(library.heldQueueIds.empty());
    EXPECT_FALSE(engine.receive().forwardPending());
}

TEST_F(ReceiveTest, APassHandlesABoundedShareOfTheReceivedDataAndLeavesTheRestInOrder) {
    start();
    std::string sent;
    for (int block = 0; block < 50; ++block) {
        std::string data(4000, static_cast<char>('a' + block % 26));
        arrive(data);
        sent += data;
    }
    EXPECT_FALSE(engine.communicationPass());
    const std::size_t first = ascii().size();
    EXPECT_GE(first, static_cast<std::size_t>(MdCommunicationReceive::kMaxDataWordsPerPass));
    EXPECT_LT(first, static_cast<std::size_t>(MdCommunicationReceive::kMaxDataWordsPerPass + 4000));
    EXPECT_GT(library.queue.packetCount(), 0u) << "the rest waits for the next passes";
    // 17 packets a pass: three passes bring data, the fourth finds nothing.
    int passes = 1;
    while (!engine.communicationPass()) {
        ++passes;
    }
    EXPECT_EQ(passes, 3);
    EXPECT_EQ(ascii(), sent);
}

// What a line refuses to take is reported with its byte count: at once, then at most once a
// second while the loss lasts, and before communication stops; the monitor still shows the data.
TEST_F(ReceiveTest, ForwardingThatALineRefusesIsReportedAtMostOnceASecond) {
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    std::vector<std::string> heard;
    engine.receive().setForwardingLossListener([&heard](const std::string& text) { heard.push_back(text); });
    start();
    library.txWriteResult = -1; // the line fails (a full one makes the packet wait instead)
    arrive("abcd", 1);
    engine.communicationPass();
    const std::string first =
        "CORVANE reports: Data not forwarded to COM2\r\n4 bytes could not be forwarded. "
        "Error while transmitting\r\n";
    EXPECT_NE(ascii().find("\r\n\r\n " + first), std::string::npos) << ascii();
    EXPECT_NE(ascii().find("abcd"), std::string::npos) << "the monitor shows what it received";
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], " " + first);
    EXPECT_EQ(channel2.channelStatus(), ChannelStatus::Open) << "the error of the line is cleared as before";

    recorder.pieces.clear();
    arrive("ef", 1);
    arrive("g", 1);
    arriveWords({'h', kFunctionPercent}, 1);
    clock.nowMs += 999;
    engine.communicationPass();
    EXPECT_EQ(ascii().find("CORVANE reports"), std::string::npos) << "not again within the second";
    clock.nowMs += 1;
    engine.communicationPass();
    EXPECT_NE(ascii().find("Data not forwarded to COM2\r\n4 bytes could not be forwarded."),
              std::string::npos)
        << "the line event is no byte: " << ascii();
    EXPECT_EQ(heard.size(), 2u);

    library.txWriteResult = 1;
    arrive("fine", 1);
    clock.nowMs += 5000;
    engine.communicationPass();
    EXPECT_EQ(heard.size(), 2u) << "nothing lost, nothing reported";
    EXPECT_EQ(transmitted(1), "fine");

    recorder.pieces.clear();
    library.txWriteResult = -1;
    arrive("z", 2);
    engine.communicationPass();
    arrive("zz", 2);
    engine.communicationPass();
    EXPECT_NE(ascii().find("Data not forwarded to COM1\r\n1 byte could not be forwarded. Error while "
                           "transmitting\r\n"),
              std::string::npos)
        << ascii();
    engine.stopCommunication();
    ASSERT_EQ(heard.size(), 4u) << "the rest is reported when communication stops";
    EXPECT_NE(heard[3].find("2 bytes could not be forwarded."), std::string::npos);
}

TEST_F(ReceiveTest, LineErrorsDropThePacketDataAndAreReported) {
    addReceive("X", sequenceOf("X"), "never");
    start();
    arrive("XX", 2, packet::kGeneralIoError | packet::kPortOverrun | packet::kInputOverflow);
    engine.communicationPass();
    std::string text = ascii();
    EXPECT_EQ(text.find("XX"), std::string::npos);
    EXPECT_NE(
        text.find("CORVANE reports: General I/O error on COM1\r\nA general error/exception occured while "
                  "accessing the serial port\r\n"),
        std::string::npos);
    EXPECT_NE(text.find("CORVANE reports: COM port overrun on COM1\r\nThe COM device reports lost bytes."),
              std::string::npos);
    EXPECT_NE(
        text.find("CORVANE reports: Input buffer overflow on COM1\r\nCorvane/PC is too slow, some packets "
                  "have been dropped.\r\n"),
        std::string::npos);
    EXPECT_LT(text.find("General I/O"), text.find("COM port overrun"));
    EXPECT_LT(text.find("COM port overrun"), text.find("Input buffer overflow"));
    EXPECT_EQ(receiveList[0].detectionCount, 0);
    EXPECT_EQ(engine.receive().lastStatusFlags() & 0x23, 0x23);
}

TEST_F(ReceiveTest, QueueOverflowEmptiesTheQueueWithAMessageNamingBothMonitoredLines) {
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    expert.dataForwarding = 1;
    start();
    // A small queue that overflows: fill the real queue past its capacity.
    std::vector<std::uint8_t> block(packet::kMaxDataWords, 'q');
    while (library.queue.pushBytes(1, time.time, 0, block.data(), block.size())) {
    }
    engine.communicationPass();
    EXPECT_EQ(library.queue.packetCount(), 0u);
    EXPECT_NE(ascii().find("CORVANE reports: Input data queue overflow on COM1 / COM2\r\nCorvane/PC is too "
                           "slow, some packets have been dropped.\r\n"),
              std::string::npos);
    EXPECT_EQ(ascii().find("qq"), std::string::npos);
    EXPECT_EQ(engine.receive().queueOverflows(), 1u);
    EXPECT_EQ(engine.receive().receivedDataBytes(), 0u) << "the dropped packets were never handed on";
}

// The counts the window program prints with its pass statistics: lost bytes are what was
// written minus what was received.
TEST_F(ReceiveTest, DataBytesHandedOnAreCountedAndLineErrorsAreNot) {
    start();
    arrive("hello");
    arrive("XX", 2, packet::kGeneralIoError);
    arrive("world!");
    while (!engine.communicationPass()) {
    }
    EXPECT_EQ(engine.receive().receivedDataBytes(), 11u);
    EXPECT_EQ(engine.receive().queueOverflows(), 0u);
}

TEST_F(ReceiveTest, LineEventCodesAreSkippedBySequencesWithoutFunctionCharacters) {
    addReceive("AB", sequenceOf("AB"), "ab");
    ClSequence withEvent = sequenceOf("C");
    withEvent.appendCharacter(kFunctionPercent);
    addReceive("C%", withEvent, "event");
    start();
    // A, the '!' event with its parameter 'x', B: the event and its parameter are invisible to AB.
    arriveWords({'A', kFunctionExclamation, 'x', 'B', 'C', kFunctionPercent, kFunctionAmpersand});
    engine.communicationPass();
    EXPECT_EQ(ascii(), "AxB ab C event ");
    EXPECT_EQ(receiveList[1].detectionCount, 1);
}

TEST_F(ReceiveTest, DetectionCountStopsAtItsLimitAndLineBreakFollowsTheComment) {
    auto& record = addReceive("A", sequenceOf("A"), "a");
    record.lineBreakAfterComment = 1;
    start();
    record.detectionCount = MdCommunicationReceive::kMaxDetectionCount - 1;
    arrive("AA");
    engine.communicationPass();
    EXPECT_EQ(record.detectionCount, MdCommunicationReceive::kMaxDetectionCount);
    EXPECT_EQ(ascii(), "A a\r\nA a\r\n");
}

TEST_F(ReceiveTest, ChannelErrorsAreReportedOnceAndCleared) {
    start();
    library.txWriteResult = 0;
    ClSequence word = sequenceOf("w");
    EXPECT_FALSE(engine.send().sendTypedCharacters(word));
    EXPECT_EQ(channel1.channelStatus(), ChannelStatus::Error);
    engine.receive().channelErrorCheck();
    EXPECT_NE(ascii().find("CORVANE reports: Error on channel COM1:\r\nTransmit buffer overflow. "),
              std::string::npos);
    recorder.pieces.clear();
    engine.receive().channelErrorCheck();
    EXPECT_TRUE(recorder.pieces.empty());
}

class FakeSnapshot : public SnapshotControl {
public:
    bool snapshotModeOn() const override { return on; }
    void triggerSnapshot() override { ++triggers; }
    bool on = true;
    int triggers = 0;
};

TEST_F(ReceiveTest, SnapshotTriggerMarksThePieceOnceAndIgnoresLaterDetections) {
    auto& trigger = addReceive("T", sequenceOf("T"));
    trigger.snapshotTrigger = 1;
    FakeSnapshot snapshot;
    engine.setSnapshotControl(&snapshot);
    start();
    arrive("aTbT");
    engine.communicationPass();
    EXPECT_EQ(snapshot.triggers, 1);
    int marked = 0;
    for (const auto& piece : recorder.pieces) {
        if (piece.marker) {
            ++marked;
            const char* expected[] = {"aT", "61 54 ", "097 084 ", "01100001 01010100 "};
            EXPECT_EQ(piece.text, expected[piece.view]);
        }
    }
    EXPECT_EQ(marked, 4);
}

TEST_F(ReceiveTest, TcpDataLeftInTheSocketIsTakenByLaterPassesWithoutANewArrival) {
    settings.channelA = "SERVER:3001";
    start();
    FakeChannelSocket& listener = *sockets.created.at(1);
    FakeChannelSocket& data = *sockets.created.at(0);
    listener.requestConnection();
    std::string sent;
    for (int i = 0; i < 5 * ClCommChannel::kTcpBytesPerTake; ++i) {
        sent += static_cast<char>('a' + i % 23);
    }
    data.arrive(std::vector<std::uint8_t>(sent.begin(), sent.end()));
    ASSERT_FALSE(data.incoming.empty()) << "one arrival event takes a bounded amount";
    for (int passes = 0; passes < 100 && !data.incoming.empty(); ++passes) {
        engine.communicationPass();
    }
    engine.communicationPass();
    EXPECT_EQ(ascii(), sent);
}

} // namespace
} // namespace corvane::test
