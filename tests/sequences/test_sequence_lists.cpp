#include "SequenceListsFixture.h"
#include "support/InternalErrorExpect.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {
const char* const kModule = "modSequenceManagement";
}

TEST_F(SequenceListsTest, NewListsHoldOnlyTheBlankSlot) {
    EXPECT_EQ(lists.sendList().upperIndex(), 0);
    EXPECT_EQ(lists.receiveList().upperIndex(), 0);
    EXPECT_EQ(lists.sendList().currentIndex(), 0);
    const SendSequenceRecord& blank = lists.sendList()[0];
    EXPECT_EQ(blank.repeat, 0);
    EXPECT_EQ(blank.repeatInterval, 5000);
    EXPECT_EQ(blank.sequence.size(), 0);
    const ReceiveSequenceRecord& receiveBlank = lists.receiveList()[0];
    EXPECT_EQ(receiveBlank.answerIndex, -1);
    EXPECT_EQ(receiveBlank.active, 1);
    EXPECT_EQ(receiveBlank.snapshotTrigger, 1);
    EXPECT_EQ(receiveBlank.stopCommunication, 0);
    EXPECT_EQ(receiveBlank.lastDetectionTime[0], -86400000);
    EXPECT_EQ(receiveBlank.lastDetectionTime[1], -86400000);
}

TEST_F(SequenceListsTest, ResetAddAndRemoveLast) {
    addSendSequences(3);
    lists.sendList().setCurrentIndex(2);
    lists.resetSendList();
    EXPECT_EQ(lists.sendList().upperIndex(), 0);
    EXPECT_EQ(lists.sendList().currentIndex(), 0);
    EXPECT_TRUE(lists.sendList()[0].name.empty());

    lists.sendList()[0].name = "typed into the blank slot";
    lists.sendSeq_addNewElement();
    EXPECT_EQ(lists.sendList().upperIndex(), 1);
    EXPECT_TRUE(lists.sendList()[1].name.empty());

    EXPECT_TRUE(lists.sendSeq_removeLastElement());
    EXPECT_EQ(lists.sendList().upperIndex(), 0);
    EXPECT_TRUE(lists.sendList()[0].name.empty()) << "the removed entry's slot becomes blank";
    EXPECT_FALSE(lists.sendSeq_removeLastElement());

    addReceiveSequences(2);
    EXPECT_TRUE(lists.receiveSeq_removeLastElement());
    EXPECT_EQ(receiveNames(), std::vector<std::string>{"R0"});
    lists.resetReceiveList();
    EXPECT_EQ(lists.receiveList().upperIndex(), 0);
}

TEST_F(SequenceListsTest, CurrentIndexIsClampedWhenRead) {
    addSendSequences(2);
    lists.sendList().setCurrentIndex(7);
    EXPECT_EQ(lists.sendList().currentIndex(), 2);
    lists.sendList().setCurrentIndex(-3);
    EXPECT_EQ(lists.sendList().currentIndex(), 0);
}

TEST_F(SequenceListsTest, IndexOutsideTheListIsAnInternalError) {
    EXPECT_INTERNAL_ERROR((void)lists.sendList()[1], kErrorOutOfRange, kModule,
                          "illegal sequence list index 1");
    EXPECT_INTERNAL_ERROR((void)lists.receiveList()[-1], kErrorOutOfRange, kModule,
                          "illegal sequence list index -1");
}

TEST_F(SequenceListsTest, EnsureIndexFillsUpToTheLimit) {
    lists.ensureSendIndex(4);
    EXPECT_EQ(lists.sendList().upperIndex(), 5);
    lists.ensureSendIndex(2);
    EXPECT_EQ(lists.sendList().upperIndex(), 5);
    lists.ensureReceiveIndex(0);
    EXPECT_EQ(lists.receiveList().upperIndex(), 1);

    lists.ensureSendIndex(1022);
    EXPECT_EQ(lists.sendList().upperIndex(), 1023);
    EXPECT_INTERNAL_ERROR(lists.ensureSendIndex(1023), kErrorOutOfRange, kModule,
                          "illegal send sequence index");
    EXPECT_INTERNAL_ERROR(lists.ensureReceiveIndex(5000), kErrorOutOfRange, kModule,
                          "illegal receive sequence index");
    EXPECT_EQ(lists.receiveList().upperIndex(), 1);
}

