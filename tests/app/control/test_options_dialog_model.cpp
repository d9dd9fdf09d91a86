// The options dialog's rules without widgets: font size, representations, stamp intervals, time
// format, control states, and the character grid with its key capture.
#include "app/control/OptionsDialogModel.h"
#include "platform/fakes/FakeMessageService.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using Column = ShortcutGridEditor::Column;

class OptionsDialogModelTest : public ::testing::Test {
protected:
    void expectWarning(std::size_t index, const std::string& text, const std::string& title = "Options") {
        ASSERT_GT(messages.shown.size(), index);
        EXPECT_EQ(messages.shown[index].text, text);
        EXPECT_EQ(messages.shown[index].title, title);
        EXPECT_EQ(messages.shown[index].icon, MessageIcon::Warning);
    }

    ProgramSettingsData settings;
    FakeMessageService messages;
};

TEST_F(OptionsDialogModelTest, StampIntervalsAreCorrectedToTheirBoundsWithTheMessage) {
    struct Case {
        const char* entry;
        bool pause;
        const char* shown;
        std::int32_t milliseconds;
        bool corrected;
    };
    const Case cases[] = {
        {"0.05", false, "0.1", 100, true},  {"150", false, "99", 99000, true},
        {"abc", false, "0.1", 100, true},   {"", false, "0.1", 100, true},
        {"0.005", true, "0.01", 10, true},  {"2.5", false, "2.5", 2500, false},
        {" 0,5 ", true, "0.5", 500, false}, {"99", true, "99", 99000, false},
        {"0.1", false, "0.1", 100, false},  {"0.0125", true, "0.0125", 13, false},
    };
    for (const Case& c : cases) {
        FakeMessageService fieldMessages;
        OptionsDialogModel model(settings, fieldMessages);
        const IntervalCheck check =
            c.pause ? model.pauseIntervalLeft(c.entry) : model.clockIntervalLeft(c.entry);
        EXPECT_EQ(check.text, c.shown) << c.entry;
        EXPECT_EQ(check.ok, !c.corrected) << c.entry;
        const std::int32_t stored =
            c.pause ? model.options().additionalStampPauseMs : model.options().additionalStampIntervalMs;
        EXPECT_EQ(stored, c.milliseconds) << c.entry;
        ASSERT_EQ(fieldMessages.shown.size(), c.corrected ? 1U : 0U) << c.entry;
        if (c.corrected) {
            EXPECT_EQ(fieldMessages.shown[0].text, "Illegal value. Please correct.");
            EXPECT_EQ(fieldMessages.shown[0].icon, MessageIcon::Warning);
            EXPECT_EQ(fieldMessages.shown[0].title, "Options");
        }
    }
}

TEST_F(OptionsDialogModelTest, FontSizesBelowTenWarnOnceAndAreKept) {
    const std::pair<int, int> listOfStored[] = {{7, 0}, {8, 0}, {9, 1}, {10, 2}, {11, 3}, {12, 3}, {-4, 0}};
    for (auto [stored, index] : listOfStored) {
        EXPECT_EQ(fontSizeListIndex(stored), index) << stored;
    }
    settings.dispFontSize = 11;
    OptionsDialogModel model(settings, messages);
    EXPECT_EQ(model.options().dispFontSize, 12);
    model.fontSizeChosen(2);
    EXPECT_TRUE(messages.shown.empty());
    model.fontSizeChosen(1);
    ASSERT_EQ(messages.shown.size(), 1U);
    expectWarning(
        0,
        "You have changed the font size to 9.\r\nFont sizes < 10 are displayed using a TrueType font "
        "instead of a bitmap font. Communication display can be much slower than with font sizes 10 "
        "or 12.",
        "Options - Changed Font Size");
    EXPECT_EQ(model.options().dispFontSize, 9);
}

TEST_F(OptionsDialogModelTest, TheLastRepresentationCannotBeSwitchedOff) {
    OptionsDialogModel model(settings, messages);
    auto& enabled = model.options().commDisplayModeEnabled;
    enabled = {true, true, false, false};
    enabled[0] = false;
    EXPECT_FALSE(model.representationLeft(0));
    EXPECT_TRUE(messages.shown.empty());
    enabled[1] = false;
    EXPECT_TRUE(model.representationLeft(1));
    expectWarning(0, "At least one of the display modes (ASCII, HEX, ...) must be selected.");
    EXPECT_EQ(enabled, (std::array<bool, 4>{false, true, false, false}));
}

