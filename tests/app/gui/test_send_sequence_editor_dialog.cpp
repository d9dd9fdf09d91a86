// "Edit Send Sequence" in the running window program: opened as the main window opens it, typed
// into through its controls.
#include "EditorFixture.h"

#include <QLocale>
#include <QTextBrowser>

namespace corvane {
namespace {

class SendEditorDialogTest : public test::EditorFixture {
protected:
    const SendSequenceRecord& entry(int index) { return state().lists.sendList()[index]; }
    int sendCount() { return state().lists.sendList().sequenceCount(); }
};

TEST_F(SendEditorDialogTest, TypingSeveralSequencesInARowWithEnterAddsThemToTheList) {
    startBlank();
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Edit Send Sequence");
        EXPECT_EQ(dialog.indexLabel()->text(), "0");
        EXPECT_FALSE(dialog.button("cmdDelete")->isEnabled());
        EXPECT_FALSE(dialog.button("cmdOK")->isDefault());
        EXPECT_EQ(dialog.cursorPositionLabel()->text(), "Pos. 1 / 0");
        EXPECT_EQ(dialog.sequenceControl()->allowedSpecialCharacters(), "?#");
        EXPECT_EQ(dialog.sequenceControl()->displayOption(), EditSequence::kDisplayMultiLine);
        EXPECT_TRUE(dialog.shortcutLink()->isEnabled()) << "it opens the options at their shortcut page";
        typeName(dialog, "Hello");
        enter(dialog.nameBox());
        EXPECT_EQ(sendCount(), 0) << "an empty sequence moves the focus into the control";
        typeSequence(dialog, "Hello");
        EXPECT_EQ(dialog.cursorPositionLabel()->text(), "Pos. 6 / 5");
        enter(dialog.sequenceControl());
        EXPECT_EQ(sendCount(), 1);
        EXPECT_EQ(dialog.indexLabel()->text(), "1");
        EXPECT_EQ(dialog.nameBox()->text(), "");
        typeName(dialog, "World");
        typeSequence(dialog, "World");
        enter(dialog.nameBox());
        EXPECT_TRUE(dialog.isVisible());
    }));
    ASSERT_EQ(sendCount(), 2);
    EXPECT_EQ(entry(0).sequence.getRawASCII(), "Hello");
    EXPECT_EQ(entry(1).name, "World");
    EXPECT_EQ(window().sendListWidget()->rowCount(), 2);
    EXPECT_EQ(window().sendListWidget()->cellText(1, 1), "World");
    EXPECT_TRUE(window().projectModified());
}

TEST_F(SendEditorDialogTest, IntervalZeroAndTenThousandAreCorrectedWithTheMessage) {
    startBlank();
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        typeName(dialog, "Poll");
        typeSequence(dialog, "p");
        EXPECT_FALSE(dialog.intervalBox()->isEnabled());
        dialog.repeatBox()->click();
        EXPECT_TRUE(dialog.intervalBox()->isEnabled());
        EXPECT_EQ(dialog.intervalBox()->text(), "5");
        dialog.intervalBox()->clear();
        QTest::keyClicks(dialog.intervalBox(), "0");
        press(dialog, "cmdApply");
        EXPECT_EQ(dialog.intervalBox()->text(), "0.01");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "Illegal value. Please correct.");
        EXPECT_EQ(messages.shown[0].title, "Edit Send Sequence");
        dialog.intervalBox()->clear();
        QTest::keyClicks(dialog.intervalBox(), "10000");
        press(dialog, "cmdOK");
        EXPECT_EQ(dialog.intervalBox()->text(), "9999");
        EXPECT_TRUE(dialog.isVisible()) << "a refused apply keeps the dialog open";
        // Letters can't be typed into the interval.
        QTest::keyClicks(dialog.intervalBox(), "x");
        EXPECT_EQ(dialog.intervalBox()->text(), "9999");
        press(dialog, "cmdOK");
        EXPECT_FALSE(dialog.isVisible());
    }));
    EXPECT_EQ(messages.shown.size(), 2u);
    ASSERT_EQ(sendCount(), 1);
    EXPECT_EQ(entry(0).repeat, 1);
    EXPECT_EQ(entry(0).repeatInterval, 9999000);
    EXPECT_EQ(window().sendListWidget()->cellText(0, 3), "R");
}

