#include "sequences/CharacterRepresentation.h"
#include "sequences/ClSequence.h"
#include "sequences/SequenceNotation.h"
#include "support/InternalErrorExpect.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace corvane;

namespace {

constexpr std::int32_t kMax = 1024;

std::vector<CharCode> parsed(Representation r, std::string_view text, std::int32_t max = kMax) {
    ClSequence s;
    s.parseText(r, text, max);
    std::vector<CharCode> codes = s.IntSequence();
    codes.pop_back();
    return codes;
}

using Codes = std::vector<CharCode>;
const CharCode Q = kWildcardOne;
const CharCode H = kWildcardOptional;

} // namespace

TEST(Scanner, FindsTokensThatStandAlone) {
    std::size_t pos = 1;
    CharCode code = 0;
    const std::string text = "xx 0D  ## 1";
    ASSERT_TRUE(GetSequenceCharacterFromString(text, pos, code, Representation::HEX));
    EXPECT_EQ(code, 0x0D);
    EXPECT_EQ(pos, 6u);
    ASSERT_TRUE(GetSequenceCharacterFromString(text, pos, code, Representation::HEX));
    EXPECT_EQ(code, H);
    EXPECT_EQ(pos, 10u);
    // A one-character token is not a HEX token of width 2.
    EXPECT_FALSE(GetSequenceCharacterFromString(text, pos, code, Representation::HEX));
    EXPECT_EQ(pos, text.size() + 1);

    // In ASCII every character is a hit, a multi-byte character taken whole.
    pos = 1;
    const std::string ascii = "\xE2\x82\xAC!";
    ASSERT_TRUE(GetSequenceCharacterFromString(ascii, pos, code, Representation::ASCII));
    EXPECT_EQ(code, 128);
    EXPECT_EQ(pos, 4u);
    ASSERT_TRUE(GetSequenceCharacterFromString(ascii, pos, code, Representation::ASCII));
    EXPECT_EQ(code, '!');
}

TEST(Scanner, ContractViolationsAreInternalErrors) {
    std::size_t pos = 0;
    CharCode code = 0;
    const char* range = "GetSequenceCharacterFromString: pos must be between 1 and len(sourceText)";
    EXPECT_INTERNAL_ERROR(GetSequenceCharacterFromString("0D", pos, code, Representation::HEX), 1003,
                          "Common Function", range);
    pos = 3;
    EXPECT_INTERNAL_ERROR(GetSequenceCharacterFromString("0D", pos, code, Representation::HEX), 1003,
                          "Common Function", range);
    pos = 1;
    EXPECT_INTERNAL_ERROR(GetSequenceCharacterFromString("", pos, code, Representation::HEX), 1003,
                          "Common Function", range);
    EXPECT_INTERNAL_ERROR(GetSequenceCharacterFromString("0D", pos, code, static_cast<Representation>(9)),
                          1002, "Common Function",
                          "GetSequenceCharacterFromString: Illegal representation value");
}

TEST(Scanner, SpecialFormsInEveryRepresentation) {
    for (std::size_t s = 0; s < 6; ++s) {
        const CharCode special = kSpecialCodes[s];
        const char c = specialSymbol(special);
        EXPECT_EQ(specialCodeFromToken(std::string{c, ' '}, Representation::HEX), special);
        EXPECT_EQ(specialCodeFromToken(std::string(2, c), Representation::HEX), special);
        EXPECT_EQ(specialCodeFromToken(std::string{' ', c, ' '}, Representation::Decimal), special);
        EXPECT_EQ(specialCodeFromToken(std::string(3, c), Representation::Decimal), special);
        EXPECT_EQ(specialCodeFromToken("   " + std::string(1, c) + "    ", Representation::Binary), special);
        EXPECT_EQ(specialCodeFromToken(std::string(8, c), Representation::Binary), special);
        // Wrong widths and spacing are no forms.
        EXPECT_EQ(specialCodeFromToken(std::string{' ', c}, Representation::HEX), -1);
        EXPECT_EQ(specialCodeFromToken(std::string(2, c), Representation::Decimal), -1);
        EXPECT_EQ(specialCodeFromToken(std::string(1, c), Representation::ASCII), -1);
    }
    EXPECT_EQ(specialCodeFromToken("?#", Representation::HEX), -1);
}