TEST_F(SequenceListsTest, ThousandTwentyFourthSendSequenceIsRefused) {
    lists.ensureSendIndex(1021);
    ASSERT_EQ(lists.sendList().upperIndex(), 1022);
    EXPECT_TRUE(lists.roomForSendSequence());
    EXPECT_TRUE(messages.shown.empty());
    lists.sendSeq_addNewElement();

    EXPECT_FALSE(lists.roomForSendSequence());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Maximum number of Send Sequences reached");
    EXPECT_EQ(messages.shown[0].title, "Send Sequence List");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::OK);
    EXPECT_EQ(lists.sendList().upperIndex(), 1023);

    EXPECT_INTERNAL_ERROR(lists.sendSeq_addNewElement(), kErrorOutOfRange, kModule,
                          "sendSeq_addNewElement: Maximum sequence size exceeded");
    EXPECT_INTERNAL_ERROR(lists.InsertAction(sendRecord("X"), 0, true), kErrorOutOfRange, kModule,
                          "InsertAction: Maximum sequence size reached");
    EXPECT_EQ(lists.sendList().upperIndex(), 1023);
    EXPECT_TRUE(listener.refreshes.empty());
}

TEST_F(SequenceListsTest, ThousandTwentyFourthReceiveSequenceIsRefused) {
    lists.ensureReceiveIndex(1022);
    EXPECT_FALSE(lists.roomForReceiveSequence());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Maximum number of Receive Sequences reached");
    EXPECT_EQ(messages.shown[0].title, "Receive Sequence List");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_INTERNAL_ERROR(lists.receiveSeq_addNewElement(), kErrorOutOfRange, kModule,
                          "receiveSeq_addNewElement: Maximum sequence size exceeded");
    EXPECT_INTERNAL_ERROR(lists.InsertEvent(receiveRecord("X"), 3, false), kErrorOutOfRange, kModule,
                          "InsertEvent: Maximum sequence size reached");
    EXPECT_EQ(lists.receiveList().upperIndex(), 1023);
}

TEST_F(SequenceListsTest, InsertPlacesTheRecordAndClampsThePosition) {
    addSendSequences(2);
    lists.InsertAction(sendRecord("first"), -4, true);
    lists.InsertAction(sendRecord("last"), 99, false);
    lists.InsertAction(sendRecord("middle"), 2, false);
    EXPECT_EQ(sendNames(), (std::vector<std::string>{"first", "S0", "middle", "S1", "last"}));
    EXPECT_TRUE(lists.sendList()[5].name.empty()) << "the blank slot stays last";
    ASSERT_EQ(listener.refreshes.size(), 1u);
    EXPECT_TRUE(listener.refreshes[0].sendList);
    EXPECT_TRUE(listener.refreshes[0].receiveList);

    addReceiveSequences(2);
    lists.InsertEvent(receiveRecord("new"), 1, true);
    EXPECT_EQ(receiveNames(), (std::vector<std::string>{"R0", "new", "R1"}));
    EXPECT_EQ(listener.refreshes.size(), 2u);
}

TEST_F(SequenceListsTest, AnswersFollowTheirSendSequencesThroughInsertAndDelete) {
    addSendSequences(3);
    lists.InsertEvent(receiveRecord("answers S2", 2, "S2"), 0, false);
    lists.InsertEvent(receiveRecord("answers S0", 0, "S0"), 1, false);
    lists.InsertEvent(receiveRecord("no answer"), 2, false);

    lists.InsertAction(sendRecord("inserted"), 1, false);
    EXPECT_EQ(lists.receiveList()[0].answerIndex, 3);
    EXPECT_EQ(lists.receiveList()[1].answerIndex, 0);
    EXPECT_EQ(lists.receiveList()[2].answerIndex, -1);

    lists.deleteSendSequence(3, true);
    EXPECT_EQ(lists.receiveList()[0].answerIndex, -1);
    EXPECT_TRUE(lists.receiveList()[0].answerName.empty());
    EXPECT_EQ(lists.receiveList()[1].answerIndex, 0);
    EXPECT_EQ(lists.receiveList()[1].answerName, "S0");
    EXPECT_EQ(sendNames(), (std::vector<std::string>{"S0", "inserted", "S1"}));

    lists.deleteSendSequence(1, false);
    lists.InsertEvent(receiveRecord("answers S1", 1, "S1"), 3, false);
    lists.deleteSendSequence(0, false);
    EXPECT_EQ(lists.receiveList()[1].answerIndex, -1);
    EXPECT_EQ(lists.receiveList()[3].answerIndex, 0) << "an answer after the deleted one moves down";
    EXPECT_EQ(listener.refreshes.size(), 1u);
}

