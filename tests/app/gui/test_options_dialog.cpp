// The options dialog in the running window: its pages, checks and grid, and what OK changes in
// the communication window at once.
#include "OptionsDialogsFixture.h"

#include "app/gui/ClickableLabel.h"
#include "app/gui/ShortcutGridTable.h"
#include "app/gui/frmOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>

namespace corvane {
namespace {

class OptionsDialogTest : public test::OptionsDialogsFixture {
protected:
    void pressOk(frmOptions& dialog) { QTest::mouseClick(dialog.okButton(), Qt::LeftButton); }

    void enterInterval(QLineEdit* field, const char* text) {
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    QTableWidgetItem* cell(frmOptions& dialog, int code, int column) {
        return dialog.grid()->item(ShortcutGridTable::rowOf(code), column);
    }
};

TEST_F(OptionsDialogTest, TheModesLabelStopsCommunicationAndTheLastRepresentationStaysChecked) {
    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns());
    window().tabBar()->setCurrentIndex(3);
    auto* modes = window().findChild<ClickableLabel*>("lblCommWindowModes");
    ASSERT_NE(modes, nullptr);
    ASSERT_TRUE(modes->isEnabled());
    onDialog<frmOptions>("frmOptions", [&](frmOptions& dialog) {
        EXPECT_FALSE(window().communicationRuns());
        EXPECT_EQ(dialog.tabs()->currentIndex(), 1);
        dialog.representationBox(0)->click();
        dialog.representationBox(1)->click();
        EXPECT_TRUE(messages.shown.empty());
        dialog.representationBox(2)->click();
        EXPECT_TRUE(dialog.representationBox(2)->isChecked());
        ASSERT_EQ(messageTexts(),
                  std::vector<std::string>{
                      "At least one of the display modes (ASCII, HEX, ...) must be selected."});
        EXPECT_EQ(messages.shown[0].title, "Options");
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
        // Binary on, Decimal off: the view shown now is enabled, the others show their overlay.
        dialog.representationBox(3)->click();
        dialog.representationBox(2)->click();
        EXPECT_EQ(messages.shown.size(), 1U);
        pressOk(dialog);
    });
    QTest::mouseClick(modes, Qt::LeftButton);
    EXPECT_FALSE(window().communicationRuns());
    window().MainProcess(false, false);
    EXPECT_EQ(dialogsRun["frmOptions"], 1);
    EXPECT_EQ(state().settings.commDisplayModeEnabled, (std::array<bool, 4>{false, false, false, true}));
    EXPECT_TRUE(window().commWindows().viewEnabled(3));
    EXPECT_FALSE(window().commWindows().viewEnabled(0));
    EXPECT_TRUE(window().commWindows().window(3)->isVisibleTo(&window()));
    EXPECT_FALSE(modes->isVisibleTo(&window()));
}

TEST_F(OptionsDialogTest, StatusPanelTwoOpensTheFirstPageAndCtrlTabCyclesThePages) {
    onDialog<frmOptions>("frmOptions", [&](frmOptions& dialog) {
        EXPECT_EQ(dialog.tabs()->currentIndex(), 0);
        QTest::keyClick(dialog.fontSizeList(), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(dialog.tabs()->currentIndex(), 1);
        QTest::keyClick(dialog.representationBox(0), Qt::Key_Backtab,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(dialog.fontSizeList(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(dialog.tabs()->currentIndex(), 3);
        QTest::keyClick(dialog.grid(), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(dialog.tabs()->currentIndex(), 0);
    });
    window().statusPanelDoubleClicked(2);
    window().MainProcess(false, false);
    EXPECT_EQ(dialogsRun["frmOptions"], 1);
}

TEST_F(OptionsDialogTest, IntervalFieldsAreCorrectedWithTheMessageAndOkWaitsForAValidEntry) {
    onDialog<frmOptions>("frmOptions", [&](frmOptions& dialog) {
        EXPECT_FALSE(dialog.intervalField()->isEnabled());
        dialog.clockBox()->click();
        dialog.pauseBox()->click();
        EXPECT_TRUE(dialog.intervalField()->isEnabled());
        EXPECT_EQ(dialog.intervalField()->text(), "5");
        EXPECT_EQ(dialog.pauseField()->text(), "0.5");
        const std::pair<const char*, const char*> clock[] = {{"0.05", "0.1"}, {"150", "99"}, {"abc", "0.1"}};
        for (auto [entry, shown] : clock) {
            enterInterval(dialog.intervalField(), entry);
            EXPECT_EQ(dialog.intervalField()->text(), shown) << entry;
        }
        enterInterval(dialog.pauseField(), "0.005");
        EXPECT_EQ(dialog.pauseField()->text(), "0.01");
        EXPECT_EQ(messageTexts(), std::vector<std::string>(4, "Illegal value. Please correct."));
        // Leaving a corrected field again says nothing more.
        QTest::keyClick(dialog.pauseField(), Qt::Key_Return);
        EXPECT_EQ(messages.shown.size(), 4U);
        // A wrong entry not yet left is checked by OK, which then keeps the dialog open.
        dialog.intervalField()->setText("0");
        pressOk(dialog);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(messages.shown.size(), 5U);
        dialog.intervalField()->setText("2.5");
        pressOk(dialog);
    });
    runCommand("Options");
    EXPECT_TRUE(state().settings.additionalStampIntervals);
    EXPECT_EQ(state().settings.additionalStampIntervalMs, 2500);
    EXPECT_EQ(state().settings.additionalStampPauseMs, 10);
    EXPECT_EQ(state().store->value("Stamp", "AdditionalStampIntervalsSeconds"), " 250");
}

TEST_F(OptionsDialogTest, FontSizeNineWarnsOnceAndEmptiesTheViewsOnOk) {
    window().commWindows().writeCommPiece(0, false, 1, "before");
    window().copyCommWindowBuffers();
    ASSERT_EQ(asciiText(), "before");
    onDialog<frmOptions>("frmOptions", [&](frmOptions& dialog) {
        EXPECT_EQ(dialog.fontSizeList()->currentText(), "10");
        dialog.chooseFontSize(1);
        ASSERT_EQ(messages.shown.size(), 1U);
        EXPECT_EQ(messages.shown[0].title, "Options - Changed Font Size");
        EXPECT_EQ(messages.shown[0].text.substr(0, 37), "You have changed the font size to 9.\r");
        EXPECT_EQ(dialog.fontSizeList()->currentText(), "9");
        pressOk(dialog);
    });
    runCommand("Options");
    EXPECT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(state().settings.dispFontSize, 9);
    EXPECT_EQ(asciiText(), "");
    EXPECT_EQ(window().commWindows().window(0)->font().family(), "Courier New");
}

TEST_F(OptionsDialogTest, PlainOutputGreysTheTextColoursButNotTheBackground) {
    onDialog<frmOptions>("frmOptions", [&](frmOptions& dialog) {
        ASSERT_TRUE(dialog.plainTextOption()->isChecked());
        EXPECT_EQ(dialog.plainTextOption()->text(),
                  "Plain Text Output (faster display, but no colors && fonts)");
        EXPECT_TRUE(dialog.colorField(0)->isEnabled());
        for (int i = 1; i < 4; ++i) {
            EXPECT_FALSE(dialog.colorField(i)->isEnabled()) << i;
            EXPECT_FALSE(dialog.colorCaption(i)->isEnabled()) << i;
        }
        EXPECT_FALSE(dialog.boldBox(0)->isEnabled());
        dialog.formattedOption()->click();
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(dialog.colorField(i)->isEnabled()) << i;
        }
        EXPECT_TRUE(dialog.underlineBox(2)->isEnabled());
        dialog.plainTextOption()->click();
        EXPECT_FALSE(dialog.colorField(3)->isEnabled());
        EXPECT_TRUE(dialog.colorField(0)->isEnabled());
    });
    runCommand("Options");
}

TEST_F(OptionsDialogTest, NewColoursAndAttributesShowInTheFormattedWindowAtOnce) {
    onDialog<frmOptions>("frmOptions", [&](frmOptions& dialog) {
        dialog.formattedOption()->click();
        std::vector<QColor> offered;
        dialog.setColorChooser([&](const QColor& current) -> std::optional<QColor> {
            offered.push_back(current);
            return offered.size() == 1 ? QColor(0x10, 0x20, 0x30) : QColor(0xC0, 0x40, 0x00);
        });
        QTest::mouseClick(dialog.colorField(0), Qt::LeftButton);
        QTest::mouseClick(dialog.colorField(1), Qt::LeftButton);
        ASSERT_EQ(offered.size(), 2U);
        EXPECT_EQ(offered[0], QColor(Qt::white));
        EXPECT_EQ(offered[1], QColor(0, 0, 255));
        dialog.boldBox(1)->click();
        pressOk(dialog);
    });
    runCommand("Options");
    EXPECT_EQ(state().settings.dir1TextColor, 0x0040C0);
    EXPECT_EQ(state().store->value("Colors", "DispBack"), std::to_string(0x302010));
    EXPECT_EQ(panel(2), "Colors&Fonts Mode");

    window().commWindows().writeCommPiece(0, false, 1, "sent");
    window().copyCommWindowBuffers();
    CommTextEdit* ascii = window().commWindows().window(0);
    ASSERT_EQ(ascii->toPlainText(), "sent");
    const QTextBlock block = ascii->document()->firstBlock();
    ASSERT_FALSE(block.textFormats().isEmpty());
    const QTextCharFormat format = block.textFormats().first().format;
    EXPECT_EQ(format.foreground().color(), QColor(0xC0, 0x40, 0x00));
    EXPECT_EQ(format.fontWeight(), QFont::Bold);
    EXPECT_EQ(ascii->palette().color(QPalette::Base), QColor(0x10, 0x20, 0x30));
}

TEST_F(OptionsDialogTest, CancelChangesNothing) {
    const ProgramSettingsData before = state().settings;
    onDialog<frmOptions>("frmOptions", [&](frmOptions& dialog) {
        dialog.formattedOption()->click();
        dialog.chooseFontSize(3);
        dialog.timeFormatOption(TimeFormatChoice::Seconds)->click();
        dialog.reject();
    });
    runCommand("Options");
    EXPECT_EQ(state().settings.dispCommWindowFormat, before.dispCommWindowFormat);
    EXPECT_EQ(state().settings.dispFontSize, before.dispFontSize);
    EXPECT_TRUE(state().settings.stampMilliSeconds);
    EXPECT_FALSE(state().store->value("TextSetup", "DispFontSize").has_value());
}

TEST_F(OptionsDialogTest, TheGridCapturesShortcutsAndEditorCharactersByDoubleClick) {
    onDialog<frmOptions>("frmOptions", [&](frmOptions& dialog) {
        ShortcutGridTable* grid = dialog.grid();
        EXPECT_EQ(grid->horizontalHeaderItem(5)->text(), " Shortcut");
        EXPECT_TRUE(grid->isColumnHidden(3));
        EXPECT_EQ(cell(dialog, 13, 5)->text(), "Ctrl+Enter");
        EXPECT_EQ(cell(dialog, 200, 4)->toolTip(), "ASCII code 200 (HEX C8)- Editor character not to define");
        EXPECT_EQ(cell(dialog, 200, 5)->toolTip(),
                  "ASCII code 200 (HEX C8) - Double click to enter new keyboard shortcut");

        grid->cellDoubleClickedAt(ShortcutGridTable::rowOf(200), ShortcutGridTable::kEditorColumn);
        EXPECT_EQ(messageTexts(),
                  std::vector<std::string>{
                      "The editor character can only be set for control characters (ASCII code < 32)"});
        grid->cellDoubleClickedAt(ShortcutGridTable::rowOf(200), ShortcutGridTable::kShortcutColumn);
        EXPECT_EQ(cell(dialog, 200, 5)->text(), "Press new key combination...");
        QTest::keyClick(grid, Qt::Key_Escape);
        EXPECT_EQ(cell(dialog, 200, 5)->text(), "Press new key combination...");

        grid->cellDoubleClickedAt(ShortcutGridTable::rowOf(2), ShortcutGridTable::kShortcutColumn);
        EXPECT_EQ(cell(dialog, 200, 5)->text(), "");
        QTest::keyClick(grid, Qt::Key_F5);
        QTest::keyClick(grid, Qt::Key_F5, Qt::ControlModifier);
        EXPECT_EQ(cell(dialog, 2, 5)->text(), "Press new key combination...");
        QTest::keyClick(grid, Qt::Key_B, Qt::ControlModifier);
        EXPECT_EQ(cell(dialog, 2, 5)->text(), "Ctrl+B");
        EXPECT_EQ(cell(dialog, 2, 4)->text(), "b");

        grid->cellDoubleClickedAt(ShortcutGridTable::rowOf(7), ShortcutGridTable::kEditorColumn);
        EXPECT_EQ(cell(dialog, 7, 4)->text(), "Char?");
        QTest::keyClick(grid, Qt::Key_B);
        EXPECT_EQ(cell(dialog, 7, 4)->text(), "b");
        EXPECT_EQ(cell(dialog, 2, 4)->text(), "");
        pressOk(dialog);
    });
    EXPECT_TRUE(window().editShortcutTable());
    EXPECT_EQ(state().settings.userShortcuts[2].keyCode, 'B');
    EXPECT_EQ(state().settings.userShortcuts[7].editorCharacter, "b");
    EXPECT_EQ(state().store->value("Edit", "Usershortcuts"), "2,2,66,,7,0,0,b,10,3,13,n,13,2,13,r,");
}

TEST_F(OptionsDialogTest, TheShortcutPageEntryPointReportsAChangedTable) {
    onDialog<frmOptions>("frmOptions", [&](frmOptions& dialog) {
        EXPECT_EQ(dialog.tabs()->currentIndex(), 3);
        pressOk(dialog);
    });
    EXPECT_FALSE(window().editShortcutTable());
    onDialog<frmOptions>("frmOptions", [&](frmOptions& dialog) {
        dialog.grid()->cellDoubleClickedAt(ShortcutGridTable::rowOf(27), ShortcutGridTable::kShortcutColumn);
        QTest::keyClick(dialog.grid(), Qt::Key_Q, Qt::AltModifier);
        pressOk(dialog);
    });
    EXPECT_TRUE(window().editShortcutTable());
    EXPECT_EQ(state().settings.userShortcuts[27].shiftState, modShortCutManagement::kAlt);
}

} // namespace
} // namespace corvane