TEST(LineSeparator, ClassifiesLayouts) {
    using Kind = LineSeparator::Kind;
    EXPECT_EQ(classifyLineSeparator("0A0B0C", Representation::HEX).kind, Kind::None);
    const LineSeparator comma = classifyLineSeparator("0A,0B,0C", Representation::HEX);
    EXPECT_EQ(comma.kind, Kind::Character);
    EXPECT_EQ(comma.character, ",");
    EXPECT_EQ(classifyLineSeparator("0A 0B 0C", Representation::HEX).character, " ");
    EXPECT_EQ(classifyLineSeparator("0A  0B", Representation::HEX).kind, Kind::Mixed);
    EXPECT_EQ(classifyLineSeparator("0A 0B ## 0C", Representation::HEX).kind, Kind::Mixed);
    EXPECT_EQ(classifyLineSeparator("0A,0B;0C", Representation::HEX).kind, Kind::Mixed);
    EXPECT_EQ(classifyLineSeparator("0D,", Representation::HEX).kind, Kind::None);
    EXPECT_EQ(classifyLineSeparator(",0A", Representation::HEX).kind, Kind::Character);
    // An invalid letter before a separator makes the line mixed.
    EXPECT_EQ(classifyLineSeparator("0G,0A", Representation::HEX).kind, Kind::Mixed);
    // A separator written in several UTF-8 bytes is still one character.
    const LineSeparator euro = classifyLineSeparator("0A\xE2\x82\xAC"
                                                     "0B",
                                                     Representation::HEX);
    EXPECT_EQ(euro.kind, Kind::Character);
    EXPECT_EQ(euro.character, "\xE2\x82\xAC");
}

TEST(ParseText, HexLayouts) {
    EXPECT_EQ(parsed(Representation::HEX, "0D 0A"), (Codes{13, 10}));
    EXPECT_EQ(parsed(Representation::HEX, "0d0a"), (Codes{13, 10}));
    EXPECT_EQ(parsed(Representation::HEX, "0D0"), Codes{});
    EXPECT_EQ(parsed(Representation::HEX, "0D,0A,"), (Codes{13, 10}));
    EXPECT_EQ(parsed(Representation::HEX, "0D,"), Codes{});
    EXPECT_EQ(parsed(Representation::HEX, ",0A"), (Codes{0, 10}));
    EXPECT_EQ(parsed(Representation::HEX, "## 0D"), (Codes{H, 13}));
    EXPECT_EQ(parsed(Representation::HEX, "##0D"), Codes{});
    EXPECT_EQ(parsed(Representation::HEX, "0D\r\n0A"), (Codes{13, 10}));
    EXPECT_EQ(parsed(Representation::HEX, "\r\n\r\n  0D  \n\n"), (Codes{13}));
    EXPECT_EQ(parsed(Representation::HEX, "41;123;42"), (Codes{0x41, 0x42})); // invalid pieces are skipped
    EXPECT_EQ(parsed(Representation::HEX, "41;ZZ;42"), Codes{}); // mixed, and no token stands alone
    EXPECT_EQ(parsed(Representation::HEX, "&& 32 0D"), (Codes{kFunctionAmpersand, 0x32, 0x0D}));
    EXPECT_EQ(parsed(Representation::HEX, "^^ 0F 05"), (Codes{kBitwiseCompare, 0x0F, 0x05}));
    // Packed text with an invalid token is read again by scanning.
    EXPECT_EQ(parsed(Representation::HEX, "0DZZ"), Codes{});
    EXPECT_EQ(parsed(Representation::HEX, "words 0D and 0A"), (Codes{13, 10}));
    // A special token between single separators makes the line mixed; scanning finds no token
    // standing alone between commas.
    EXPECT_EQ(parsed(Representation::HEX, "41,??,42"), Codes{});
    EXPECT_EQ(parsed(Representation::HEX, "41 ?? 42"), (Codes{0x41, Q, 0x42}));
}

