// Find in the communication window: the search through the matching cursor and the dialog's
// decisions, over the text a window shows.
#include "ControlFixture.h"

#include "app/control/FindController.h"

namespace corvane {
namespace {

class FakeFindWindow : public FindWindowView {
public:
    std::string visibleWindowText() const override { return text; }
    Representation visibleRepresentation() const override { return representation; }
    void selectInVisibleWindow(int start, int length) override { selected = text.substr(start, length); }
    int searchPosition() const override { return position; }
    void setSearchPosition(int value) override { position = value; }

    std::string text;
    Representation representation = Representation::HEX;
    std::string selected;
    int position = 0;
};

FindMatch find(const std::string& text, Representation r, const std::string& pattern, int from = 0) {
    return findSequenceInText(text, r, test::sequenceOf(r, pattern), from);
}

std::string found(const std::string& text, Representation r, const std::string& pattern, int from = 0) {
    const FindMatch match = find(text, r, pattern, from);
    return match.found ? text.substr(match.start, match.length) : "<none>";
}

TEST(SequenceFind, WildcardsWorkAsInDetection) {
    const std::string hex = "41 42 43 0D 0A 41 58 43 ";
    // '?' takes any one character.
    EXPECT_EQ(found(hex, Representation::HEX, "41 ?? 43"), "41 42 43");
    EXPECT_EQ(found(hex, Representation::HEX, "41 ?? 43", 1), "41 58 43");
    // '#' takes one character or none.
    EXPECT_EQ(found(hex, Representation::HEX, "42 ## 0D"), "42 43 0D");
    EXPECT_EQ(found("41 0D 0A ", Representation::HEX, "41 ## 0D"), "41 0D");
    EXPECT_EQ(found(hex, Representation::HEX, "42 0D"), "<none>");
    // Overlapping occurrences are found in turn.
    const std::string run = "0D 0D 0D ";
    const FindMatch first = find(run, Representation::HEX, "0D 0D");
    ASSERT_TRUE(first.found);
    const FindMatch second = find(run, Representation::HEX, "0D 0D", first.start + 1);
    ASSERT_TRUE(second.found);
    EXPECT_EQ(second.start, 3);
}

TEST(SequenceFind, OnlyWholeTokensCountOutsideAscii) {
    // Time stamp, direction tag and a comment between the data are passed over in HEX.
    const std::string hex = "\n12:00:01 [RX] - 41 42 \n12:00:02 [TX] - 43 Comment 44 ";
    EXPECT_EQ(found(hex, Representation::HEX, "42 43"), "42 \n12:00:02 [TX] - 43");
    EXPECT_EQ(found(hex, Representation::HEX, "12"), "<none>");
    EXPECT_EQ(found("065 066 ", Representation::Decimal, "066"), "066");
    EXPECT_EQ(found("01000001 01000010 ", Representation::Binary, "01000010"), "01000010");
    // In ASCII every text character is one character of the search, line breaks included.
    EXPECT_EQ(found("OK\nRING\n", Representation::ASCII, "G\n"), "G\n");
    EXPECT_EQ(found("12:00 [RX] - AT", Representation::ASCII, "] - A"), "] - A");
    // Window characters, not bytes: the match after a character that UTF-8 writes in two bytes.
    const std::string text = "\xC3\xA4"
                             "AB";
    const FindMatch match = find(text, Representation::ASCII, "AB");
    ASSERT_TRUE(match.found);
    EXPECT_EQ(match.start, 1);
    EXPECT_EQ(match.length, 2);
    EXPECT_FALSE(find("", Representation::ASCII, "A").found);
    EXPECT_FALSE(find("AB", Representation::ASCII, "B", 2).found);
}

class FindControllerTest : public test::ControlTest {
protected:
    FakeFindWindow findWindow;
    FindController find{lists, messages, findWindow};
};

TEST_F(FindControllerTest, HexLineEndsAreFoundPairByPairThenTheEndIsToldAndTheSearchStartsAgain) {
    findWindow.text = "41 54 0D 0A \n12:00:00 [RX] - 4F 4B 0D 0A 0D 0A ";
    const ClSequence pattern = test::sequenceOf(Representation::HEX, "0D 0A");
    std::vector<int> starts;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(find.findNext(FindController::UserPage, pattern, 0)) << i;
        EXPECT_EQ(findWindow.selected, "0D 0A");
        starts.push_back(findWindow.position - 1);
    }
    EXPECT_LT(starts[0], starts[1]);
    EXPECT_LT(starts[1], starts[2]);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(find.findNext(FindController::UserPage, pattern, 0));
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].text, "Finished searching for user defined sequence");
    EXPECT_EQ(messages.shown[0].title, "Find Sequence In Communication Window");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(findWindow.position, 0);
    // From the top again.
    ASSERT_TRUE(find.findNext(FindController::UserPage, pattern, 0));
    EXPECT_EQ(findWindow.position - 1, starts[0]);
}

TEST_F(FindControllerTest, ListPagesSearchTheChosenEntryAndNeedAChoice) {
    addSend("Hello", "AT");
    addReceive("Answer", "OK");
    EXPECT_EQ(find.choices(SequenceListKind::Send), (std::vector<std::string>{"---", "Hello"}));
    EXPECT_EQ(find.choices(SequenceListKind::Receive), (std::vector<std::string>{"---", "Answer"}));
    EXPECT_FALSE(FindController::canSearch(FindController::SendPage, 0, 0));
    EXPECT_FALSE(FindController::canSearch(FindController::UserPage, 0, 1));
    EXPECT_TRUE(FindController::canSearch(FindController::ReceivePage, 0, 1));

    findWindow.representation = Representation::ASCII;
    findWindow.text = "AT\nOK\n";
    const ClSequence none;
    ASSERT_TRUE(find.findNext(FindController::ReceivePage, none, 1));
    EXPECT_EQ(findWindow.selected, "OK");
    EXPECT_FALSE(find.findNext(FindController::SendPage, none, 1));
    EXPECT_EQ(messages.shown.back().text, "Finished searching for send sequence");
    ASSERT_TRUE(find.findNext(FindController::SendPage, none, 1));
    EXPECT_EQ(findWindow.selected, "AT");
    // "---" searches nothing and says nothing.
    const std::size_t shown = messages.shown.size();
    EXPECT_FALSE(find.findNext(FindController::SendPage, none, 0));
    EXPECT_EQ(messages.shown.size(), shown);
}

TEST_F(FindControllerTest, ASelectionBecomesThePatternAndChoicesAreRememberedWhileTheyExist) {
    addSend("One", "1");
    addSend("Two", "2");
    EXPECT_EQ(find.open(nullptr), FindController::SendPage);
    find.remember(FindController::ReceivePage, 2, 0, {0x41, -1});
    EXPECT_EQ(find.open(nullptr), FindController::ReceivePage);
    EXPECT_EQ(find.rememberedPattern(), (std::vector<CharCode>{0x41}));
    EXPECT_EQ(find.rememberedChoice(SequenceListKind::Send), 2);
    lists.deleteSendSequence(1, false);
    EXPECT_EQ(find.rememberedChoice(SequenceListKind::Send), 0);

    const ClSequence selection = test::sequenceOf(Representation::HEX, "0D 0A");
    EXPECT_EQ(find.open(&selection), FindController::UserPage);
    EXPECT_EQ(find.rememberedPattern(), (std::vector<CharCode>{0x0D, 0x0A}));
    const ClSequence empty;
    EXPECT_EQ(find.open(&empty), FindController::UserPage);
}

} // namespace
} // namespace corvane