TEST_F(OptionsDialogModelTest, PlainOutputDisablesTextColoursAndAttributesAndStampBoxesTheirFields) {
    OptionsDialogModel model(settings, messages);
    model.options().dispCommWindowFormat = CommWindowFormat::Plain;
    OptionsControlStates states = model.controlStates();
    EXPECT_FALSE(states.textColors);
    EXPECT_FALSE(states.attributes);
    EXPECT_FALSE(states.clockInterval);
    EXPECT_FALSE(states.pauseInterval);
    model.options().dispCommWindowFormat = CommWindowFormat::Formatted;
    model.options().additionalStampPause = true;
    states = model.controlStates();
    EXPECT_TRUE(states.textColors);
    EXPECT_TRUE(states.attributes);
    EXPECT_FALSE(states.clockInterval);
    EXPECT_TRUE(states.pauseInterval);
}

TEST_F(OptionsDialogModelTest, TimeFormatChoicesMapToTheTwoStampSettings) {
    EXPECT_EQ(timeFormatChoiceOf(false, true), TimeFormatChoice::Seconds);
    EXPECT_EQ(timeFormatChoiceOf(true, true), TimeFormatChoice::Hundredths);
    EXPECT_EQ(timeFormatChoiceOf(true, false), TimeFormatChoice::Milliseconds);
    const std::tuple<TimeFormatChoice, bool, bool> stored[] = {{TimeFormatChoice::Seconds, false, false},
                                                               {TimeFormatChoice::Hundredths, true, true},
                                                               {TimeFormatChoice::Milliseconds, true, false}};
    for (auto [choice, milliSeconds, v18] : stored) {
        bool ms = !milliSeconds;
        bool hundredths = !v18;
        storeTimeFormatChoice(choice, ms, hundredths);
        EXPECT_EQ(ms, milliSeconds);
        EXPECT_EQ(hundredths, v18);
    }
}

TEST_F(OptionsDialogModelTest, OkCopiesTheEditedOptionsAndNothingElse) {
    settings.logBaseFilePath = "/data/log";
    settings.actualCommDisplayMode = 2;
    OptionsDialogModel model(settings, messages);
    ProgramSettingsData& options = model.options();
    options.dispBack = 0x123456;
    options.dir2TextColor = 0x00FF00;
    options.commTextItalics[1] = true;
    options.dispCommWindowFormat = CommWindowFormat::Formatted;
    options.commDisplayModeEnabled = {false, false, false, true};
    options.controlCharSuppress = true;
    options.stampDate = false;
    model.setTimeFormat(TimeFormatChoice::Hundredths);
    model.clockIntervalLeft("7.25");
    // Edits that never reach OK and the options the dialog doesn't show.
    options.logBaseFilePath = "/elsewhere";
    options.actualCommDisplayMode = 0;
    ASSERT_TRUE(model.beginCapture(2, Column::Shortcut));
    model.grid().keyPressed('B', modShortCutManagement::kCtrl);
    EXPECT_EQ(settings.dispBack, 16777215);

    ProgramSettingsData target = settings;
    model.applyTo(target);
    EXPECT_EQ(target.dispBack, 0x123456);
    EXPECT_EQ(target.dir2TextColor, 0x00FF00);
    EXPECT_TRUE(target.commTextItalics[1]);
    EXPECT_EQ(target.dispCommWindowFormat, CommWindowFormat::Formatted);
    EXPECT_EQ(target.commDisplayModeEnabled, (std::array<bool, 4>{false, false, false, true}));
    EXPECT_TRUE(target.controlCharSuppress);
    EXPECT_FALSE(target.stampDate);
    EXPECT_TRUE(target.stampMilliSeconds);
    EXPECT_TRUE(target.stampMilliSecondsV18);
    EXPECT_EQ(target.additionalStampIntervalMs, 7250);
    EXPECT_EQ(target.userShortcuts[2].shiftState, modShortCutManagement::kCtrl);
    EXPECT_EQ(target.logBaseFilePath, "/data/log");
    EXPECT_EQ(target.actualCommDisplayMode, 2);
}

TEST(OptionsPages, CtrlTabWrapsAroundThePages) {
    EXPECT_EQ(nextOptionsPage(0, 4, false), 1);
    EXPECT_EQ(nextOptionsPage(3, 4, false), 0);
    EXPECT_EQ(nextOptionsPage(0, 4, true), 3);
    EXPECT_EQ(nextOptionsPage(2, 4, true), 1);
}

class ShortcutGridTest : public ::testing::Test {
protected:
    ShortcutGridTest() {
        modShortCutManagement::textToTable(modShortCutManagement::kDefaultShortcutText, table);
    }

    std::string text() const { return modShortCutManagement::tableToText(table); }

    modShortCutManagement::UserShortcutTable table;
    ShortcutGridEditor grid{table};
};

