#include "SequenceListsFixture.h"
#include "support/InternalErrorExpect.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

class SequenceClipboardTest : public SequenceListsTest {
protected:
    void SetUp() override {
        SendSequenceRecord ping = sendRecord("Ping", "50 49 4E 47 0D");
        ping.repeat = 1;
        ping.repeatInterval = 250;
        lists.InsertAction(ping, 0, false);

        ReceiveSequenceRecord pong = receiveRecord("Pong", 0, "Ping");
        pong.sequence = test::sequenceOf(Representation::HEX, "50 4F ?? 47");
        pong.comment = "pong seen";
        pong.stopCommunication = 1;
        pong.snapshotTrigger = 0;
        lists.InsertEvent(pong, 0, false);
    }
};

} // namespace

TEST_F(SequenceClipboardTest, CopyingASendSequenceFillsBothBuffersAndTheClipboard) {
    clipboard.contents = "something else";
    lists.copyToClipboard(SequenceListKind::Send, 0, Representation::HEX);
    EXPECT_EQ(clipboard.contents, "50 49 4E 47 0D");
    EXPECT_EQ(lists.clipboardText(), "50 49 4E 47 0D");
    EXPECT_TRUE(lists.clipboardSequence().isEqual(test::sequenceOf(Representation::HEX, "50 49 4E 47 0D")));
    EXPECT_EQ(lists.sendRecordBuffer().repeatInterval, 250);
    EXPECT_EQ(lists.receiveRecordBuffer().name, "Ping");
    EXPECT_EQ(lists.receiveRecordBuffer().answerIndex, -1);

    lists.copyToClipboard(SequenceListKind::Send, 0, Representation::ASCII);
    EXPECT_EQ(clipboard.contents, "PING<CR>");
}

TEST_F(SequenceClipboardTest, PastingTheSystemsOwnTextRestoresTheFullRecord) {
    lists.copyToClipboard(SequenceListKind::Send, 0, Representation::HEX);
    const SendSequenceRecord send = lists.pasteSendFromClipboard(Representation::HEX);
    EXPECT_EQ(send.name, "Ping");
    EXPECT_EQ(send.repeat, 1);
    EXPECT_EQ(send.repeatInterval, 250);
    EXPECT_TRUE(send.sequence.isEqual(test::sequenceOf(Representation::HEX, "50 49 4E 47 0D")));
    // Into the other list it goes as a default record with the name and the sequence.
    const ReceiveSequenceRecord receive = lists.pasteReceiveFromClipboard(Representation::HEX);
    EXPECT_EQ(receive.name, "Ping");
    EXPECT_EQ(receive.answerIndex, -1);
    EXPECT_EQ(receive.active, 1);
    EXPECT_TRUE(receive.sequence.isEqual(test::sequenceOf(Representation::HEX, "50 49 4E 47 0D")));

    lists.copyToClipboard(SequenceListKind::Receive, 0, Representation::Decimal);
    EXPECT_EQ(clipboard.contents, "080 079 ??? 071");
    const ReceiveSequenceRecord pong = lists.pasteReceiveFromClipboard(Representation::Decimal);
    EXPECT_EQ(pong.name, "Pong");
    EXPECT_EQ(pong.answerIndex, 0);
    EXPECT_EQ(pong.answerName, "Ping");
    EXPECT_EQ(pong.comment, "pong seen");
    EXPECT_EQ(pong.stopCommunication, 1);
    EXPECT_EQ(pong.snapshotTrigger, 0);
    const SendSequenceRecord pongAsSend = lists.pasteSendFromClipboard(Representation::Decimal);
    EXPECT_EQ(pongAsSend.name, "Pong");
    EXPECT_EQ(pongAsSend.repeat, 0);
    EXPECT_TRUE(pongAsSend.sequence.isEqual(test::sequenceOf(Representation::HEX, "50 4F ?? 47")));
}

TEST_F(SequenceClipboardTest, TheSameSequenceTypedElsewhereGivesDefaults) {
    lists.copyToClipboard(SequenceListKind::Send, 0, Representation::HEX);
    clipboard.contents = "50 49 4e 47 0d";
    const SendSequenceRecord send = lists.pasteSendFromClipboard(Representation::HEX);
    EXPECT_TRUE(send.sequence.isEqual(test::sequenceOf(Representation::HEX, "50 49 4E 47 0D")));
    EXPECT_TRUE(send.name.empty()) << "only ASCII text gives a name";
    EXPECT_EQ(send.repeat, 0);
    EXPECT_EQ(send.repeatInterval, 5000);
}

