// The receive sequence editor's decisions: answer choices, the receive-only note, the actions.
#include "ControlFixture.h"
#include "EditorViews.h"

#include "app/control/ReceiveSequenceEditor.h"

namespace corvane {
namespace {

class ReceiveEditorTest : public test::ControlTest {
protected:
    ReceiveSequenceEditor& editor() {
        SequenceEditorHooks hooks;
        hooks.projectModified = [this] { ++modified; };
        hooks.refreshList = [this](SequenceListKind kind) { refreshed.push_back(kind); };
        editor_ = std::make_unique<ReceiveSequenceEditor>(context, view, view, std::move(hooks));
        return *editor_;
    }
    void type(const std::string& name, const ClSequence& pattern) {
        view.nameText = name;
        view.characters.copyFrom(pattern);
        editor_->contentChanged();
    }
    const ReceiveSequenceRecord& entry(int index) { return lists.receiveList()[index]; }

    test::RecordingReceiveEditorView view;
    std::unique_ptr<ReceiveSequenceEditor> editor_;
    int modified = 0;
    std::vector<SequenceListKind> refreshed;
};

TEST_F(ReceiveEditorTest, SendSequencesWithWildcardsAreNotOfferedAsAnswers) {
    addSend("Reset", "z");
    addSend("Template", "t");
    lists.sendList()[1].sequence.appendCharacter(kWildcardOptional);
    addSend("Ack", "k");
    editor().open();
    ASSERT_EQ(view.choices.size(), 3u);
    EXPECT_EQ(view.choices[0].text, "No Answer");
    EXPECT_EQ(view.choices[0].value, -1);
    EXPECT_EQ(view.choices[1].text, "0:  Reset");
    EXPECT_EQ(view.choices[2].text, "2:  Ack");
    EXPECT_EQ(view.choices[2].value, 2);
    EXPECT_EQ(view.page, 0);
    EXPECT_TRUE(view.answerPossible);
}

TEST_F(ReceiveEditorTest, InReceiveOnlyMonitoringNoAnswerCanBeChosen) {
    communicationSettings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    editor().open();
    EXPECT_FALSE(view.answerPossible);
    communicationSettings.communicationMode = CommunicationMode::MonitorReceiveModify;
    editor().open();
    EXPECT_TRUE(view.answerPossible);
}

TEST_F(ReceiveEditorTest, ShowsAndStoresTheActionsOfAnEntry) {
    addSend("Reset", "z");
    addSend("Ack", "k");
    addReceive("Ping", "p", 1);
    lists.receiveList()[0].comment = "got %_D";
    lists.receiveList()[0].stopCommunication = 1;
    lists.receiveList()[0].snapshotTrigger = 0;
    editor().open();
    EXPECT_EQ(view.nameText, "Ping");
    EXPECT_EQ(view.fields.answerChoice, 2);
    EXPECT_EQ(view.fields.comment, "got %_D");
    EXPECT_TRUE(view.fields.stopCommunication);
    EXPECT_FALSE(view.fields.snapshotTrigger);
    EXPECT_FALSE(view.buttons.apply);

    view.fields.answerChoice = 1;
    view.fields.lineBreakAfterComment = true;
    view.fields.timeStampAfterComment = true;
    view.fields.stopCommunication = false;
    editor_->contentChanged();
    EXPECT_TRUE(editor_->apply());
    EXPECT_EQ(entry(0).answerIndex, 0);
    EXPECT_EQ(entry(0).answerName, "Reset");
    EXPECT_EQ(entry(0).lineBreakAfterComment, 1);
    EXPECT_EQ(entry(0).timeStampAfterComment, 1);
    EXPECT_EQ(entry(0).stopCommunication, 0);
    EXPECT_EQ(modified, 1);

    view.fields.answerChoice = 0;
    editor_->contentChanged();
    EXPECT_TRUE(editor_->apply());
    EXPECT_EQ(entry(0).answerIndex, -1);
    EXPECT_EQ(entry(0).answerName, "");
}

TEST_F(ReceiveEditorTest, AnAnswerThatIsNoChoiceIsShownAsNoAnswer) {
    addSend("Template", "t");
    lists.sendList()[0].sequence.appendCharacter(kWildcardOne);
    addSend("Ack", "k");
    addReceive("Ack first", "a", 1);
    addReceive("Template answer", "b", 0);
    editor().open();
    EXPECT_EQ(view.fields.answerChoice, 1);
    editor_->forward();
    EXPECT_EQ(view.fields.answerChoice, 0) << "not the selection of the entry shown before";
}

TEST_F(ReceiveEditorTest, APatternWithWildcardsIsAppliedOnTheBlankSlotAsANewActiveEntry) {
    editor().open();
    type("Any two", test::sequenceOf({'A', kWildcardOne, kWildcardOptional}));
    view.fields.comment = "seen";
    EXPECT_TRUE(editor_->enterPressed());
    ASSERT_EQ(lists.receiveList().sequenceCount(), 1);
    EXPECT_EQ(entry(0).sequence.size(), 3);
    EXPECT_EQ(entry(0).comment, "seen");
    EXPECT_EQ(entry(0).active, 1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(view.index, 1);
    EXPECT_EQ(refreshed, std::vector<SequenceListKind>{SequenceListKind::Receive});
}

TEST_F(ReceiveEditorTest, ClearingNameAndPatternDeletesAndDeleteAsksTheShortQuestion) {
    addSend("Ack", "k");
    addReceive("A", "a", 0);
    addReceive("B", "b");
    addReceive("C", "c");
    editor().open();
    type("", ClSequence());
    EXPECT_TRUE(editor_->apply());
    EXPECT_EQ(lists.receiveList().sequenceCount(), 2);
    EXPECT_EQ(view.nameText, "B");
    messages.answers = {MessageResult::OK};
    editor_->deleteSequence();
    EXPECT_EQ(messages.shown.back().text,
              "Deleting a sequence cannot be undone. Are you sure to delete this sequence?");
    EXPECT_EQ(lists.receiveList().sequenceCount(), 1);
    EXPECT_EQ(view.nameText, "C");
}

TEST_F(ReceiveEditorTest, AFullListRefusesTheNewSequence) {
    for (int i = 0; i < modSequenceManagement::kMaxSequences; ++i) {
        lists.receiveSeq_addNewElement();
    }
    lists.receiveList().setCurrentIndex(modSequenceManagement::kMaxSequences);
    editor().open();
    type("One too many", test::sequenceOf("x"));
    EXPECT_FALSE(editor_->apply());
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Maximum number of Receive Sequences reached"});
    EXPECT_EQ(view.nameText, "One too many");
}

} // namespace
} // namespace corvane