TEST_F(ShortcutGridTest, RowsAreTheControlCharactersASeparatorAndTheUpperCodes) {
    const auto& rows = ShortcutGridEditor::rowCodes();
    ASSERT_EQ(rows.size(), 32U + 1U + 129U);
    EXPECT_EQ(rows[31], 31);
    EXPECT_EQ(rows[32], ShortcutGridEditor::kSeparatorRow);
    EXPECT_EQ(rows[33], 127);
    EXPECT_EQ(rows.back(), 255);
    EXPECT_EQ(ShortcutGridEditor::hexText(200), "C8");
    EXPECT_EQ(ShortcutGridEditor::description(200), "ASCII code 200 (HEX C8)");
    EXPECT_EQ(ShortcutGridEditor::description(2), "<STX> Start of text");
    EXPECT_EQ(ShortcutGridEditor::characterText(233), "\xC3\xA9");
    EXPECT_EQ(grid.cellText(13, Column::Shortcut), "Ctrl+Enter");
    EXPECT_EQ(grid.cellText(10, Column::Shortcut), "Shift+Ctrl+Enter");
    EXPECT_EQ(grid.cellText(13, Column::Editor), "r");
    EXPECT_EQ(grid.cellText(ShortcutGridEditor::kSeparatorRow, Column::Shortcut), "");
}

TEST_F(ShortcutGridTest, ShortcutsNameModifiersInOrderAndShowNothingWithoutCtrlOrAlt) {
    modShortCutManagement::UserShortcut entry;
    const std::tuple<int, int, const char*> cases[] = {
        {7, 'Q', "Shift+Ctrl+Alt+Q"},
        {4, 8, "Alt+Backspace"},
        {2, 32, "Ctrl+Space"},
        {6, 27, "Ctrl+Alt+Esc"},
        {2, '5', "Ctrl+5"},
        {1, 'A', ""},
        {0, 'A', ""},
        {2, 46, "Ctrl+Del"},
    };
    for (auto [state, key, shown] : cases) {
        entry.shiftState = static_cast<std::int16_t>(state);
        entry.keyCode = static_cast<std::int16_t>(key);
        EXPECT_EQ(ShortcutGridEditor::shortcutText(entry), shown) << state << " " << key;
    }
}

TEST_F(ShortcutGridTest, ToolTipsFollowTheRowsDescription) {
    EXPECT_EQ(grid.toolTip(2, Column::Editor),
              "<STX> Start of text - Double click to enter new editor character (A - z)");
    EXPECT_EQ(grid.toolTip(200, Column::Editor), "ASCII code 200 (HEX C8)- Editor character not to define");
    EXPECT_EQ(grid.toolTip(200, Column::Shortcut),
              "ASCII code 200 (HEX C8) - Double click to enter new keyboard shortcut");
}

TEST_F(ShortcutGridTest, CtrlBOnCodeTwoBecomesItsShortcutAndEditorCharacter) {
    ASSERT_TRUE(grid.beginCapture(2, Column::Shortcut));
    EXPECT_EQ(grid.cellText(2, Column::Shortcut), "Press new key combination...");
    // F5 alone, Ctrl with F5, Ctrl alone and B alone leave the capture running.
    EXPECT_FALSE(grid.keyPressed(116, 0));
    EXPECT_FALSE(grid.keyPressed(116, modShortCutManagement::kCtrl));
    EXPECT_FALSE(grid.keyPressed(17, modShortCutManagement::kCtrl));
    EXPECT_FALSE(grid.keyPressed('B', 0));
    EXPECT_FALSE(grid.keyPressed('B', modShortCutManagement::kShift));
    EXPECT_TRUE(grid.capturing());
    EXPECT_TRUE(grid.keyPressed('B', modShortCutManagement::kCtrl));
    EXPECT_FALSE(grid.capturing());
    EXPECT_EQ(grid.cellText(2, Column::Shortcut), "Ctrl+B");
    EXPECT_EQ(grid.cellText(2, Column::Editor), "b");
    EXPECT_EQ(text(), "2,2,66,b,10,3,13,n,13,2,13,r,");
}

