// The send sequence editor's decisions, on the real lists, with the dialog's fields as plain values.
#include "ControlFixture.h"
#include "EditorViews.h"

#include "app/control/SendSequenceEditor.h"

namespace corvane {
namespace {

class SendEditorTest : public test::ControlTest {
protected:
    SendSequenceEditor& editor(const std::string& separator = ".") {
        SequenceEditorHooks hooks;
        hooks.projectModified = [this] { ++modified; };
        hooks.refreshList = [this](SequenceListKind kind) {
            refreshed.push_back(kind == SequenceListKind::Send ? "send" : "receive");
        };
        hooks.refreshRow = [this](SequenceListKind, int row) {
            refreshed.push_back("row " + std::to_string(row));
        };
        hooks.displayModeChanged = [this](Representation representation) { modes.push_back(representation); };
        editor_ = std::make_unique<SendSequenceEditor>(context, view, view, std::move(hooks), separator);
        return *editor_;
    }
    void type(const std::string& name, const std::string& ascii) {
        view.nameText = name;
        view.characters = test::sequenceOf(ascii);
        editor_->contentChanged();
    }
    const SendSequenceRecord& entry(int index) { return lists.sendList()[index]; }

    test::RecordingSendEditorView view;
    std::unique_ptr<SendSequenceEditor> editor_;
    int modified = 0;
    std::vector<std::string> refreshed;
    std::vector<Representation> modes;
};

TEST_F(SendEditorTest, OpensOnTheListsCurrentIndexClampedToTheBlankSlot) {
    addSend("A", "a");
    addSend("B", "b");
    lists.sendList().setCurrentIndex(7);
    settings.dispSequListRepresentation = 1;
    editor().open();
    EXPECT_EQ(view.index, 2);
    EXPECT_EQ(view.editMode, Representation::HEX);
    EXPECT_TRUE(modes.empty()) << "opening must not switch the main window's lists";
    EXPECT_FALSE(view.buttons.deleteSequence);
    EXPECT_FALSE(view.buttons.okDefault);
    EXPECT_FALSE(view.buttons.apply);
    EXPECT_TRUE(view.buttons.back);
    EXPECT_FALSE(view.buttons.forward);
    editor_->activated();
    EXPECT_EQ(view.focus, "name");

    editor_->back();
    EXPECT_EQ(view.index, 1);
    EXPECT_EQ(view.nameText, "B");
    EXPECT_TRUE(view.buttons.deleteSequence);
    EXPECT_TRUE(view.buttons.okDefault);
    EXPECT_TRUE(view.buttons.forward);
    EXPECT_EQ(lists.sendList().currentIndex(), 1);
    editor_->activated();
    EXPECT_EQ(view.focus, "sequence");
}

TEST_F(SendEditorTest, ShowsTheRepeatAndIntervalAndOnlyAChangeEnablesApply) {
    addSend("Poll", "p");
    lists.sendList()[0].repeat = 1;
    lists.sendList()[0].repeatInterval = 2500;
    editor(",").open();
    EXPECT_TRUE(view.repeatChecked);
    EXPECT_EQ(view.interval, "2,5");
    EXPECT_TRUE(view.intervalEnabled);
    EXPECT_FALSE(view.buttons.apply);
    view.repeatChecked = false;
    editor_->repeatChanged();
    EXPECT_FALSE(view.intervalEnabled);
    EXPECT_TRUE(view.buttons.apply);
    EXPECT_TRUE(editor_->apply());
    EXPECT_EQ(entry(0).repeat, 0);
    EXPECT_FALSE(view.buttons.apply);
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(refreshed, std::vector<std::string>{"row 0"});
}

TEST_F(SendEditorTest, IntervalOutOfRangeOrNotANumberIsCorrectedReportedAndRefusesTheApply) {
    struct Case {
        std::string separator;
        std::string typed;
        bool valid;
        std::string shown;
        std::int32_t stored;
    };
    const std::vector<Case> cases{{".", "0", false, "0.01", 0},         {".", "10000", false, "9999", 0},
                                  {",", "2,5", true, "2,5", 2500},      {".", "2,5", false, "0.01", 0},
                                  {".", " 2.50 ", true, "2.5", 2500},   {".", "abc", false, "0.01", 0},
                                  {".", "", false, "0.01", 0},          {".", "0.01", true, "0.01", 10},
                                  {".", "9999", true, "9999", 9999000}, {".", "1.2.3", false, "0.01", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed + " with " + c.separator);
        lists.resetSendList();
        addSend("Poll", "p");
        messages.shown.clear();
        editor(c.separator).open();
        view.repeatChecked = true;
        view.interval = c.typed;
        editor_->contentChanged();
        EXPECT_EQ(editor_->apply(), c.valid);
        EXPECT_EQ(view.interval, c.shown);
        if (c.valid) {
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_EQ(entry(0).repeatInterval, c.stored);
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text, "Illegal value. Please correct.");
            EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
            EXPECT_EQ(messages.shown[0].title, "Edit Sequence");
            EXPECT_EQ(entry(0).repeat, 0) << "a refused apply stores nothing";
            EXPECT_TRUE(view.buttons.apply);
        }
    }
}

TEST_F(SendEditorTest, LeavingTheIntervalBoxCorrectsIt) {
    addSend("Poll", "p");
    editor().open();
    view.interval = "0";
    EXPECT_FALSE(editor_->intervalLeft());
    EXPECT_EQ(view.interval, "0.01");
    ASSERT_EQ(messages.shown.size(), 1u);
    view.interval = "3";
    EXPECT_TRUE(editor_->intervalLeft());
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(SendEditorTest, ClearingNameAndCharactersOfAnEntryDeletesItAndShowsTheNextOne) {
    addSend("A", "a");
    addSend("B", "b");
    editor().open();
    type("", "");
    EXPECT_TRUE(editor_->apply());
    EXPECT_EQ(lists.sendList().sequenceCount(), 1);
    EXPECT_EQ(view.index, 0);
    EXPECT_EQ(view.nameText, "B");
    EXPECT_EQ(modified, 1);
    // On the blank slot nothing happens.
    editor_->forward();
    type("", "");
    EXPECT_TRUE(editor_->apply());
    EXPECT_EQ(lists.sendList().sequenceCount(), 1);
    EXPECT_EQ(modified, 1);
}

TEST_F(SendEditorTest, AWildcardInAnAnswerAsksFirstAndOKTurnsTheAnswersIntoNoAnswer) {
    addSend("Ack", "k");
    addReceive("Ping", "p", 0);
    addReceive("Pong", "o", 0);
    editor().open();
    view.characters = test::sequenceOf({'k', kWildcardOne});
    editor_->contentChanged();
    messages.answers = {MessageResult::Cancel};
    EXPECT_FALSE(editor_->apply());
    ASSERT_EQ(messages.shown.size(), 1u);
    const MessageRequest& question = messages.shown[0];
    EXPECT_EQ(question.text, "This sequence contains wildcards now. You cannot use a sequence with wildcards "
                             "as an automatic answer for a receive sequence (see 'Actions'). Press OK to use "
                             "wildcards and remove this sequence from the receive sequence answers.");
    EXPECT_EQ(question.helpTopic, 21);
    EXPECT_EQ(question.buttons, MessageButtons::OKCancel);
    EXPECT_EQ(question.defaultButton, 1);
    EXPECT_EQ(question.icon, MessageIcon::Warning);
    EXPECT_EQ(entry(0).sequence.size(), 1) << "Cancel changes nothing";
    EXPECT_EQ(lists.receiveList()[1].answerIndex, 0);

    messages.answers = {MessageResult::OK};
    EXPECT_TRUE(editor_->apply());
    EXPECT_EQ(entry(0).sequence.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(lists.receiveList()[i].answerIndex, kNoAnswer);
        EXPECT_EQ(lists.receiveList()[i].answerName, "");
    }
}

TEST_F(SendEditorTest, RenamingAnAnswerRenamesItInEveryReceiveSequence) {
    addSend("Ack", "k");
    addReceive("Ping", "p", 0);
    addReceive("Pong", "o", 0);
    editor().open();
    type("Acknowledge", "k");
    EXPECT_TRUE(editor_->apply());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(lists.receiveList()[0].answerName, "Acknowledge");
    EXPECT_EQ(lists.receiveList()[1].answerName, "Acknowledge");
    EXPECT_EQ(refreshed, (std::vector<std::string>{"row 0", "receive"}));
}

TEST_F(SendEditorTest, EnterOnTheBlankSlotAddsTheSequenceAndOffersTheNextBlankSlot) {
    editor().open();
    EXPECT_FALSE(editor_->enterPressed()) << "without a name Enter is the dialog's";
    type("First", "");
    EXPECT_TRUE(editor_->enterPressed());
    EXPECT_EQ(view.focus, "sequence");
    EXPECT_EQ(lists.sendList().sequenceCount(), 0);
    type("First", "one");
    EXPECT_TRUE(editor_->enterPressed());
    type("Second", "two");
    EXPECT_TRUE(editor_->enterPressed());
    ASSERT_EQ(lists.sendList().sequenceCount(), 2);
    EXPECT_EQ(entry(0).name, "First");
    EXPECT_EQ(entry(1).sequence.getRawASCII(), "two");
    EXPECT_EQ(view.index, 2);
    EXPECT_EQ(view.nameText, "");
    EXPECT_EQ(view.focus, "name");
    EXPECT_FALSE(view.buttons.deleteSequence);
    EXPECT_FALSE(view.buttons.apply);
    // On an existing entry Enter goes to the default button, OK.
    editor_->back();
    EXPECT_FALSE(editor_->enterPressed());
    EXPECT_TRUE(view.buttons.okDefault);
}

TEST_F(SendEditorTest, ApplyOnTheBlankSlotAddsAnEntryAndEnablesDelete) {
    editor().open();
    type("New", "n");
    EXPECT_TRUE(editor_->apply());
    EXPECT_EQ(lists.sendList().sequenceCount(), 1);
    EXPECT_EQ(view.index, 0);
    EXPECT_TRUE(view.buttons.deleteSequence);
    EXPECT_TRUE(view.buttons.forward);
    EXPECT_EQ(refreshed, std::vector<std::string>{"send"});
}

TEST_F(SendEditorTest, AFullListRefusesTheNewSequenceAndKeepsWhatWasTyped) {
    for (int i = 0; i < modSequenceManagement::kMaxSequences; ++i) {
        lists.sendSeq_addNewElement();
    }
    lists.sendList().setCurrentIndex(modSequenceManagement::kMaxSequences);
    editor().open();
    type("One too many", "x");
    EXPECT_FALSE(editor_->apply());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Maximum number of Send Sequences reached");
    EXPECT_EQ(entry(modSequenceManagement::kMaxSequences).name, "");
    EXPECT_EQ(view.nameText, "One too many");
    EXPECT_EQ(modified, 0);
    editor_->ok();
    EXPECT_FALSE(view.closed);
}

TEST_F(SendEditorTest, TheModifiedQuestionAppliesOrDiscardsBeforeMoving) {
    addSend("A", "a");
    addSend("B", "b");
    lists.sendList().setCurrentIndex(1);
    editor().open();
    type("Changed", "c");
    messages.answers = {MessageResult::No};
    editor_->back();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, SequenceEditor::kModifiedQuestion);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(view.index, 0);
    EXPECT_EQ(entry(1).name, "B");

    type("Applied", "a");
    messages.answers = {MessageResult::Yes};
    editor_->forward();
    EXPECT_EQ(view.index, 1);
    EXPECT_EQ(entry(0).name, "Applied");

    // Yes with a wrong interval: the apply is refused and the editor stays.
    view.interval = "0";
    editor_->contentChanged();
    messages.answers = {MessageResult::Yes};
    editor_->back();
    EXPECT_EQ(view.index, 1);
    EXPECT_EQ(messages.shown.back().text, "Illegal value. Please correct.");
}

TEST_F(SendEditorTest, ForwardAfterClearingAnEntryShowsTheEntryThatTookItsPlace) {
    addSend("A", "a");
    addSend("B", "b");
    addSend("C", "c");
    editor().open();
    type("", "");
    messages.answers = {MessageResult::Yes};
    editor_->forward();
    EXPECT_EQ(lists.sendList().sequenceCount(), 2);
    EXPECT_EQ(view.index, 0);
    EXPECT_EQ(view.nameText, "B") << "the entry after the deleted one, not the one after that";
}

TEST_F(SendEditorTest, DeleteAsksWithTheAnswerNoteAndOKDeletes) {
    addSend("A", "a");
    addSend("B", "b");
    addReceive("R", "r", 1);
    editor().open();
    messages.answers = {MessageResult::Cancel};
    editor_->deleteSequence();
    EXPECT_EQ(messages.shown.back().text, SequenceEditor::kDeleteQuestion);
    EXPECT_EQ(lists.sendList().sequenceCount(), 2);
    editor_->forward();
    messages.answers = {MessageResult::OK};
    editor_->deleteSequence();
    EXPECT_EQ(messages.shown.back().text,
              "Deleting a sequence cannot be undone. Additionally, one or several Receive Sequences use this "
              "Send Sequence as an automatic answer. Are you sure to delete this sequence?");
    EXPECT_EQ(messages.shown.back().icon, MessageIcon::Warning);
    EXPECT_EQ(lists.sendList().sequenceCount(), 1);
    EXPECT_EQ(lists.receiveList()[0].answerIndex, kNoAnswer);
    EXPECT_EQ(view.index, 1);
    EXPECT_FALSE(view.buttons.deleteSequence) << "the blank slot took its place";
    EXPECT_EQ(modified, 1);
}

TEST_F(SendEditorTest, OKAppliesAndClosesCancelClosesWithoutApplying) {
    addSend("A", "a");
    editor().open();
    type("Cancelled", "a");
    editor_->cancel();
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(entry(0).name, "A");
    view.closed = false;
    editor().open();
    type("Kept", "a");
    editor_->ok();
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(entry(0).name, "Kept");
    view.closed = false;
    view.interval = "x";
    editor_->contentChanged();
    editor_->ok();
    EXPECT_FALSE(view.closed);
}

TEST_F(SendEditorTest, TheEditModeBecomesTheListsRepresentationAndTheClipboardComesBack) {
    editor().open();
    editor_->editModeChanged(Representation::Binary);
    EXPECT_EQ(settings.dispSequListRepresentation, 3);
    EXPECT_EQ(modes, std::vector<Representation>{Representation::Binary});
    editor_->closing(test::sequenceOf("clip"));
    EXPECT_EQ(lists.clipboardSequence().getRawASCII(), "clip");
    EXPECT_EQ(lists.sendRecordBuffer().sequence.getRawASCII(), "clip");
    EXPECT_EQ(SequenceEditor::cursorPositionText(0, 0), "Pos. 1 / 0");
    EXPECT_EQ(SequenceEditor::cursorPositionText(4, 12), "Pos. 5 / 12");
}

} // namespace
} // namespace corvane
