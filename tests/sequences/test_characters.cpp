#include "sequences/CharacterRepresentation.h"
#include "sequences/Windows1252.h"
#include "support/InternalErrorExpect.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {
const auto kIllegal = static_cast<Representation>(4);
}

TEST(Representations, WidthNameAndLetter) {
    const int widths[] = {1, 2, 3, 8};
    const char* names[] = {"ASCII", "HEX", "Decimal", "Binary"};
    const char* letters[] = {"A", "H", "D", "B"};
    for (Representation r : kAllRepresentations) {
        const int i = static_cast<int>(r);
        EXPECT_EQ(representationWidth(r), widths[i]);
        EXPECT_EQ(representationName(r), names[i]);
        EXPECT_EQ(representationLetter(r), letters[i]);
        Representation back = Representation::Binary;
        EXPECT_TRUE(representationFromLetter(representationLetter(r), back));
        EXPECT_EQ(back, r);
    }
    EXPECT_EQ(representationWidth(kIllegal), 0);
    EXPECT_EQ(representationWidth(static_cast<Representation>(-1)), 0);
    EXPECT_EQ(representationName(kIllegal), "");

    Representation r = Representation::ASCII;
    EXPECT_TRUE(representationFromLetter(" h ", r));
    EXPECT_EQ(r, Representation::HEX);
    r = Representation::Binary;
    EXPECT_FALSE(representationFromLetter("X", r));
    EXPECT_EQ(r, Representation::ASCII);
    EXPECT_FALSE(representationFromLetter("", r));
    EXPECT_FALSE(representationFromLetter("HB", r));
}

TEST(Representations, ControlCharacterNames) {
    EXPECT_EQ(controlCharacterMnemonic(13, false), "CR");
    EXPECT_EQ(controlCharacterMnemonic(13, true), "<CR>");
    EXPECT_EQ(controlCharacterMnemonic(0, true), "<NUL>");
    EXPECT_EQ(controlCharacterMnemonic(31, false), "US");
    EXPECT_EQ(controlCharacterName(26), "substitute/end of file");
    EXPECT_EQ(controlCharacterName(28), "File seperator");
    EXPECT_EQ(controlCharacterName(21), "Negative Acknowledgement");
    for (int code : {-1, 32, 127, 255}) {
        EXPECT_EQ(controlCharacterMnemonic(code, true), "");
        EXPECT_EQ(controlCharacterName(code), "");
    }
    for (int code = 0; code < 32; ++code) {
        EXPECT_EQ(controlCharacterMnemonic(code, true), "<" + controlCharacterMnemonic(code, false) + ">");
        EXPECT_FALSE(controlCharacterName(code).empty());
    }
}

TEST(Representations, AnsiCodeUsesWindows1252) {
    EXPECT_EQ(ansiCode("A"), 65);
    EXPECT_EQ(ansiCode("AB"), 65);
    EXPECT_EQ(ansiCode("\xE2\x82\xAC"), 128); // euro sign
    EXPECT_EQ(ansiCode("\xC3\xA9"), 233);     // e acute
    EXPECT_EQ(ansiCode("\xE6\x97\xA5"), 63);  // outside the code page
    EXPECT_EQ(ansiCode("\xFF"), 63);          // malformed UTF-8
    EXPECT_EQ(ansiCode(""), 63);
    EXPECT_EQ(ansiCode("\xC2\x81"), 0x81); // an undefined byte keeps its C1 code point

    // Every byte survives text and back; each text character is one byte.
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        allBytes += static_cast<char>(b);
    }
    const std::string text = windows1252::bytesToText(allBytes);
    EXPECT_EQ(windows1252::characterCount(text), 256u);
    EXPECT_EQ(windows1252::textToBytes(text), allBytes);
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(ansiCode(ansiCharacter(static_cast<std::uint8_t>(b))), b);
    }
}

TEST(Representations, Utf8DecodingRejectsMalformedSequences) {
    // Overlong, surrogate, truncated and stray continuation bytes each count as one character.
    for (const char* bad : {"\xC0\x80", "\xED\xA0\x80", "\xE2\x82", "\x80", "\xF4\x90\x80\x80"}) {
        const std::string text(bad);
        std::size_t i = 0;
        EXPECT_EQ(windows1252::decodeUtf8(text, i), char32_t{0xFFFD}) << text;
        EXPECT_EQ(i, 1u);
    }
    EXPECT_EQ(windows1252::textToBytes("a\xE6\x97\xA5z"), "a?z");
}

TEST(Representations, WhitespaceIsExactlyFourCodes) {
    int count = 0;
    for (int code = -1; code < 256; ++code) {
        count += isWhitespaceCharacter(code) ? 1 : 0;
    }
    EXPECT_EQ(count, 4);
    EXPECT_TRUE(isWhitespaceCharacter(32) && isWhitespaceCharacter(9) && isWhitespaceCharacter(10) &&
                isWhitespaceCharacter(13));
    EXPECT_FALSE(isWhitespaceCharacter(','));
}

