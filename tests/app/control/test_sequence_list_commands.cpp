// What the sequence lists report: sending, editing, the clipboard, deleting with its questions,
// moving with the answers following, and the active flag.
#include "ControlFixture.h"

namespace corvane {
namespace {

class SequenceListCommandsTest : public test::ControlTest {
protected:
    SequenceListCommandsTest() {
        addSend("Ping", "ping");
        addSend("Pong", "pong");
        addSend("Ack", "ack");
        addReceive("Ping received", "ping", 1);
        addReceive("Ack received", "ack", 2);
    }
    SequenceListCommands& commands() { return controller.lists(); }
    std::vector<int> answers() const {
        std::vector<int> result;
        for (int i = 0; i < lists.receiveList().sequenceCount(); ++i) {
            result.push_back(lists.receiveList()[i].answerIndex);
        }
        return result;
    }
};

TEST_F(SequenceListCommandsTest, DeletingAsksTheQuestionOfTheListAndTheAnswersInUse) {
    current.baseName = "X";
    start();
    const struct {
        SequenceListKind list;
        int index;
        const char* question;
    } cases[] = {
        {SequenceListKind::Send, 0,
         "Deleting a Send Sequence cannot be undone. Are you sure to delete this Send Sequence?"},
        {SequenceListKind::Send, 1,
         "Deleting a sequence cannot be undone. Additionally, one or several Receive Sequences use this Send "
         "Sequence as an automatic answer. Are you sure to delete this sequence?"},
        {SequenceListKind::Receive, 0,
         "Deleting a Receive Sequence cannot be undone. Are you sure to delete this Receive Sequence?"},
    };
    for (const auto& c : cases) {
        messages.answers.push_back(MessageResult::Cancel);
        commands().deleteSequence(c.list, c.index);
        ASSERT_EQ(messages.shown.size(), 1u) << c.question;
        EXPECT_EQ(messages.shown[0].text, c.question);
        EXPECT_EQ(messages.shown[0].title, windowCaptionOf("X"));
        EXPECT_EQ(messages.shown[0].buttons, MessageButtons::OKCancel);
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
        messages.shown.clear();
    }
    // Cancel kept everything, communication was stopped first.
    EXPECT_FALSE(controller.communication().communicationRuns());
    EXPECT_EQ(lists.sendList().sequenceCount(), 3);
    EXPECT_EQ(lists.receiveList().sequenceCount(), 2);
    EXPECT_FALSE(controller.project().projectModified());

    // OK deletes: the answer to the deleted sequence is gone, the later one follows.
    messages.answers.push_back(MessageResult::OK);
    commands().deleteSequence(SequenceListKind::Send, 1);
    EXPECT_EQ(lists.sendList().sequenceCount(), 2);
    EXPECT_EQ(answers(), (std::vector<int>{-1, 1}));
    EXPECT_EQ(window.selectedRow, 1);
    EXPECT_TRUE(controller.project().projectModified());
}

TEST_F(SequenceListCommandsTest, AnswersFollowMovesAndMovesOutOfRangeChangeNothing) {
    commands().moveSequence(SequenceListKind::Send, 2, 0);
    EXPECT_EQ(lists.sendList()[0].name, "Ack");
    EXPECT_EQ(answers(), (std::vector<int>{2, 0}));
    EXPECT_EQ(window.selectedRow, 0);
    EXPECT_TRUE(controller.project().projectModified());

    controller.project().DisableSave();
    for (auto [from, to] : {std::pair{0, 0}, std::pair{-1, 1}, std::pair{0, 3}, std::pair{3, 0}}) {
        commands().moveSequence(SequenceListKind::Send, from, to);
    }
    EXPECT_EQ(answers(), (std::vector<int>{2, 0}));
    EXPECT_FALSE(controller.project().projectModified());

    commands().moveSequence(SequenceListKind::Receive, 1, 0);
    EXPECT_EQ(lists.receiveList()[0].name, "Ack received");
    EXPECT_EQ(answers(), (std::vector<int>{0, 2}));
}

TEST_F(SequenceListCommandsTest, PasteReadsTheClipboardInTheListRepresentation) {
    settings.dispSequListRepresentation = 1; // HEX
    clipboard.contents = "zz";
    commands().pasteSequence(SequenceListKind::Receive, 0);
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Clipboard text format does not match current edit mode "
                                       "(HEX). Check data format of clipboard contents and try "
                                       "again."});
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(lists.receiveList().sequenceCount(), 2);
    EXPECT_TRUE(controller.commands().pendingCommand().empty());