TEST(ParseText, DecimalAndBinaryLayouts) {
    EXPECT_EQ(parsed(Representation::Decimal, "13 10"), (Codes{13, 10}));
    EXPECT_EQ(parsed(Representation::Decimal, "013 010"), (Codes{13, 10}));
    EXPECT_EQ(parsed(Representation::Decimal, "013   ?   010"), (Codes{13, Q, 10}));
    EXPECT_EQ(parsed(Representation::Decimal, "013  ???  010"), (Codes{13, Q, 10}));
    EXPECT_EQ(parsed(Representation::Decimal, "013 ? 010"), (Codes{13, 10}));
    EXPECT_EQ(parsed(Representation::Decimal, "013010"), (Codes{13, 10}));
    EXPECT_EQ(parsed(Representation::Decimal, "300 10"), (Codes{10}));
    EXPECT_EQ(parsed(Representation::Binary, "00001101 00001010"), (Codes{13, 10}));
    EXPECT_EQ(parsed(Representation::Binary, "0000110100001010"), (Codes{13, 10}));
    EXPECT_EQ(parsed(Representation::Binary, "1,101"), (Codes{1, 5}));
    EXPECT_EQ(parsed(Representation::Binary, "00000001  ########  ^^^^^^^^"), (Codes{1, H, kBitwiseCompare}));
}

TEST(ParseText, AsciiTakesEveryCharacterAsData) {
    EXPECT_EQ(parsed(Representation::ASCII, "?#"), (Codes{'?', '#'}));
    EXPECT_EQ(parsed(Representation::ASCII, "a\r\nb"), (Codes{'a', 13, 10, 'b'}));
    EXPECT_EQ(parsed(Representation::ASCII, "\xE2\x82\xAC\xE6\x97\xA5"), (Codes{128, 63}));
    EXPECT_EQ(parsed(Representation::ASCII, "abcdef", 4), (Codes{'a', 'b', 'c', 'd'}));
}

TEST(ParseText, MaximumLengthKeepsTheFirstCharacters) {
    std::string text;
    for (int i = 0; i < 1500; ++i) {
        text += writeCharacter(i % 256, Representation::HEX) + " ";
    }
    for (const std::string& layout : {text, text + " ##"}) { // separated and scanned
        const Codes codes = parsed(Representation::HEX, layout, 1024);
        ASSERT_EQ(codes.size(), 1024u);
        EXPECT_EQ(codes[1023], 1023 % 256);
    }
    std::string packed;
    for (int i = 0; i < 1500; ++i) {
        packed += writeCharacter(i % 256, Representation::HEX);
    }
    EXPECT_EQ(parsed(Representation::HEX, packed, 1024).size(), 1024u);
    EXPECT_EQ(parsed(Representation::HEX, "01 02 03", 0).size(), 0u);
}

TEST(ParseText, EarlierLinesSurviveWhenALineFallsBackToScanning) {
    // "0DZZ" is packed, holds an invalid token and gives nothing when scanned.
    EXPECT_EQ(parsed(Representation::HEX, "41 42\r\n0DZZ\r\n0A"), (Codes{0x41, 0x42, 0x0A}));
}

TEST(ParseText, RenderingsWithSeparatorsReadBackExactly) {
    ClSequence all;
    for (int b = 0; b < 256; ++b) {
        all.appendCharacter(b);
    }
    for (CharCode special : kSpecialCodes) {
        all.appendCharacter(special);
        all.appendCharacter(0x41);
    }
    for (Representation r : {Representation::HEX, Representation::Decimal, Representation::Binary}) {
        ClSequence back;
        back.parseText(r, all.getSeqRepresentation(r, true), 4096);
        EXPECT_TRUE(back.isEqual(all)) << representationName(r);
        back.parseText(r, all.getClipboardText(r), 4096);
        EXPECT_TRUE(back.isEqual(all)) << representationName(r);
    }
}

TEST(ParseText, ArbitraryTextNeverRaises) {
    std::mt19937 random(12345);
    const std::string alphabet = "0123456789ABCDEFabcdefxyz ?#^&%!,;\t\r\n\x80\xE2\x82\xAC";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        for (Representation r : kAllRepresentations) {
            ClSequence s;
            ASSERT_NO_THROW(s.parseText(r, text, static_cast<std::int32_t>(random() % 20))) << text;
            EXPECT_LE(s.size(), 19);
        }
    }
}