TEST(ReadCharacterValue, TokensInEachRepresentation) {
    EXPECT_EQ(readCharacterValue("ff", Representation::HEX), 255);
    EXPECT_EQ(readCharacterValue("FF", Representation::HEX), 255);
    EXPECT_EQ(readCharacterValue("f", Representation::HEX), 15);
    EXPECT_EQ(readCharacterValue("100", Representation::HEX), -1);
    EXPECT_EQ(readCharacterValue("0G", Representation::HEX), -1);
    EXPECT_EQ(readCharacterValue("255", Representation::Decimal), 255);
    EXPECT_EQ(readCharacterValue("256", Representation::Decimal), -1);
    EXPECT_EQ(readCharacterValue("1000", Representation::Decimal), -1);
    EXPECT_EQ(readCharacterValue("7", Representation::Decimal), 7);
    EXPECT_EQ(readCharacterValue("-1", Representation::Decimal), -1);
    EXPECT_EQ(readCharacterValue("11111111", Representation::Binary), 255);
    EXPECT_EQ(readCharacterValue("101", Representation::Binary), 5);
    EXPECT_EQ(readCharacterValue("2", Representation::Binary), -1);
    EXPECT_EQ(readCharacterValue("000000001", Representation::Binary), -1);
    for (Representation r : {Representation::HEX, Representation::Decimal, Representation::Binary}) {
        EXPECT_EQ(readCharacterValue("", r), 0);
        EXPECT_EQ(readCharacterValue(" 1", r), -1);
    }
    EXPECT_EQ(readCharacterValue("A", Representation::ASCII), 65);
    EXPECT_EQ(readCharacterValue("\xE6\x97\xA5", Representation::ASCII), 63);
    EXPECT_EQ(readCharacterValue("", Representation::ASCII), -1);
    EXPECT_INTERNAL_ERROR(readCharacterValue("00", kIllegal), 1002, "Common Function",
                          "readCharacterValue: Illegal representation");
}

TEST(WriteCharacter, DataBytesAndSpecialCodes) {
    EXPECT_EQ(writeCharacter(13, Representation::ASCII), "<CR>");
    EXPECT_EQ(writeCharacter(13, Representation::HEX), "0D");
    EXPECT_EQ(writeCharacter(13, Representation::Decimal), "013");
    EXPECT_EQ(writeCharacter(13, Representation::Binary), "00001101");
    EXPECT_EQ(writeCharacter(200, Representation::ASCII), "\x7F");
    EXPECT_EQ(writeCharacter(127, Representation::ASCII), "\x7F");
    EXPECT_EQ(writeCharacter('A', Representation::ASCII), "A");
    EXPECT_EQ(writeCharacter(kWildcardOptional, Representation::ASCII), "<#>");
    EXPECT_EQ(writeCharacter(kWildcardOptional, Representation::HEX), "##");
    EXPECT_EQ(writeCharacter(kWildcardOptional, Representation::Decimal), "###");
    EXPECT_EQ(writeCharacter(kWildcardOptional, Representation::Binary), "########");
    EXPECT_EQ(writeCharacter(kBitwiseCompare, Representation::HEX), "^^");
    EXPECT_EQ(writeCharacter(kFunctionExclamation, Representation::Decimal), "!!!");
    EXPECT_EQ(writeCharacter(kEndMarker, Representation::HEX), "");
    EXPECT_EQ(writeCharacter(65, kIllegal), "");
    EXPECT_EQ(byteToBinaryText(0x80), "10000000");
    EXPECT_EQ(byteToBinaryText(0x01), "00000001");

    // Every byte reads back from its token in HEX, Decimal and Binary.
    for (Representation r : {Representation::HEX, Representation::Decimal, Representation::Binary}) {
        for (int b = 0; b < 256; ++b) {
            const std::string token = writeCharacter(b, r);
            ASSERT_EQ(token.size(), static_cast<std::size_t>(representationWidth(r)));
            EXPECT_EQ(readCharacterValue(token, r), b) << representationName(r) << " " << token;
        }
    }
}

TEST(NumericKeyFilter, DigitsSpaceAndLocaleDecimalSeparator) {
    for (char c : std::string("0123456789 ")) {
        EXPECT_EQ(numericKeyFilter(c, "0.1"), c);
    }
    EXPECT_EQ(numericKeyFilter('.', "0.1"), '.');
    EXPECT_EQ(numericKeyFilter(',', "0.1"), 0);
    EXPECT_EQ(numericKeyFilter(',', "0,1"), ',');
    EXPECT_EQ(numericKeyFilter('.', "0,1"), 0);
    EXPECT_EQ(numericKeyFilter('a', "0.1"), 0);
    EXPECT_EQ(numericKeyFilter('-', "0.1"), 0);
    EXPECT_EQ(numericKeyFilter(8, "0.1"), 8);                                // Backspace
    EXPECT_EQ(numericKeyFilter(13, "0.1"), 13);                              // Enter
    EXPECT_EQ(numericKeyFilter(0x066B, "\xD9\xA0\xD9\xAB\xD9\xA1"), 0x066B); // Arabic decimal separator
}