TEST_F(SendEditorDialogTest, TheCommaIsTheDecimalSeparatorInAGermanLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    startBlank();
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        typeName(dialog, "Poll");
        dialog.repeatBox()->click();
        dialog.intervalBox()->clear();
        QTest::keyClicks(dialog.intervalBox(), "2,5");
        press(dialog, "cmdOK");
    }));
    QLocale::setDefault(before);
    EXPECT_TRUE(messages.shown.empty()) << messageTexts()[0];
    ASSERT_EQ(sendCount(), 1);
    EXPECT_EQ(entry(0).repeatInterval, 2500);
}

TEST_F(SendEditorDialogTest, BackFromAModifiedEntryAsksAndNoDiscards) {
    startBlank();
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        typeName(dialog, "One");
        typeSequence(dialog, "1");
        enter(dialog.nameBox());
        typeName(dialog, "Two");
        typeSequence(dialog, "2");
        enter(dialog.nameBox());
        press(dialog, "cmdBack");
        EXPECT_EQ(dialog.nameBox()->text(), "Two");
        EXPECT_FALSE(dialog.button("cmdApply")->isEnabled());
        typeName(dialog, "Changed");
        EXPECT_TRUE(dialog.button("cmdApply")->isEnabled());
        messages.answers = {MessageResult::No};
        press(dialog, "cmdBack");
        EXPECT_EQ(dialog.indexLabel()->text(), "0");
    }));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "The current sequence has been modified. Do you want to apply the new "
                                      "sequence? (Choose 'No' to discard the changes.)");
    EXPECT_EQ(entry(1).name, "Two");
}

TEST_F(SendEditorDialogTest, ClearingAnEntryDeletesItAndEscapeClosesWithoutApplying) {
    startBlank();
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        for (const char* name : {"A", "B"}) {
            typeName(dialog, name);
            typeSequence(dialog, name);
            enter(dialog.nameBox());
        }
    }));
    state().lists.sendList().setCurrentIndex(0);
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        EXPECT_EQ(dialog.nameBox()->text(), "A");
        EXPECT_TRUE(dialog.button("cmdOK")->isDefault());
        dialog.nameBox()->clear();
        dialog.sequenceControl()->setFocus();
        QTest::keyClick(dialog.sequenceControl(), Qt::Key_End);
        QTest::keyClick(dialog.sequenceControl(), Qt::Key_Backspace);
        press(dialog, "cmdApply");
        EXPECT_EQ(dialog.nameBox()->text(), "B");
        typeName(dialog, "Escaped");
        QTest::keyClick(dialog.nameBox(), Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    }));
    ASSERT_EQ(sendCount(), 1);
    EXPECT_EQ(entry(0).name, "B");
    EXPECT_EQ(window().sendListWidget()->rowCount(), 1);
}

TEST_F(SendEditorDialogTest, AWildcardInAnAnswerAsksWithHelpTopic21AndOKRemovesTheAnswer) {
    startBlank();
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        typeName(dialog, "Ack");
        typeSequence(dialog, "k");
        enter(dialog.nameBox());
    }));
    ASSERT_TRUE(withReceiveEditor([&](frmEditEvent& dialog) {
        typeName(dialog, "Ping");
        typeSequence(dialog, "p");
        dialog.answerBox()->setCurrentIndex(1);
        press(dialog, "cmdOK");
    }));
    ASSERT_EQ(state().lists.receiveList()[0].answerIndex, 0);
    EXPECT_EQ(window().receiveListWidget()->cellText(0, 3), "Ack");
    state().lists.sendList().setCurrentIndex(0);
    messages.answers = {MessageResult::OK};
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        dialog.sequenceControl()->focusWithCaret(-1);
        typeSequence(dialog, "?");
        press(dialog, "cmdOK");
    }));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].helpTopic, 21);
    EXPECT_EQ(messages.shown[0].defaultButton, 1);
    EXPECT_EQ(entry(0).sequence.size(), 2);
    EXPECT_TRUE(entry(0).sequence.containsWildcards());
    EXPECT_EQ(state().lists.receiveList()[0].answerIndex, -1);
    EXPECT_EQ(window().receiveListWidget()->cellText(0, 3), "");
}