TEST_F(SequenceClipboardTest, AsciiTextNamesTheRecordUpToItsFirstControlCharacter) {
    clipboard.contents = "Hello\r\nWorld";
    const SendSequenceRecord send = lists.pasteSendFromClipboard(Representation::ASCII);
    EXPECT_EQ(send.sequence.size(), 12);
    EXPECT_EQ(send.name, "Hello");
    EXPECT_EQ(send.sequence.getCharacter(5), 13);
    EXPECT_EQ(send.sequence.getCharacter(6), 10);

    // At most 255 characters, counted as characters, not bytes.
    std::string longText;
    for (int i = 0; i < 300; ++i) {
        longText += "\xC3\xA9"; // e acute
    }
    clipboard.contents = longText;
    const ReceiveSequenceRecord receive = lists.pasteReceiveFromClipboard(Representation::ASCII);
    EXPECT_EQ(receive.name.size(), 255u * 2);
    EXPECT_EQ(receive.sequence.size(), 300);
    EXPECT_EQ(receive.sequence.getCharacter(0), 0xE9);

    clipboard.contents = "\tstarts with a tab";
    EXPECT_TRUE(lists.pasteSendFromClipboard(Representation::ASCII).name.empty());
}

TEST_F(SequenceClipboardTest, PasteKeepsTheMaximumLengthAndOnlyTheWildcards) {
    clipboard.contents = "41 && 42 ?? 43 ^^ 0F 05 %% ##";
    const SendSequenceRecord send = lists.pasteSendFromClipboard(Representation::HEX);
    EXPECT_TRUE(send.sequence.isEqual(test::sequenceOf(Representation::HEX, "41 ?? 43 0F 05 ##")));

    clipboard.contents = "ABCDEFGH";
    EXPECT_EQ(lists.pasteSendFromClipboard(Representation::ASCII, 5).sequence.size(), 5);

    // Text that is no sequence in the representation gives an empty record for the caller to report.
    clipboard.contents = "not hex at all";
    EXPECT_EQ(lists.pasteReceiveFromClipboard(Representation::HEX).sequence.size(), 0);
    clipboard.contents = "";
    EXPECT_EQ(lists.pasteSendFromClipboard(Representation::Binary).sequence.size(), 0);
}

TEST_F(SequenceClipboardTest, CopyChecksTheIndex) {
    lists.copyToClipboard(SequenceListKind::Send, 1, Representation::HEX);
    EXPECT_EQ(clipboard.contents, "") << "the blank slot copies as an empty sequence";
    EXPECT_INTERNAL_ERROR(lists.copyToClipboard(SequenceListKind::Send, 2, Representation::HEX),
                          kErrorOutOfRange, "modSequenceManagement", "illegal copy index");
    EXPECT_INTERNAL_ERROR(lists.copyToClipboard(SequenceListKind::Receive, -1, Representation::HEX),
                          kErrorOutOfRange, "modSequenceManagement", "illegal copy index");
}

TEST_F(SequenceClipboardTest, TakesANewSequenceBackFromTheEditControl) {
    lists.copyToClipboard(SequenceListKind::Send, 0, Representation::HEX);

    // The control's clipboard still holds the same sequence: the full record stays.
    lists.takeClipboardFromEditControl(test::sequenceOf(Representation::HEX, "50 49 4E 47 0D"),
                                       Representation::ASCII);
    EXPECT_EQ(lists.clipboardText(), "50 49 4E 47 0D");
    EXPECT_EQ(lists.pasteSendFromClipboard(Representation::HEX).repeatInterval, 250);

    // The user copied something else inside the editor.
    lists.takeClipboardFromEditControl(test::sequenceOf(Representation::HEX, "31 32"), Representation::HEX);
    EXPECT_TRUE(lists.clipboardSequence().isEqual(test::sequenceOf(Representation::HEX, "31 32")));
    EXPECT_EQ(lists.clipboardText(), "31 32");
    EXPECT_TRUE(lists.sendRecordBuffer().name.empty());
    EXPECT_EQ(lists.sendRecordBuffer().repeatInterval, 5000);
    EXPECT_TRUE(lists.receiveRecordBuffer().sequence.isEqual(test::sequenceOf(Representation::HEX, "31 32")));
    EXPECT_EQ(lists.receiveRecordBuffer().answerIndex, -1);

    clipboard.contents = "31 32";
    const SendSequenceRecord pasted = lists.pasteSendFromClipboard(Representation::HEX);
    EXPECT_TRUE(pasted.sequence.isEqual(test::sequenceOf(Representation::HEX, "31 32")));
    EXPECT_EQ(pasted.repeat, 0);
}
