// The "%_" codes of receive sequence comments.
#include "EngineTestSupport.h"
#include "communication/ReceiveCommentExpansion.h"

namespace corvane::test {
namespace {

TEST(ReceiveCommentExpansion, RepresentationsPartsAndPlainCodes) {
    ClSequence history = sequenceOf("ABCD");
    EXPECT_EQ(expandReceiveComment("%_H(2,3)", history, 0, ""), "42 43 44");
    EXPECT_EQ(expandReceiveComment("got %_A!", history, 0, ""), "got ABCD!");
    EXPECT_EQ(expandReceiveComment("%_h %_d(1,1) %_b(4,9)", history, 0, ""), "41 42 43 44 065 01000100");
    EXPECT_EQ(expandReceiveComment("%_D(3,-1)", history, 0, ""), "067 068");
    EXPECT_EQ(expandReceiveComment("%_A(0,2)|%_A(9,2)|", history, 0, ""), "AB||");
    EXPECT_EQ(expandReceiveComment("a%_Lb", history, 0, ""), "a\r\nb");
    EXPECT_EQ(expandReceiveComment("ch %_C at %_T", history, 1, "10:20:30.400 "), "ch 2 at 10:20:30.400 ");
    // Codes are case-sensitive; only the representation letter isn't.
    EXPECT_EQ(expandReceiveComment("%_l %_c %_t", history, 0, "T"), "%_l %_c %_t");
}

TEST(ReceiveCommentExpansion, UnknownCodesAndBrokenBracketsStayAsTheyAre) {
    ClSequence history = sequenceOf("AB");
    EXPECT_EQ(expandReceiveComment("%_X %_ %_", history, 0, ""), "%_X %_ %_");
    EXPECT_EQ(expandReceiveComment("%_H(1 and %_A", history, 0, ""), "%_H(1 and AB");
    EXPECT_EQ(expandReceiveComment("%_H(1,2", history, 0, ""), "%_H(1,2");
    EXPECT_EQ(expandReceiveComment("%_H(x,y)", history, 0, ""), "");
    // Inserted text is not scanned again.
    ClSequence percent = sequenceOf("%_A");
    EXPECT_EQ(expandReceiveComment("%_A%_A", percent, 0, ""), "%_A%_A");
    EXPECT_EQ(expandReceiveComment("%_H(1,99999999999)", history, 0, ""), "41 42");
}

using CommentInEngineTest = EngineTest;

TEST_F(CommentInEngineTest, TheHistoryOfTheDetectionFillsTheComment) {
    stamps(true);
    ClSequence pattern = sequenceOf("<");
    pattern.appendCharacter(kWildcardOne);
    pattern.appendCharacter(kWildcardOne);
    pattern.appendCharacter('>');
    addReceive("frame", pattern, "frame %_A(2,2) = %_H on %_C at %_T");
    start();
    arrive("<<ab>");
    engine.communicationPass();
    EXPECT_NE(ascii().find(" frame ab = 3C 61 62 3E on 2 at 10:20:30.400  "), std::string::npos) << ascii();
}

} // namespace
} // namespace corvane::test
