// The editing model of the sequence edit control: typing in each representation, caret and
// selection, maximum length, undo, representation switches, clipboard and the token layout.
#include "app/control/SequenceEditHelp.h"
#include "app/control/SequenceEditModel.h"
#include "platform/fakes/FakeClipboard.h"

#include <gtest/gtest.h>

#include <random>

namespace corvane {
namespace {

using Codes = std::vector<CharCode>;

SequenceEditModel modelIn(Representation representation, const Codes& codes = {}) {
    SequenceEditModel model;
    model.setRepresentation(representation);
    model.setCodes(codes);
    return model;
}

std::vector<std::string> tokenTexts(const SequenceEditModel& model) {
    std::vector<std::string> texts;
    for (const auto& token : model.tokens()) {
        texts.push_back(token.text);
    }
    return texts;
}

TEST(SequenceEditModel, SetCodesStopsAtTheEndMarkerSkipsNonCharactersAndKeepsLongSequencesWhole) {
    SequenceEditModel model;
    model.setMaximumLength(2);
    model.setCodes({65, 999, kWildcardOne, 66, kEndMarker, 67});
    EXPECT_EQ(model.codes(), (Codes{65, kWildcardOne, 66}));
    EXPECT_EQ(model.sequenceWithEndMarker(), (Codes{65, kWildcardOne, 66, kEndMarker}));
    EXPECT_EQ(model.caret(), 3);
    EXPECT_FALSE(model.hasSelection());
    EXPECT_FALSE(model.canUndo());
    // Above the maximum nothing more can be typed, but nothing handed over was lost.
    EXPECT_TRUE(model.typeText("x").refused);
    EXPECT_EQ(model.length(), 3);
}

TEST(SequenceEditModel, AsciiTypesTheWindows1252CodesOfTheKeys) {
    auto model = modelIn(Representation::ASCII);
    const auto outcome = model.typeText("A\xE2\x82\xAC\xC3\xA4"); // A, euro sign, a umlaut
    EXPECT_TRUE(outcome.changed);
    EXPECT_FALSE(outcome.refused);
    EXPECT_EQ(model.codes(), (Codes{65, 128, 228}));
    // A character outside the code page is refused, not turned into a question mark.
    EXPECT_TRUE(model.typeText("\xCF\x89").refused);
    EXPECT_EQ(model.length(), 3);
}

TEST(SequenceEditModel, WildcardKeysInsertWildcardsOnlyWhereTheyAreAllowed) {
    auto model = modelIn(Representation::ASCII);
    model.setAllowedSpecialCharacters("?#");
    model.typeText("?#");
    EXPECT_EQ(model.codes(), (Codes{kWildcardOne, kWildcardOptional}));

    auto plain = modelIn(Representation::ASCII);
    plain.setAllowedSpecialCharacters("");
    plain.typeText("?#");
    EXPECT_EQ(plain.codes(), (Codes{63, 35})) << "without wildcards the keys type their characters";

    auto hex = modelIn(Representation::HEX);
    hex.setAllowedSpecialCharacters("#");
    EXPECT_TRUE(hex.typeText("?").refused);
    hex.typeText("#");
    EXPECT_EQ(hex.codes(), (Codes{kWildcardOptional}));
}

TEST(SequenceEditModel, TheLetterRMarksAReceivePatternAndIsNoSymbol) {
    SequenceEditModel model;
    model.setAllowedSpecialCharacters("R?#");
    EXPECT_TRUE(model.receivePattern());
    EXPECT_EQ(model.allowedSymbols(), "?#");
    model.setAllowedSpecialCharacters("?");
    EXPECT_FALSE(model.receivePattern());
    EXPECT_TRUE(model.symbolAllowed('?'));
    EXPECT_FALSE(model.symbolAllowed('#'));
    model.setAllowedSpecialCharacters("R");
    EXPECT_EQ(model.allowedSymbols(), "");
}

TEST(SequenceEditModel, HexDigitsFillATokenThatIsStoredWhenComplete) {
    auto model = modelIn(Representation::HEX);
    auto outcome = model.typeText("0");
    EXPECT_FALSE(outcome.changed);
    EXPECT_EQ(model.length(), 0);
    EXPECT_EQ(model.partialToken(), "0");
    EXPECT_EQ(tokenTexts(model), (std::vector<std::string>{"0_"}));
    outcome = model.typeText("d");
    EXPECT_TRUE(outcome.changed);
    EXPECT_EQ(model.codes(), (Codes{13}));
    EXPECT_EQ(model.partialToken(), "");
    // A blank ends a token after one digit; the digit is its low digit.
    model.typeText("4 fF");
    EXPECT_EQ(model.codes(), (Codes{13, 4, 255}));
    EXPECT_EQ(tokenTexts(model), (std::vector<std::string>{"0D", "04", "FF"}));
}

TEST(SequenceEditModel, DecimalRefusesATokenAbove255AndKeepsTheDigitsTyped) {
    auto model = modelIn(Representation::Decimal);
    model.typeText("25");
    const auto outcome = model.typeText("6");
    EXPECT_TRUE(outcome.refused);
    EXPECT_FALSE(outcome.changed);
    EXPECT_EQ(model.length(), 0);
    EXPECT_EQ(model.partialToken(), "25");
    model.typeText("5");
    EXPECT_EQ(model.codes(), (Codes{255}));
    model.typeText("13 ");
    EXPECT_EQ(model.codes(), (Codes{255, 13}));
    EXPECT_TRUE(model.typeText("x").refused) << "x is no digit and no editor character";
}

TEST(SequenceEditModel, BinaryTakesEightBitsAndRefusesOtherDigits) {
    auto model = modelIn(Representation::Binary);
    EXPECT_TRUE(model.typeText("2").refused);
    model.typeText("00001101");
    EXPECT_EQ(model.codes(), (Codes{13}));
    model.typeText("101 ");
    EXPECT_EQ(model.codes(), (Codes{13, 5}));
    EXPECT_EQ(tokenTexts(model), (std::vector<std::string>{"00001101", "00000101"}));
}

TEST(SequenceEditModel, EditorCharactersAndShortcutsTypeTheirControlCharacters) {
    auto model = modelIn(Representation::HEX);
    // The default table: n is LF, r is CR; Ctrl+Enter is CR, Ctrl+Shift+Enter LF.
    model.typeText("nr");
    EXPECT_EQ(model.codes(), (Codes{10, 13}));
    EXPECT_EQ(model.editorCharacterCode('N'), 10) << "Caps Lock still finds the letter";
    EXPECT_EQ(model.shortcutCode(13, modShortCutManagement::kCtrl), 13);
    EXPECT_EQ(model.shortcutCode(13, modShortCutManagement::kCtrl | modShortCutManagement::kShift), 10);
    EXPECT_EQ(model.shortcutCode(13, 0), -1);
    EXPECT_TRUE(model.typeText("q").refused);

    model.setShortcutTable("2,4,66,b,");
    EXPECT_EQ(model.editorCharacterCode('b'), 2);
    EXPECT_EQ(model.editorCharacterCode('n'), -1) << "a new table replaces the old one";
    EXPECT_EQ(model.shortcutCode(66, modShortCutManagement::kAlt), 2);
    // In HEX b is a digit: the letter alone types a digit, the editor character needs Alt.
    model.typeText("b");
    EXPECT_EQ(model.partialToken(), "B");
}

TEST(SequenceEditModel, TypingReplacesTheSelection) {
    auto model = modelIn(Representation::ASCII, {65, 66, 67, 68});
    model.moveCaret(1, false);
    model.moveCaret(3, true);
    EXPECT_EQ(model.selectionStart(), 1);
    EXPECT_EQ(model.selectionEnd(), 3);
    model.typeText("x");
    EXPECT_EQ(model.codes(), (Codes{65, 120, 68}));
    EXPECT_EQ(model.caret(), 2);

    auto hex = modelIn(Representation::HEX, {1, 2, 3});
    hex.selectAll();
    const auto outcome = hex.typeText("4");
    EXPECT_TRUE(outcome.changed) << "the first digit removes the selection";
    EXPECT_EQ(hex.length(), 0);
    hex.typeText("1");
    EXPECT_EQ(hex.codes(), (Codes{0x41}));
}

TEST(SequenceEditModel, BackspaceAndDeleteRemoveDigitsCharactersOrTheSelection) {
    auto model = modelIn(Representation::HEX, {1, 2, 3, 4});
    model.typeText("A");
    EXPECT_FALSE(model.backspace().changed);
    EXPECT_EQ(model.partialToken(), "");
    EXPECT_TRUE(model.backspace().changed);
    EXPECT_EQ(model.codes(), (Codes{1, 2, 3}));
    model.moveCaret(0, false);
    EXPECT_FALSE(model.backspace().changed);
    EXPECT_TRUE(model.deleteForward().changed);
    EXPECT_EQ(model.codes(), (Codes{2, 3}));
    model.moveCaret(2, false);
    EXPECT_FALSE(model.deleteForward().changed);
    model.moveCaret(0, true);
    EXPECT_TRUE(model.deleteForward().changed);
    EXPECT_EQ(model.length(), 0);
}

TEST(SequenceEditModel, TheMaximumLengthHoldsForTypingAndForTheFirstDigitOfAToken) {
    auto model = modelIn(Representation::HEX, {1, 2});
    model.setMaximumLength(3);
    model.typeText("03");
    EXPECT_EQ(model.length(), 3);
    EXPECT_TRUE(model.typeText("0").refused);
    EXPECT_EQ(model.partialToken(), "");
    EXPECT_TRUE(model.typeCode(kWildcardOne).refused);
    // Over a selection there is room again.
    model.moveCaret(2, true);
    model.typeText("FF");
    EXPECT_EQ(model.codes(), (Codes{1, 2, 255}));
}

TEST(SequenceEditModel, UndoAndRedoRestoreCharactersAndCaret) {
    auto model = modelIn(Representation::ASCII);
    model.typeText("ab");
    model.moveCaret(1, false);
    model.deleteForward();
    EXPECT_EQ(model.codes(), (Codes{97}));
    EXPECT_TRUE(model.undo().changed);
    EXPECT_EQ(model.codes(), (Codes{97, 98}));
    EXPECT_EQ(model.caret(), 1);
    model.undo();
    model.undo();
    EXPECT_EQ(model.length(), 0);
    EXPECT_FALSE(model.canUndo());
    EXPECT_FALSE(model.undo().changed);
    model.redo();
    model.redo();
    EXPECT_EQ(model.codes(), (Codes{97, 98}));
    EXPECT_TRUE(model.canRedo());
    // A new edit ends the redo history.
    model.typeText("c");
    EXPECT_FALSE(model.canRedo());
    EXPECT_FALSE(model.redo().changed);
}

TEST(SequenceEditModel, UndoDropsAHalfTypedTokenFirst) {
    auto model = modelIn(Representation::Decimal, {7});
    model.typeText("01");
    EXPECT_FALSE(model.undo().changed);
    EXPECT_EQ(model.partialToken(), "");
    EXPECT_EQ(model.codes(), (Codes{7}));
}

TEST(SequenceEditModel, TheUndoHistoryIsBounded) {
    auto model = modelIn(Representation::ASCII);
    for (std::size_t index = 0; index < SequenceEditModel::kUndoDepth + 10; ++index) {
        model.typeText("x");
    }
    std::size_t undone = 0;
    while (model.undo().changed) {
        ++undone;
    }
    EXPECT_EQ(undone, SequenceEditModel::kUndoDepth);
    EXPECT_EQ(model.length(), 10);
}

TEST(SequenceEditModel, SwitchingTheRepresentationKeepsCharactersAndCaret) {
    auto model = modelIn(Representation::ASCII, {72, 13, kWildcardOne, 200});
    model.moveCaret(2, false);
    for (Representation representation : kAllRepresentations) {
        model.setRepresentation(representation);
        EXPECT_EQ(model.codes(), (Codes{72, 13, kWildcardOne, 200}));
        EXPECT_EQ(model.caret(), 2);
    }
    // A half-typed token is taken as it stands before the switch.
    model.setRepresentation(Representation::HEX);
    model.typeText("7");
    model.setRepresentation(Representation::ASCII);
    EXPECT_EQ(model.codes(), (Codes{72, 13, 7, kWildcardOne, 200}));
    EXPECT_EQ(model.caret(), 3);
    model.setRepresentation(static_cast<Representation>(9));
    EXPECT_EQ(model.representation(), Representation::ASCII);
}

TEST(SequenceEditModel, CopyPutsTheSelectionInTheRepresentationOnTheClipboard) {
    FakeClipboard clipboard;
    auto model = modelIn(Representation::HEX, {13, 10, kWildcardOne, 65});
    EXPECT_FALSE(model.copy(clipboard)) << "nothing selected";
    model.moveCaret(0, false);
    model.moveCaret(3, true);
    EXPECT_TRUE(model.copy(clipboard));
    EXPECT_EQ(clipboard.contents, "0D 0A ??");
    EXPECT_EQ(model.clipboardText(), "0D 0A ??");
    EXPECT_EQ(model.clipboardSequence(), (Codes{13, 10, kWildcardOne, kEndMarker}));
    const auto outcome = model.cut(clipboard);
    EXPECT_TRUE(outcome.changed);
    EXPECT_EQ(model.codes(), (Codes{65}));
}

TEST(SequenceEditModel, PastingTheRememberedTextGivesBackWildcardsEvenInAscii) {
    FakeClipboard clipboard;
    auto model = modelIn(Representation::ASCII, {65, kWildcardOne, 66});
    model.setAllowedSpecialCharacters("?#");
    model.selectAll();
    model.copy(clipboard);
    EXPECT_EQ(clipboard.contents, "A<?>B");
    model.moveCaret(3, false);
    model.paste(clipboard);
    EXPECT_EQ(model.codes(), (Codes{65, kWildcardOne, 66, 65, kWildcardOne, 66}));
    // Text typed elsewhere is read as it stands.
    clipboard.contents = "<?>";
    model.paste(clipboard);
    EXPECT_EQ(model.codes(), (Codes{65, kWildcardOne, 66, 65, kWildcardOne, 66, '<', '?', '>'}));
}

TEST(SequenceEditModel, ForeignTextIsReadInTheRepresentationWithoutForbiddenSymbols) {
    FakeClipboard clipboard;
    auto model = modelIn(Representation::HEX);
    model.setAllowedSpecialCharacters("?");
    clipboard.contents = "## 0D ?? 0A";
    EXPECT_EQ(model.paste(clipboard).changed, true);
    EXPECT_EQ(model.codes(), (Codes{13, kWildcardOne, 10}));

    auto ascii = modelIn(Representation::ASCII);
    clipboard.contents = "Hello\r\nWorld";
    ascii.paste(clipboard);
    EXPECT_EQ(ascii.length(), 12);

    // Text that holds no character in the representation changes nothing and is refused.
    auto decimal = modelIn(Representation::Decimal, {1});
    clipboard.contents = "xyz 999";
    const auto outcome = decimal.paste(clipboard);
    EXPECT_TRUE(outcome.refused);
    EXPECT_FALSE(outcome.changed);
    EXPECT_EQ(decimal.codes(), (Codes{1}));
    EXPECT_FALSE(decimal.canUndo());
}

TEST(SequenceEditModel, PasteStopsAtTheMaximumLength) {
    FakeClipboard clipboard;
    auto model = modelIn(Representation::HEX, {0xAA});
    model.setMaximumLength(4);
    model.moveCaret(0, false);
    clipboard.contents = "01 02 03 04 05";
    const auto outcome = model.paste(clipboard);
    EXPECT_TRUE(outcome.changed);
    EXPECT_TRUE(outcome.refused);
    EXPECT_EQ(model.codes(), (Codes{1, 2, 3, 0xAA}));
    EXPECT_EQ(model.caret(), 3);
    // A full field takes nothing.
    const auto full = model.paste(clipboard);
    EXPECT_FALSE(full.changed);
    EXPECT_TRUE(full.refused);
}

TEST(SequenceEditModel, TheSequenceClipboardHandedOverIsKeptAndReturned) {
    SequenceEditModel model;
    model.setSequenceClipboard("41 ??", {65, kWildcardOne, kEndMarker, 66});
    EXPECT_EQ(model.clipboardText(), "41 ??");
    EXPECT_EQ(model.clipboardSequence(), (Codes{65, kWildcardOne, kEndMarker}));
    EXPECT_EQ(model.charactersOfText("41 ??"), (Codes{65, kWildcardOne}));
    model.setAllowedSpecialCharacters("");
    EXPECT_EQ(model.charactersOfText("41 ??"), (Codes{65})) << "forbidden symbols are left out";
}

TEST(SequenceEditModel, TokensShowControlCharactersAndSpecialCharactersApart) {
    using Kind = SequenceEditModel::TokenKind;
    const auto cr = SequenceEditModel::tokenOf(13, Representation::ASCII);
    EXPECT_EQ(cr.text, "<CR>");
    EXPECT_EQ(cr.kind, Kind::Control);
    EXPECT_EQ(cr.cells, 4);
    const auto wildcard = SequenceEditModel::tokenOf(kWildcardOptional, Representation::ASCII);
    EXPECT_EQ(wildcard.text, "<#>");
    EXPECT_EQ(wildcard.kind, Kind::Special);
    EXPECT_EQ(SequenceEditModel::tokenOf(kWildcardOptional, Representation::Binary).text, "########");
    const auto high = SequenceEditModel::tokenOf(200, Representation::ASCII);
    EXPECT_EQ(high.text, "\xC3\x88");
    EXPECT_EQ(high.cells, 1);
    EXPECT_EQ(high.kind, Kind::Data);
    EXPECT_EQ(SequenceEditModel::tokenOf(127, Representation::ASCII).text, "<7F>");
    EXPECT_EQ(SequenceEditModel::tokenOf(0x81, Representation::ASCII).text, "<81>");
    EXPECT_EQ(SequenceEditModel::tokenOf(13, Representation::HEX).kind, Kind::Control);
    EXPECT_EQ(SequenceEditModel::tokenOf(13, Representation::Decimal).text, "013");
}

TEST(SequenceEditModel, LayoutWrapsWholeTokensAndClicksFindTheNearestGap) {
    auto model = modelIn(Representation::HEX, {1, 2, 3});
    const auto tokens = model.tokens();
    const auto places = model.layout(tokens, 5);
    ASSERT_EQ(places.size(), 4u);
    EXPECT_EQ(places[0].line, 0);
    EXPECT_EQ(places[1].cell, 3);
    EXPECT_EQ(places[2].line, 1);
    EXPECT_EQ(places[2].cell, 0);
    EXPECT_EQ(places[3].line, 1);
    EXPECT_EQ(places[3].cell, 3);
    EXPECT_EQ(model.positionAt(tokens, places, 0, 0.5), 0);
    EXPECT_EQ(model.positionAt(tokens, places, 0, 1.2), 1) << "right half of the first token";
    EXPECT_EQ(model.positionAt(tokens, places, 0, 4.9), 2) << "right of the last token of a line";
    EXPECT_EQ(model.positionAt(tokens, places, 1, 9.0), 3);
    EXPECT_EQ(model.positionAt(tokens, places, 7, 0.0), 3);
    EXPECT_EQ(model.layout(tokens, 0).back().line, 0) << "one line without a width";

    // The caret stands behind a half-typed token; later tokens map to their characters.
    model.moveCaret(1, false);
    model.typeText("F");
    const auto withPartial = model.tokens();
    const auto partialPlaces = model.layout(withPartial, 0);
    EXPECT_EQ(model.caretTokenIndex(), 2);
    EXPECT_EQ(model.characterOfToken(1), -1);
    EXPECT_EQ(model.characterOfToken(2), 1);
    EXPECT_EQ(model.positionAt(withPartial, partialPlaces, 0, 9.9), 2);
}

TEST(SequenceEditModel, TheToolTipNamesTheTypingRulesShortcutsAndEditorCharacters) {
    auto model = modelIn(Representation::HEX);
    model.setAllowedSpecialCharacters("R?#");
    const std::string tip = sequenceEditToolTip(model);
    EXPECT_NE(tip.find("two hex digits"), std::string::npos);
    EXPECT_NE(tip.find("matches any one character"), std::string::npos);
    EXPECT_NE(tip.find("Ctrl+Enter <CR>"), std::string::npos);
    EXPECT_NE(tip.find("Ctrl+Shift+Enter <LF>"), std::string::npos);
    EXPECT_NE(tip.find("r <CR>"), std::string::npos);
    EXPECT_NE(tip.find("or the letter alone"), std::string::npos);
    model.setAllowedSpecialCharacters("");
    EXPECT_EQ(sequenceEditToolTip(model).find("wildcard"), std::string::npos);
    EXPECT_EQ(shortcutKeyName(112, 7), "Ctrl+Alt+Shift+F1");
    EXPECT_EQ(shortcutKeyName(200, 2), "");
}

// Random commands in random representations never leave the model in a state a dialog could
// not store: every code a character, the caret and anchor inside, the maximum length kept.
TEST(SequenceEditModel, RandomCommandsKeepTheInvariants) {
    std::mt19937 random(11);
    FakeClipboard clipboard;
    SequenceEditModel model;
    model.setMaximumLength(40);
    const std::string keys = "0123456789abcdefABCDEFnrxz?# ~\xC3\xA4";
    for (int step = 0; step < 5000; ++step) {
        const int command = static_cast<int>(random() % 12);
        switch (command) {
        case 0:
            model.setRepresentation(kAllRepresentations[random() % 4]);
            break;
        case 1:
            model.moveCaret(static_cast<int>(random() % 50) - 5, random() % 2 == 0);
            break;
        case 2:
            model.backspace();
            break;
        case 3:
            model.deleteForward();
            break;
        case 4:
            model.undo();
            break;
        case 5:
            model.redo();
            break;
        case 6:
            model.cut(clipboard);
            break;
        case 7:
            if (random() % 3 == 0) {
                clipboard.contents = keys.substr(random() % keys.size());
            }
            model.paste(clipboard);
            break;
        case 8:
            model.typeCode(static_cast<int>(random() % 300) - 64);
            break;
        case 9:
            model.setAllowedSpecialCharacters(random() % 2 == 0 ? "R?#" : "");
            break;
        default:
            model.typeText(std::string(1, keys[random() % keys.size()]));
            break;
        }
        ASSERT_LE(model.length(), 40) << "step " << step;
        ASSERT_GE(model.caret(), 0);
        ASSERT_LE(model.caret(), model.length());
        ASSERT_GE(model.anchor(), 0);
        ASSERT_LE(model.anchor(), model.length());
        for (CharCode code : model.codes()) {
            ASSERT_TRUE(isAllowedCode(code)) << code;
        }
        const auto tokens = model.tokens();
        ASSERT_EQ(tokens.size(), model.codes().size() + (model.partialToken().empty() ? 0u : 1u));
        ASSERT_EQ(model.layout(tokens, 17).size(), tokens.size() + 1);
    }
}

} // namespace
} // namespace corvane