TEST_F(SequenceListsTest, DeleteChecksTheIndex) {
    addSendSequences(2);
    addReceiveSequences(1);
    for (int index : {-1, 2}) {
        EXPECT_INTERNAL_ERROR(lists.deleteSendSequence(index, true), kErrorOutOfRange, kModule,
                              "illegal delete index");
    }
    EXPECT_INTERNAL_ERROR(lists.deleteReceiveSequence(1, true), kErrorOutOfRange, kModule,
                          "illegal delete index");
    EXPECT_EQ(lists.sendList().upperIndex(), 2);

    lists.deleteReceiveSequence(0, true);
    EXPECT_EQ(lists.receiveList().upperIndex(), 0);
    ASSERT_EQ(listener.refreshes.size(), 1u);
    EXPECT_FALSE(listener.refreshes[0].sendList);
    EXPECT_TRUE(listener.refreshes[0].receiveList);
}

TEST_F(SequenceListsTest, MovingASendSequenceKeepsEveryAnswer) {
    addSendSequences(4);
    lists.InsertEvent(receiveRecord("to S0", 0), 0, false);
    lists.InsertEvent(receiveRecord("to S1", 1), 1, false);
    lists.InsertEvent(receiveRecord("to S2", 2), 2, false);
    lists.InsertEvent(receiveRecord("to S3", 3), 3, false);
    lists.InsertEvent(receiveRecord("also to S0", 0), 4, false);

    lists.moveSendSequence(0, 2);
    EXPECT_EQ(sendNames(), (std::vector<std::string>{"S1", "S2", "S0", "S3"}));
    EXPECT_EQ(lists.receiveList()[0].answerIndex, 2);
    EXPECT_EQ(lists.receiveList()[1].answerIndex, 0);
    EXPECT_EQ(lists.receiveList()[2].answerIndex, 1);
    EXPECT_EQ(lists.receiveList()[3].answerIndex, 3);
    EXPECT_EQ(lists.receiveList()[4].answerIndex, 2);
    ASSERT_EQ(listener.refreshes.size(), 1u);
    EXPECT_TRUE(listener.refreshes[0].sendList && listener.refreshes[0].receiveList);

    lists.moveSendSequence(3, 0);
    EXPECT_EQ(sendNames(), (std::vector<std::string>{"S3", "S1", "S2", "S0"}));
    EXPECT_EQ(lists.receiveList()[0].answerIndex, 3);
    EXPECT_EQ(lists.receiveList()[3].answerIndex, 0);
}

TEST_F(SequenceListsTest, MoveToAPositionPastTheEndLandsLastWithItsAnswers) {
    addSendSequences(3);
    lists.InsertEvent(receiveRecord("to S0", 0), 0, false);
    lists.moveSendSequence(0, 50);
    EXPECT_EQ(sendNames(), (std::vector<std::string>{"S1", "S2", "S0"}));
    EXPECT_EQ(lists.receiveList()[0].answerIndex, 2);
}

TEST_F(SequenceListsTest, RefusedMoveLeavesAnswersUntouched) {
    addSendSequences(2);
    lists.InsertEvent(receiveRecord("to S1", 1), 0, false);
    EXPECT_INTERNAL_ERROR(lists.moveSendSequence(2, 0), kErrorOutOfRange, kModule, "illegal delete index");
    EXPECT_EQ(lists.receiveList()[0].answerIndex, 1);
    EXPECT_EQ(sendNames(), (std::vector<std::string>{"S0", "S1"}));
    EXPECT_INTERNAL_ERROR(lists.moveReceiveSequence(-1, 0), kErrorOutOfRange, kModule,
                          "illegal delete index");
}

TEST_F(SequenceListsTest, MovingAReceiveSequenceKeepsItsSettings) {
    addReceiveSequences(3);
    ReceiveSequenceRecord& first = lists.receiveList()[0];
    first.comment = "seen %_T";
    first.active = 0;
    first.stopCommunication = 1;
    first.answerIndex = 5;
    first.answerName = "five";
    first.detectionCount = 17;

    lists.moveReceiveSequence(0, 2);
    EXPECT_EQ(receiveNames(), (std::vector<std::string>{"R1", "R2", "R0"}));
    const ReceiveSequenceRecord& moved = lists.receiveList()[2];
    EXPECT_EQ(moved.comment, "seen %_T");
    EXPECT_EQ(moved.active, 0);
    EXPECT_EQ(moved.stopCommunication, 1);
    EXPECT_EQ(moved.answerIndex, 5);
    EXPECT_EQ(moved.answerName, "five");
    EXPECT_EQ(moved.detectionCount, 0) << "run-time fields are not copied";
    ASSERT_EQ(listener.refreshes.size(), 1u);
    EXPECT_FALSE(listener.refreshes[0].sendList);
    EXPECT_TRUE(listener.refreshes[0].receiveList);
}

