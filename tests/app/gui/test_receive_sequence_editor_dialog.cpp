// "Edit Receive Sequence" in the running window program.
#include "EditorFixture.h"

#include <QTabWidget>

namespace corvane {
namespace {

class ReceiveEditorDialogTest : public test::EditorFixture {
protected:
    void addSendSequences() {
        ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
            typeName(dialog, "Reset");
            typeSequence(dialog, "z");
            enter(dialog.nameBox());
            typeName(dialog, "Template");
            typeSequence(dialog, "t?");
            enter(dialog.nameBox());
            typeName(dialog, "Ack");
            typeSequence(dialog, "k");
            enter(dialog.nameBox());
        }));
        ASSERT_EQ(state().lists.sendList().sequenceCount(), 3);
    }
    const ReceiveSequenceRecord& entry(int index) { return state().lists.receiveList()[index]; }
};

TEST_F(ReceiveEditorDialogTest, OffersOnlySendSequencesWithoutWildcardsAndStoresTheActions) {
    startBlank();
    addSendSequences();
    ASSERT_TRUE(withReceiveEditor([&](frmEditEvent& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Edit Receive Sequence");
        EXPECT_EQ(dialog.sequenceControl()->allowedSpecialCharacters(), "R?#");
        EXPECT_EQ(dialog.actionPages()->currentIndex(), 0);
        QComboBox* answers = dialog.answerBox();
        ASSERT_EQ(answers->count(), 3);
        EXPECT_EQ(answers->itemText(0), "No Answer");
        EXPECT_EQ(answers->itemText(1), "0:  Reset");
        EXPECT_EQ(answers->itemText(2), "2:  Ack");
        EXPECT_TRUE(answers->isEnabled());
        EXPECT_FALSE(dialog.label("labActionsWithoutWildcards")->isHidden());
        EXPECT_TRUE(dialog.label("labSendAnswerNotPossible")->isHidden());
        typeName(dialog, "Any two");
        typeSequence(dialog, "A??");
        answers->setCurrentIndex(2);
        QTest::keyClicks(dialog.commentBox(), "two seen");
        dialog.checkBox("ChkLineBreakAfterComment")->click();
        dialog.checkBox("chkStop")->click();
        EXPECT_TRUE(dialog.checkBox("chkTrigger")->isChecked()) << "the trigger is on by default";
        dialog.checkBox("chkTrigger")->click();
        press(dialog, "cmdOK");
        EXPECT_FALSE(dialog.isVisible());
    }));
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(state().lists.receiveList().sequenceCount(), 1);
    const ReceiveSequenceRecord& record = entry(0);
    EXPECT_EQ(record.name, "Any two");
    EXPECT_EQ(record.sequence.size(), 3);
    EXPECT_TRUE(record.sequence.containsWildcards()) << "wildcards are what receive sequences are for";
    EXPECT_EQ(record.answerIndex, 2);
    EXPECT_EQ(record.answerName, "Ack");
    EXPECT_EQ(record.comment, "two seen");
    EXPECT_EQ(record.lineBreakAfterComment, 1);
    EXPECT_EQ(record.timeStampAfterComment, 0);
    EXPECT_EQ(record.snapshotTrigger, 0);
    EXPECT_EQ(record.stopCommunication, 1);
    EXPECT_EQ(record.active, 1);
    EXPECT_EQ(window().receiveListWidget()->cellText(0, 3), "Ack");

    // "No Answer" stores -1 and no answer name.
    ASSERT_TRUE(withReceiveEditor([&](frmEditEvent& dialog) {
        EXPECT_EQ(dialog.answerBox()->currentIndex(), 2);
        EXPECT_EQ(dialog.commentBox()->text(), "two seen");
        dialog.answerBox()->setCurrentIndex(0);
        press(dialog, "cmdApply");
    }));
    EXPECT_EQ(entry(0).answerIndex, -1);
    EXPECT_EQ(entry(0).answerName, "");
}

TEST_F(ReceiveEditorDialogTest, InReceiveOnlyMonitoringTheAnswerIsDisabledWithItsNote) {
    startBlank();
    state().communicationSettings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    ASSERT_TRUE(withReceiveEditor([&](frmEditEvent& dialog) {
        EXPECT_FALSE(dialog.answerBox()->isEnabled());
        EXPECT_FALSE(dialog.label("labAnswerWithSequence")->isEnabled());
        EXPECT_FALSE(dialog.label("labSendAnswerNotPossible")->isHidden());
        EXPECT_TRUE(dialog.label("labActionsWithoutWildcards")->isHidden());
        EXPECT_EQ(dialog.label("labSendAnswerNotPossible")->text(),
                  "Sending answers is not possible with the currently selected communication mode (receive "
                  "only).");
    }));
}

TEST_F(ReceiveEditorDialogTest, ClearingNameAndPatternDeletesTheEntry) {
    startBlank();
    ASSERT_TRUE(withReceiveEditor([&](frmEditEvent& dialog) {
        for (const char* name : {"A", "B"}) {
            typeName(dialog, name);
            typeSequence(dialog, name);
            enter(dialog.nameBox());
        }
        press(dialog, "cmdBack");
        press(dialog, "cmdBack");
        EXPECT_EQ(dialog.nameBox()->text(), "A");
        dialog.nameBox()->clear();
        dialog.sequenceControl()->focusWithCaret(-1);
        QTest::keyClick(dialog.sequenceControl(), Qt::Key_Backspace);
        press(dialog, "cmdApply");
        EXPECT_EQ(dialog.nameBox()->text(), "B");
        messages.answers = {MessageResult::OK};
        press(dialog, "cmdDelete");
        EXPECT_EQ(dialog.indexLabel()->text(), "0");
        EXPECT_EQ(dialog.nameBox()->text(), "");
    }));
    EXPECT_EQ(state().lists.receiveList().sequenceCount(), 0);
    EXPECT_EQ(messages.shown.back().text,
              "Deleting a sequence cannot be undone. Are you sure to delete this sequence?");
    EXPECT_EQ(window().receiveListWidget()->rowCount(), 0);
}

} // namespace
} // namespace corvane