TEST_F(SendEditorDialogTest, DeleteAsksAndTheEditModeSwitchesTheMainWindowsLists) {
    startBlank();
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        typeName(dialog, "A");
        typeSequence(dialog, "A");
        enter(dialog.nameBox());
        press(dialog, "cmdBack");
        dialog.editModeOption(Representation::HEX)->click();
        messages.answers = {MessageResult::Cancel};
        press(dialog, "cmdDelete");
        EXPECT_EQ(sendCount(), 1);
        messages.answers = {MessageResult::OK};
        press(dialog, "cmdDelete");
        EXPECT_EQ(sendCount(), 0);
        EXPECT_FALSE(dialog.button("cmdDelete")->isEnabled());
    }));
    EXPECT_EQ(messages.shown.back().text,
              "Deleting a sequence cannot be undone. Are you sure to delete this sequence?");
    EXPECT_EQ(state().settings.dispSequListRepresentation, 1);
    EXPECT_EQ(window().tabBar()->currentIndex(), 1);
}

TEST_F(SendEditorDialogTest, TheListOpensTheEditorOnARowOrOnTheBlankSlot) {
    startBlank();
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        typeName(dialog, "A");
        typeSequence(dialog, "A");
        enter(dialog.nameBox());
    }));
    int shownIndex = -1;
    window().setEditorRunner(
        [&](SequenceEditorDialog& dialog) { shownIndex = dialog.indexLabel()->text().toInt(); });
    SequenceListTable* list = window().sendListWidget();
    list->setCurrentCell(0, 1);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(window().pendingCommand(), "EditSendSeq");
    window().runDeferredCommand();
    EXPECT_EQ(shownIndex, 0);
    // A double click below the rows: the blank slot.
    const QPoint below(20, list->viewport()->height() - 5);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    window().runDeferredCommand();
    EXPECT_EQ(shownIndex, 1);
    // The menu item opens on the list's current index.
    window().action("EditSendSeq")->trigger();
    window().runDeferredCommand();
    EXPECT_EQ(shownIndex, 1);
    window().setEditorRunner([](SequenceEditorDialog&) {});
}

} // namespace
} // namespace corvane

namespace corvane {
namespace {

class EditorLinksTest : public test::EditorFixture {};

TEST_F(EditorLinksTest, TheShortcutLinkRunsTheHookAndHandsTheControlTheNewTableAndHelpShowsTheTopic) {
    startBlank();
    int opened = 0;
    window().setControlCharacterShortcutsHook([&] {
        ++opened;
        // What the options dialog would do: Ctrl+F9 types a carriage return from now on.
        state().settings.userShortcuts[13].keyCode = 120;
        state().settings.userShortcuts[13].shiftState = 2;
    });
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        ASSERT_TRUE(dialog.shortcutLink()->isEnabled());
        EXPECT_NE(dialog.sequenceControl()->model().shortcutCode(120, 2), 13);
        QTest::mouseClick(dialog.shortcutLink(), Qt::LeftButton);
        EXPECT_EQ(opened, 1);
        EXPECT_EQ(dialog.sequenceControl()->model().shortcutCode(120, 2), 13);
        press(dialog, "cmdHelp");
    }));
    ASSERT_NE(program->help().browser(), nullptr);
    EXPECT_TRUE(program->help().browser()->toPlainText().contains("Edit Send Sequence"));
    ASSERT_TRUE(withReceiveEditor([&](frmEditEvent& dialog) {
        EXPECT_TRUE(dialog.shortcutLink()->isEnabled());
        press(dialog, "cmdHelp");
    }));
    EXPECT_TRUE(program->help().browser()->toPlainText().contains("Edit Receive Sequence"));
}

TEST_F(EditorLinksTest, TheEditorsTakeTheSequenceClipboardAndGiveItBack) {
    startBlank();
    ASSERT_TRUE(withSendEditor([&](frmEditAction& dialog) {
        typeSequence(dialog, "abc");
        dialog.sequenceControl()->selectAll();
        dialog.sequenceControl()->copy();
        press(dialog, "cmdCancel");
    }));
    EXPECT_EQ(state().lists.clipboardSequence().getRawASCII(), "abc");
    ASSERT_TRUE(withReceiveEditor([&](frmEditEvent& dialog) {
        dialog.sequenceControl()->paste();
        EXPECT_EQ(dialog.sequenceControl()->length(), 3);
    }));
}

} // namespace
} // namespace corvane