TEST_F(SequenceListsTest, ReplaceAnswerIndexRefreshesOnlyWhenSomethingChanged) {
    addReceiveSequences(3);
    lists.receiveList()[0].answerIndex = 4;
    lists.receiveList()[2].answerIndex = 4;
    // The blank slot is not a receive sequence and keeps its answer.
    lists.receiveList()[3].answerIndex = 4;

    lists.replaceAnswerIndex(7, 1, true);
    EXPECT_TRUE(listener.refreshes.empty());
    lists.replaceAnswerIndex(4, 1, true);
    EXPECT_EQ(lists.receiveList()[0].answerIndex, 1);
    EXPECT_EQ(lists.receiveList()[1].answerIndex, -1);
    EXPECT_EQ(lists.receiveList()[2].answerIndex, 1);
    EXPECT_EQ(lists.receiveList()[3].answerIndex, 4);
    ASSERT_EQ(listener.refreshes.size(), 1u);
    EXPECT_TRUE(listener.refreshes[0].receiveList);
    lists.replaceAnswerIndex(1, 2, false);
    EXPECT_EQ(listener.refreshes.size(), 1u);
}

TEST_F(SequenceListsTest, AnswerInUseRefreshesTheFirstAnswerName) {
    addSendSequences(2);
    lists.InsertEvent(receiveRecord("a", 1, "old"), 0, false);
    lists.InsertEvent(receiveRecord("b", 1, "old"), 1, false);
    lists.sendList()[1].name = "renamed";

    EXPECT_TRUE(lists.answerInUse(1));
    EXPECT_EQ(lists.receiveList()[0].answerName, "renamed");
    EXPECT_EQ(lists.receiveList()[1].answerName, "old");
    EXPECT_FALSE(lists.answerInUse(0));

    // A stale answer index that names no send sequence is reported, without a name to take.
    lists.receiveList()[1].answerIndex = 40;
    EXPECT_TRUE(lists.answerInUse(40));
    EXPECT_EQ(lists.receiveList()[1].answerName, "old");
}

TEST_F(SequenceListsTest, SwapExchangesNamesAndSequencesOnly) {
    addSendSequences(2);
    SendSequenceRecord& s1 = lists.sendList()[1];
    s1.repeat = 1;
    s1.repeatInterval = 250;
    s1.sequence = test::sequenceOf(Representation::HEX, "&& 31 41 ?? 42 %% ##");
    for (int i = 0; i < 5; ++i) {
        ReceiveSequenceRecord record = receiveRecord("R" + std::to_string(i), 1, "S1");
        record.comment = "comment";
        record.active = 0;
        record.stopCommunication = 1;
        record.sequence = test::sequenceOf(Representation::HEX, "5" + std::to_string(i) + " ?? !! 33");
        lists.InsertEvent(record, i, false);
    }

    lists.swapLists();
    EXPECT_EQ(sendNames(), (std::vector<std::string>{"R0", "R1", "R2", "R3", "R4"}));
    EXPECT_EQ(receiveNames(), (std::vector<std::string>{"S0", "S1"}));
    for (int i = 0; i < 5; ++i) {
        const SendSequenceRecord& send = lists.sendList()[i];
        EXPECT_TRUE(
            send.sequence.isEqual(test::sequenceOf(Representation::HEX, "5" + std::to_string(i) + " ??")));
        EXPECT_EQ(send.repeat, 0);
        EXPECT_EQ(send.repeatInterval, 5000);
    }
    for (int i = 0; i < 2; ++i) {
        const ReceiveSequenceRecord& receive = lists.receiveList()[i];
        EXPECT_EQ(receive.answerIndex, -1);
        EXPECT_TRUE(receive.answerName.empty());
        EXPECT_TRUE(receive.comment.empty());
        EXPECT_EQ(receive.active, 1);
        EXPECT_EQ(receive.snapshotTrigger, 1);
        EXPECT_EQ(receive.stopCommunication, 0);
    }
    EXPECT_TRUE(
        lists.receiveList()[1].sequence.isEqual(test::sequenceOf(Representation::HEX, "41 ?? 42 ##")));
    EXPECT_TRUE(lists.sendList()[5].name.empty());
    EXPECT_TRUE(lists.receiveList()[2].name.empty());
    ASSERT_EQ(listener.refreshes.size(), 1u);
    EXPECT_TRUE(listener.refreshes[0].sendList && listener.refreshes[0].receiveList);

    // Swapping with an empty list empties the other one.
    lists.resetReceiveList();
    lists.swapLists();
    EXPECT_EQ(lists.sendList().upperIndex(), 0);
    EXPECT_EQ(lists.receiveList().upperIndex(), 5);
}