TEST_F(ShortcutGridTest, ACapturedShortcutIsTakenFromItsFormerRowAndLeavesUsedOrSetEditorCharactersAlone) {
    // Ctrl+Enter moves from CR to code 3; 'e' isn't taken for a key that is no letter.
    ASSERT_TRUE(grid.beginCapture(3, Column::Shortcut));
    ASSERT_TRUE(grid.keyPressed(13, modShortCutManagement::kCtrl));
    EXPECT_EQ(grid.cellText(13, Column::Shortcut), "");
    EXPECT_EQ(grid.cellText(3, Column::Shortcut), "Ctrl+Enter");
    EXPECT_EQ(grid.cellText(3, Column::Editor), "");
    // 'n' is LF's editor character: Ctrl+N on code 4 gets no editor character.
    ASSERT_TRUE(grid.beginCapture(4, Column::Shortcut));
    ASSERT_TRUE(grid.keyPressed('N', modShortCutManagement::kCtrl));
    EXPECT_EQ(grid.cellText(4, Column::Editor), "");
    // LF keeps its own editor character; with Shift the letter would be upper case.
    ASSERT_TRUE(grid.beginCapture(10, Column::Shortcut));
    ASSERT_TRUE(grid.keyPressed('J', modShortCutManagement::kCtrl | modShortCutManagement::kShift));
    EXPECT_EQ(grid.cellText(10, Column::Shortcut), "Shift+Ctrl+J");
    EXPECT_EQ(grid.cellText(10, Column::Editor), "n");
    ASSERT_TRUE(grid.beginCapture(5, Column::Shortcut));
    ASSERT_TRUE(grid.keyPressed('E', modShortCutManagement::kAlt | modShortCutManagement::kShift));
    EXPECT_EQ(grid.cellText(5, Column::Editor), "E");
    // A code from 127 on gets the shortcut but never an editor character.
    ASSERT_TRUE(grid.beginCapture(200, Column::Shortcut));
    ASSERT_TRUE(grid.keyPressed('Z', modShortCutManagement::kAlt));
    EXPECT_EQ(grid.cellText(200, Column::Shortcut), "Alt+Z");
    EXPECT_EQ(grid.cellText(200, Column::Editor), "");
    // Delete without modifiers clears; Backspace with Ctrl is a shortcut of its own.
    ASSERT_TRUE(grid.beginCapture(200, Column::Shortcut));
    ASSERT_TRUE(grid.keyPressed(46, 0));
    EXPECT_EQ(grid.cellText(200, Column::Shortcut), "");
    ASSERT_TRUE(grid.beginCapture(127, Column::Shortcut));
    ASSERT_TRUE(grid.keyPressed(8, modShortCutManagement::kCtrl));
    EXPECT_EQ(grid.cellText(127, Column::Shortcut), "Ctrl+Backspace");
}

TEST_F(ShortcutGridTest, EditorCharactersAreLettersTakenExactlyFromOtherRows) {
    EXPECT_FALSE(grid.beginCapture(200, Column::Editor));
    EXPECT_FALSE(grid.beginCapture(ShortcutGridEditor::kSeparatorRow, Column::Shortcut));
    EXPECT_FALSE(grid.capturing());
    ASSERT_TRUE(grid.beginCapture(1, Column::Editor));
    EXPECT_EQ(grid.cellText(1, Column::Editor), "Char?");
    EXPECT_FALSE(grid.keyPressed('5', 0));
    EXPECT_FALSE(grid.keyPressed('R', modShortCutManagement::kCtrl));
    EXPECT_FALSE(grid.keyPressed(46, modShortCutManagement::kShift));
    // Shift+R is 'R', which CR's 'r' doesn't hold.
    EXPECT_TRUE(grid.keyPressed('R', modShortCutManagement::kShift));
    EXPECT_EQ(grid.cellText(1, Column::Editor), "R");
    EXPECT_EQ(grid.cellText(13, Column::Editor), "r");
    // 'r' moves from CR to code 1; Alt doesn't matter.
    ASSERT_TRUE(grid.beginCapture(1, Column::Editor));
    EXPECT_TRUE(grid.keyPressed('R', modShortCutManagement::kAlt));
    EXPECT_EQ(grid.cellText(1, Column::Editor), "r");
    EXPECT_EQ(grid.cellText(13, Column::Editor), "");
    ASSERT_TRUE(grid.beginCapture(1, Column::Editor));
    EXPECT_TRUE(grid.keyPressed(8, 0));
    EXPECT_EQ(grid.cellText(1, Column::Editor), "");
    EXPECT_EQ(text(), "10,3,13,n,13,2,13,,");
}

TEST_F(OptionsDialogModelTest, TheEditorCellOfAnUpperCodeRefusesWithItsMessage) {
    OptionsDialogModel model(settings, messages);
    EXPECT_FALSE(model.beginCapture(200, Column::Editor));
    expectWarning(0, "The editor character can only be set for control characters (ASCII code < 32)");
    EXPECT_TRUE(model.beginCapture(200, Column::Shortcut));
    EXPECT_FALSE(model.beginCapture(ShortcutGridEditor::kSeparatorRow, Column::Editor));
    EXPECT_EQ(messages.shown.size(), 1U);
}

} // namespace
} // namespace corvane