    clipboard.contents = "41 42";
    commands().pasteSequence(SequenceListKind::Send, 1);
    ASSERT_EQ(lists.sendList().sequenceCount(), 4);
    EXPECT_EQ(lists.sendList()[1].sequence.getClipboardText(Representation::ASCII), "AB");
    // Its editor opens at the next pass; the answers after the new entry follow.
    EXPECT_EQ(controller.commands().pendingCommand(), "EditSendSeq");
    EXPECT_EQ(answers(), (std::vector<int>{2, 3}));
    EXPECT_TRUE(controller.project().projectModified());

    // Copy and cut go through the clipboard in the same representation.
    commands().cutSequence(SequenceListKind::Send, 3);
    EXPECT_EQ(clipboard.contents, "61 63 6B");
    EXPECT_EQ(lists.sendList().sequenceCount(), 3);
    EXPECT_EQ(answers(), (std::vector<int>{2, -1}));
}

TEST_F(SequenceListCommandsTest, EditingNeedsTheEditorAndStopsCommunicationFirst) {
    start();
    commands().editSequence(SequenceListKind::Send, 1);
    EXPECT_TRUE(controller.communication().communicationRuns());
    EXPECT_TRUE(controller.commands().pendingCommand().empty());

    int opened = -1;
    controller.commands().registerCommand("EditReceiveSeq", [&] { opened = commands().editIndex(); });
    commands().editSequence(SequenceListKind::Receive, 1);
    EXPECT_FALSE(controller.communication().communicationRuns());
    EXPECT_EQ(controller.commands().pendingCommand(), "EditReceiveSeq");
    controller.commands().runDeferredCommand();
    EXPECT_EQ(opened, 1);
}

TEST_F(SequenceListCommandsTest, TheSendButtonStartsCommunicationAndRunsPeriodicSending) {
    auto& pong = lists.sendList()[1];
    pong.repeat = 1;
    pong.repeatInterval = 100;
    commands().sendButtonClicked(0);
    ASSERT_TRUE(controller.communication().communicationRuns());
    controller.communication().pass().runPass();
    ASSERT_FALSE(library.transmissions.empty());

    commands().sendButtonClicked(1);
    EXPECT_EQ(pong.repeatRunning, 1);
    EXPECT_NE(std::find(window.calls.begin(), window.calls.end(), "refreshSendRow 1"), window.calls.end());
    commands().sendButtonClicked(1);
    EXPECT_EQ(pong.repeatRunning, 0);
    // A row out of the list does nothing.
    commands().sendButtonClicked(7);

    // Stopping communication ends periodic sending and redraws the rows.
    commands().sendButtonClicked(1);
    window.calls.clear();
    controller.communication().execUserStop();
    EXPECT_EQ(pong.repeatRunning, 0);
    EXPECT_NE(std::find(window.calls.begin(), window.calls.end(), "refreshSendRow 1"), window.calls.end());
    EXPECT_NE(std::find(window.calls.begin(), window.calls.end(), "refreshSendRow 0"), window.calls.end());
}

TEST_F(SequenceListCommandsTest, TheActiveFlagMarksTheProjectModifiedOnlyWhenItChanges) {
    commands().setReceiveActive(0, true);
    EXPECT_FALSE(controller.project().projectModified());
    commands().setReceiveActive(0, false);
    EXPECT_EQ(lists.receiveList()[0].active, 0);
    EXPECT_TRUE(controller.project().projectModified());
    commands().setReceiveActive(5, true);
    commands().setReceiveActive(-1, true);
}

} // namespace
} // namespace corvane