TEST(SequenceRecordCopy, CopiesStoredFieldsButNotTheWorkingState) {
    SendSequenceRecord send;
    send.name = "ping";
    send.sequence = test::sequenceOf(Representation::HEX, "50 49");
    send.repeat = 1;
    send.repeatInterval = 100;
    send.repeatRunning = 1;
    send.lastSendTime = 12345;
    send.workingCopy = test::sequenceOf(Representation::HEX, "FF");
    send.needsParameters = 1;
    send.workingCopyHasFunctionCharacters = 1;
    SendSequenceRecord sendCopy;
    copySendRecord(sendCopy, send);
    EXPECT_EQ(sendCopy.name, "ping");
    EXPECT_TRUE(sendCopy.sequence.isEqual(send.sequence));
    EXPECT_EQ(sendCopy.repeat, 1);
    EXPECT_EQ(sendCopy.repeatInterval, 100);
    EXPECT_EQ(sendCopy.repeatRunning, 1);
    EXPECT_EQ(sendCopy.lastSendTime, 12345);
    EXPECT_EQ(sendCopy.workingCopy.size(), 0);
    EXPECT_EQ(sendCopy.needsParameters, 0);
    EXPECT_EQ(sendCopy.workingCopyHasFunctionCharacters, 0);

    ReceiveSequenceRecord receive = receiveRecord("pong", 3, "ping");
    receive.comment = "c";
    receive.lineBreakAfterComment = 1;
    receive.timeStampAfterComment = 1;
    receive.active = 0;
    receive.snapshotTrigger = 0;
    receive.stopCommunication = 1;
    receive.detectionCount = 9;
    receive.matchHistory[1] = test::sequenceOf(Representation::HEX, "0D");
    receive.lastDetectionTime = {5, 6};
    receive.hasFunctionCharacters = 1;
    receive.commentHasPlaceholders = 1;
    ReceiveSequenceRecord receiveCopy;
    copyReceiveRecord(receiveCopy, receive);
    EXPECT_EQ(receiveCopy.name, "pong");
    EXPECT_TRUE(receiveCopy.sequence.isEqual(receive.sequence));
    EXPECT_EQ(receiveCopy.answerIndex, 3);
    EXPECT_EQ(receiveCopy.answerName, "ping");
    EXPECT_EQ(receiveCopy.comment, "c");
    EXPECT_EQ(receiveCopy.lineBreakAfterComment, 1);
    EXPECT_EQ(receiveCopy.timeStampAfterComment, 1);
    EXPECT_EQ(receiveCopy.active, 0);
    EXPECT_EQ(receiveCopy.snapshotTrigger, 0);
    EXPECT_EQ(receiveCopy.stopCommunication, 1);
    EXPECT_EQ(receiveCopy.detectionCount, 0);
    EXPECT_EQ(receiveCopy.matchHistory[1].size(), 0);
    EXPECT_EQ(receiveCopy.lastDetectionTime[0], -86400000);
    EXPECT_EQ(receiveCopy.hasFunctionCharacters, 0);
    EXPECT_EQ(receiveCopy.commentHasPlaceholders, 0);
}

TEST(SequenceListStorage, LowLevelChangesKeepTheBlankSlot) {
    SendSequenceList list;
    list.removeLastKeepingBlank();
    EXPECT_EQ(list.upperIndex(), 0);
    EXPECT_INTERNAL_ERROR(list.eraseAt(0), kErrorOutOfRange, "modSequenceManagement",
                          "illegal sequence list index 0");
    EXPECT_INTERNAL_ERROR(list.insertAt(1, sendRecord("X")), kErrorOutOfRange, "modSequenceManagement",
                          "illegal sequence list index 1");
    list.insertAt(0, sendRecord("A"));
    list.insertAt(1, sendRecord("B"));
    EXPECT_EQ(list.upperIndex(), 2);
    EXPECT_EQ(list[1].name, "B");
    EXPECT_TRUE(list[2].name.empty());
    list.eraseAt(0);
    EXPECT_EQ(list[0].name, "B");
    EXPECT_EQ(list.upperIndex(), 1);
}
