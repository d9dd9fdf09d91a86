#include "sequences/modShortCutManagement.h"
#include "support/InternalErrorExpect.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;
namespace shortcuts = corvane::modShortCutManagement;

namespace {

shortcuts::UserShortcutTable tableFrom(const std::string& text) {
    shortcuts::UserShortcutTable table;
    shortcuts::textToTable(text, table);
    return table;
}

bool hasNoShortcuts(const shortcuts::UserShortcutTable& table) {
    for (const auto& entry : table) {
        if (entry.keyCode != 0 || entry.shiftState != 0 || !entry.editorCharacter.empty()) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(Shortcuts, DefaultTextGivesCtrlEnterForCrAndCtrlShiftEnterForLf) {
    const auto table = tableFrom(shortcuts::kDefaultShortcutText);
    EXPECT_EQ(shortcuts::findShortcut(table, 13, shortcuts::kCtrl), 13);
    EXPECT_EQ(shortcuts::findShortcut(table, 13, shortcuts::kCtrl | shortcuts::kShift), 10);
    EXPECT_EQ(shortcuts::findShortcut(table, 13, 0), -1);
    EXPECT_EQ(shortcuts::findShortcut(table, 13, shortcuts::kAlt), -1);
    EXPECT_EQ(shortcuts::findShortcut(table, 14, shortcuts::kCtrl), -1);
    EXPECT_EQ(table[13].editorCharacter, "r");
    EXPECT_EQ(table[10].editorCharacter, "n");
    EXPECT_EQ(table[13].mnemonic, "CR");
    EXPECT_EQ(table[13].longName, "Carriage return");
    EXPECT_TRUE(table[65].mnemonic.empty());
    EXPECT_TRUE(table[200].longName.empty());

    EXPECT_EQ(shortcuts::tableToText(table), "10,3,13,n,13,2,13,r,");
}

TEST(Shortcuts, TextToTableRoundTripsAndKeepsCodeOrder) {
    const std::string text = "0,6,50,a,13,2,13,r,27,1,0,e,127,4,46,,255,2,112,,";
    EXPECT_EQ(shortcuts::tableToText(tableFrom(text)), text);
    // Entries come out in code order whatever order they were read in.
    EXPECT_EQ(shortcuts::tableToText(tableFrom("200,2,65,,5,2,66,,")), "5,2,66,,200,2,65,,");
    EXPECT_EQ(shortcuts::tableToText(tableFrom("")), "");
}

TEST(Shortcuts, OnlyEntriesWithAnEditorCharacterOrAModifierBeyondShiftAreWritten) {
    shortcuts::UserShortcutTable table = tableFrom("");
    table[1].shiftState = shortcuts::kShift;
    table[1].keyCode = 65;
    table[2].editorCharacter = "b";
    table[3].shiftState = shortcuts::kAlt;
    table[3].keyCode = 67;
    EXPECT_EQ(shortcuts::tableToText(table), "2,0,0,b,3,4,67,,");
}

TEST(Shortcuts, CodesThatAreOrdinaryCharactersAreIgnored) {
    const auto table = tableFrom("65,2,13,x,32,2,14,,126,2,15,,128,2,16,q,");
    EXPECT_EQ(table[65].shiftState, 0);
    EXPECT_TRUE(table[65].editorCharacter.empty());
    EXPECT_EQ(shortcuts::findShortcut(table, 13, 2), -1);
    EXPECT_EQ(shortcuts::findShortcut(table, 16, 2), 128);
    EXPECT_EQ(shortcuts::tableToText(table), "128,2,16,q,");
    // Codes outside 0 to 255 are skipped too.
    EXPECT_EQ(shortcuts::tableToText(tableFrom("-1,2,13,,256,2,13,,99999,2,13,,")), "");
}

TEST(Shortcuts, MalformedTextsAreIgnoredAsAWhole) {
    for (const std::string text : {"10,3,13,n", "10,3,13,n,13,2,", "10,3,13,n,,", ",", "garbage"}) {
        SCOPED_TRACE(text);
        auto table = tableFrom(shortcuts::kDefaultShortcutText);
        shortcuts::textToTable(text, table);
        EXPECT_TRUE(hasNoShortcuts(table));
        // The names are still there.
        EXPECT_EQ(table[10].mnemonic, "LF");
    }
}

TEST(Shortcuts, FieldsReadAsTheNumberAtTheirStart) {
    const auto table = tableFrom("13,2x,13.6,r,10,abc,13,n,9, 3,70000,t,");
    EXPECT_EQ(table[13].shiftState, 2);
    EXPECT_EQ(table[13].keyCode, 14);
    EXPECT_EQ(table[10].shiftState, 0) << "a non-numeric field reads as 0";
    EXPECT_EQ(table[10].editorCharacter, "n");
    EXPECT_EQ(table[9].shiftState, 3);
    EXPECT_EQ(table[9].keyCode, 0) << "a value beyond 16 bits reads as 0";
    EXPECT_EQ(tableFrom("13.5,2,13,,")[14].shiftState, 2) << "13.5 rounds to the even 14";
    EXPECT_EQ(tableFrom("12.5,2,13,,")[12].shiftState, 2) << "12.5 rounds to the even 12";
    EXPECT_EQ(tableFrom("+7,2,13,,")[7].shiftState, 2);
}

TEST(Shortcuts, FindSearchesControlCharactersFirstAndNeverPrintableOnes) {
    shortcuts::UserShortcutTable table = tableFrom("");
    table[200].shiftState = 2;
    table[200].keyCode = 70;
    table[65].shiftState = 2;
    table[65].keyCode = 71;
    EXPECT_EQ(shortcuts::findShortcut(table, 70, 2), 200);
    EXPECT_EQ(shortcuts::findShortcut(table, 71, 2), -1);
    table[31].shiftState = 2;
    table[31].keyCode = 70;
    EXPECT_EQ(shortcuts::findShortcut(table, 70, 2), 31);
    // An entry without a modifier is never found, even for key 0.
    EXPECT_EQ(shortcuts::findShortcut(table, 0, 0), -1);
}

TEST(Shortcuts, CopyTableCopiesEveryEntry) {
    const auto source = tableFrom("1,2,3,a,250,4,5,b,");
    shortcuts::UserShortcutTable target = tableFrom(shortcuts::kDefaultShortcutText);
    shortcuts::copyTable(target, source);
    EXPECT_EQ(shortcuts::tableToText(target), "1,2,3,a,250,4,5,b,");
    EXPECT_EQ(target[1].mnemonic, "SOH");
}

TEST(Shortcuts, TablesOfAnotherSizeAreAnInternalError) {
    const char* const message = "User shortcut array must have index from 0 to 255";
    std::vector<shortcuts::UserShortcut> small(255);
    std::vector<shortcuts::UserShortcut> large(257);
    shortcuts::UserShortcutTable table;
    EXPECT_INTERNAL_ERROR(shortcuts::tableToText(small), kErrorIllegalValue, "modShortCutManagement",
                          message);
    EXPECT_INTERNAL_ERROR(shortcuts::textToTable("", large), kErrorIllegalValue, "modShortCutManagement",
                          message);
    EXPECT_INTERNAL_ERROR(shortcuts::copyTable(table, small), kErrorIllegalValue, "modShortCutManagement",
                          message);
    EXPECT_INTERNAL_ERROR(shortcuts::copyTable(large, table), kErrorIllegalValue, "modShortCutManagement",
                          message);
    EXPECT_INTERNAL_ERROR(shortcuts::findShortcut(small, 13, 2), kErrorIllegalValue, "modShortCutManagement",
                          message);
    std::vector<shortcuts::UserShortcut> exact(256);
    shortcuts::textToTable(shortcuts::kDefaultShortcutText, exact);
    EXPECT_EQ(shortcuts::findShortcut(exact, 13, 2), 13);
}
