// The send processing over the fake library: the send queue with plain and function-character
// entries, waits, periodic sending, the parameter dialog and typed characters.
#include "EngineTestSupport.h"

#include <regex>

namespace corvane::test {
namespace {

class FakeParameterDialog : public SendSequenceParameterDialog {
public:
    bool askParameters(const ClSequence& original, ClSequence& expanded) override {
        ++shown;
        seen.copyFrom(original);
        expanded.copyFrom(answer);
        return confirm;
    }
    ClSequence answer;
    ClSequence seen;
    bool confirm = true;
    int shown = 0;
};

class SendTest : public EngineTest {
protected:
    SendTest() {
        engine.send().setDelayFunction([this](double ms) {
            delays.push_back(ms);
            clock.nowMs += static_cast<std::int64_t>(ms);
        });
    }
    std::vector<double> delays;
};

TEST_F(SendTest, QueueOverflowEmptiesTheQueueAndDropsTheNewSequence) {
    int index = addSend("blocked", sequenceOf("x"));
    start();
    library.txWriteResult = 0; // the transmitter takes nothing
    for (int i = 0; i < MdCommunicationSend::kQueueSize; ++i) {
        ASSERT_TRUE(engine.send().enqueue(index)) << i;
    }
    engine.send().sendQueueProcessing();
    EXPECT_FALSE(engine.send().queue().queueEmpty());
    EXPECT_FALSE(engine.send().enqueue(index));
    EXPECT_TRUE(engine.send().queue().queueEmpty());
    engine.output().flush(false);
    EXPECT_EQ(ascii().find(" \r\n\r\n"), 0u);
    EXPECT_NE(
        ascii().find(" CORVANE reports: Send sequence queue overflow. Check communication settings and your "
                     "receive sequence 'answer' definitions.\r\n"),
        std::string::npos);
    EXPECT_EQ(engine.send().sendSendSequence(index, SendKind::Once), MdCommunicationSend::SendResult::Queued);
}

TEST_F(SendTest, PlainEntriesGoOutOnePerDrainedTransmitterWithAForcedHeader) {
    stamps(true);
    int a = addSend("a", sequenceOf("AA"));
    int b = addSend("b", sequenceOf("BB"));
    start();
    engine.send().enqueue(a);
    engine.send().enqueue(b);
    library.portTxBytes = 2; // the port still sends
    engine.send().sendQueueProcessing();
    EXPECT_TRUE(library.transmissions.empty());
    library.portTxBytes = 0;
    engine.send().sendQueueProcessing();
    EXPECT_EQ(transmitted(), "AABB");
    engine.output().flush(false);
    // Each sent sequence gets its own header, even in the same direction.
    // The second header carries the time of the last transmission; the first one its own, which
    // may lie a millisecond earlier.
    const std::string last = sentHeader() + "BB";
    ASSERT_GE(ascii().size(), last.size());
    EXPECT_EQ(ascii().substr(ascii().size() - last.size()), last);
    EXPECT_TRUE(std::regex_match(ascii().substr(0, ascii().size() - last.size()),
                                 std::regex(R"(\r\n\d\d:\d\d:\d\d\.\d\d\d \[TX\] - AA)")))
        << ascii();
    EXPECT_TRUE(engine.send().transmitActivity());
}

TEST_F(SendTest, FunctionCharactersSplitTheSequenceAndAreNotSent) {
    stamps(true);
    ClSequence sequence;
    sequence.appendCharacter(kFunctionAmpersand);
    sequence.appendCharacter(5);
    sequence.appendSequence(sequenceOf("ab"));
    sequence.appendCharacter(kFunctionPercent);
    sequence.appendSequence(sequenceOf("c"));
    sequence.appendCharacter(kFunctionExclamation);
    int index = addSend("fct", sequence);
    start();
    recorder.pieces.clear();
    EXPECT_EQ(engine.send().sendSendSequence(index, SendKind::Once), MdCommunicationSend::SendResult::Queued);
    EXPECT_EQ(engine.send().queue().seqTag(false), 1);
    // The header comes before anything is sent: the data starts on a new header line.
    engine.send().sendQueueProcessing();
    EXPECT_EQ(transmitted(), "abc");
    ASSERT_EQ(library.transmissions.size(), 2u);
    EXPECT_TRUE(engine.send().queue().queueEmpty());
    engine.output().flush(false);
    EXPECT_EQ(ascii(), "\r\n10:20:30.400 [TX] - abc");
}

TEST_F(SendTest, AFunctionCharacterWaitsForTheTransmitterWithoutBlocking) {
    ClSequence sequence = sequenceOf("ab");
    sequence.appendCharacter(kFunctionPercent);
    sequence.appendSequence(sequenceOf("cd"));
    int index = addSend("wait", sequence);
    start();
    engine.send().enqueue(index);
    // The first part is still on its way: the entry waits at the function character.
    library.busyAfterTransmit = true;
    engine.send().sendQueueProcessing();
    EXPECT_EQ(transmitted(), "ab");
    engine.send().sendQueueProcessing();
    engine.send().sendQueueProcessing();
    EXPECT_EQ(transmitted(), "ab");
    library.busyAfterTransmit = false;
    library.portTxBytes = 0;
    engine.send().sendQueueProcessing();
    EXPECT_EQ(transmitted(), "abcd");
    EXPECT_TRUE(engine.send().queue().queueEmpty());
}

TEST_F(SendTest, APartNotTakenSetsAWaitAndIsRetriedAfterTheFifoDrains) {
    settings.baudRate = 9600;
    ClSequence sequence = sequenceOf("ab");
    sequence.appendCharacter(kFunctionPercent);
    int index = addSend("retry", sequence);
    engine.send().setTxFifoSize(16);
    start();
    library.txWriteResult = 0;
    engine.send().enqueue(index);
    engine.send().sendQueueProcessing();
    EXPECT_NE(engine.communication().runState().pendingWait, MdCommunicationSend::kNoWait);
    library.txWriteResult = 1;
    engine.send().sendQueueProcessing();
    EXPECT_EQ(transmitted(), "ab");
    EXPECT_EQ(engine.communication().runState().pendingWait, MdCommunicationSend::kNoWait);
    // The wait ends with 11 bit times per FIFO place (16 + 1) at 9600 baud.
    ASSERT_FALSE(delays.empty());
    EXPECT_NEAR(delays.back(), 11 * 0.1042 * 17, 0.01);
}

TEST_F(SendTest, ReceiveOnlyMonitoringSendsNothingAndStopsRepeating) {
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    int index = addSend("p", sequenceOf("p"));
    sendList[index].repeatRunning = 1;
    std::vector<int> refreshed;
    engine.send().setSendListRefresh([&](int i) { refreshed.push_back(i); });
    EXPECT_EQ(engine.send().sendSendSequence(index, SendKind::StartPeriodic),
              MdCommunicationSend::SendResult::NotPossible);
    EXPECT_TRUE(engine.communicationRuns());
    EXPECT_EQ(sendList[index].repeatRunning, 0);
    EXPECT_EQ(refreshed, std::vector<int>{index});
    engine.communicationPass();
    EXPECT_TRUE(library.transmissions.empty());
}

TEST_F(SendTest, PeriodicEntriesAreDueAfterTheirIntervalAndAnswersQueueBehindThem) {
    int tick = addSend("tick", sequenceOf("t"));
    int answer = addSend("answer", sequenceOf("a"));
    sendList[tick].repeatInterval = 1000;
    answerWith(addReceive("q", sequenceOf("?")), answer);
    start();
    clock.nowMs = 86400000 - 500; // half a second before midnight
    engine.send().sendSendSequence(tick, SendKind::StartPeriodic);
    engine.communicationPass();
    EXPECT_EQ(transmitted(), "t");
    clock.nowMs = 400; // 900 ms later, across midnight: not yet due
    engine.communicationPass();
    EXPECT_EQ(transmitted(), "t");
    clock.nowMs = 600;
    library.portTxBytes = 1; // hold the queue so both entries wait
    engine.send().periodicSending();
    arrive("?");
    engine.communicationPass();
    library.portTxBytes = 0;
    engine.communicationPass();
    engine.communicationPass();
    EXPECT_EQ(transmitted(), "tta");
    EXPECT_EQ(engine.send().sendSendSequence(tick, SendKind::StopPeriodic),
              MdCommunicationSend::SendResult::PeriodicStopped);
    clock.nowMs = 5000;
    engine.communicationPass();
    EXPECT_EQ(transmitted(), "tta");
    engine.send().sendSendSequence(tick, SendKind::StartPeriodic);
    engine.stopCommunication();
    EXPECT_EQ(sendList[tick].repeatRunning, 0);
}

TEST_F(SendTest, TheLoopWaitsLongerOnlyWhileNothingOnTheSendSideIsTimed) {
    int tick = addSend("tick", sequenceOf("t"));
    sendList[tick].repeatInterval = 1000;
    start();
    EXPECT_EQ(engine.idleWaitMs(), CommunicationEngine::kQuietIdleWaitMs);
    library.portTxBytes = 1; // the entry stays queued
    engine.send().enqueue(tick);
    engine.communicationPass();
    EXPECT_EQ(engine.idleWaitMs(), CommunicationEngine::kBusyIdleWaitMs);
    library.portTxBytes = 0;
    engine.communicationPass();
    EXPECT_EQ(transmitted(), "t");
    EXPECT_EQ(engine.idleWaitMs(), CommunicationEngine::kQuietIdleWaitMs);
    engine.send().sendSendSequence(tick, SendKind::StartPeriodic);
    engine.communicationPass();
    EXPECT_EQ(engine.idleWaitMs(), CommunicationEngine::kBusyIdleWaitMs);
    engine.send().sendSendSequence(tick, SendKind::StopPeriodic);
    EXPECT_EQ(engine.idleWaitMs(), CommunicationEngine::kQuietIdleWaitMs);
}

TEST_F(SendTest, WildcardSequencesNeedTheParameterDialog) {
    ClSequence sequence = sequenceOf("v=");
    sequence.appendCharacter(kWildcardOne);
    int index = addSend("param", sequence);
    start();
    EXPECT_EQ(engine.send().sendSendSequence(index, SendKind::Once),
              MdCommunicationSend::SendResult::NoParameterDialog);
    FakeParameterDialog dialog;
    dialog.answer = sequenceOf("v=7");
    engine.send().setParameterDialog(&dialog);
    dialog.confirm = false;
    EXPECT_EQ(engine.send().sendSendSequence(index, SendKind::Once),
              MdCommunicationSend::SendResult::Cancelled);
    dialog.confirm = true;
    EXPECT_EQ(engine.send().sendSendSequence(index, SendKind::StartPeriodic),
              MdCommunicationSend::SendResult::Queued);
    EXPECT_TRUE(dialog.seen.isEqual(sequence));
    // Already repeating: the filled-in copy is used again without asking.
    EXPECT_EQ(engine.send().sendSendSequence(index, SendKind::Once), MdCommunicationSend::SendResult::Queued);
    EXPECT_EQ(dialog.shown, 2);
    engine.communicationPass();
    engine.communicationPass();
    EXPECT_EQ(transmitted(), "v=7v=7");
    EXPECT_EQ(engine.send().sendSendSequence(99, SendKind::Once),
              MdCommunicationSend::SendResult::IllegalIndex);
    EXPECT_EQ(engine.send().sendSendSequence(index, static_cast<SendKind>(3)),
              MdCommunicationSend::SendResult::IllegalIndex)
        << "a kind without a name";
}

TEST_F(SendTest, TypedCharactersBypassTheQueueAndRtsDtrNeedManualControl) {
    stamps(true);
    int queued = addSend("queued", sequenceOf("q"));
    start();
    library.portTxBytes = 1;
    engine.send().enqueue(queued);
    engine.send().sendQueueProcessing();
    EXPECT_TRUE(engine.send().sendTypedCharacters(sequenceOf("k")));
    EXPECT_EQ(transmitted(), "k");
    engine.output().flush(false);
    EXPECT_EQ(ascii(), sentHeader() + "k");

    library.lineCalls.clear();
    engine.send().setManualRtsDtr(false, true);
    EXPECT_TRUE(library.lineCalls.empty());
    engine.stopCommunication();
    settings.flowControl = FlowControl::ManualRtsDtr;
    start();
    library.lineCalls.clear();
    engine.send().setManualRtsDtr(false, true);
    EXPECT_EQ(library.lineCalls, (std::vector<std::string>{"RTS 0 C", "DTR 0 S"}));

    engine.stopCommunication();
    settings.communicationMode = CommunicationMode::MonitorReceiveModify;
    start();
    EXPECT_FALSE(engine.send().sendTypedCharacters(sequenceOf("k")));
}

} // namespace
} // namespace corvane::test
