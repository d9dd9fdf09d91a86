// The Rich Text Format reader on files as common writers make them and on malformed ones.
#include "RichTextTestSupport.h"

#include "richtext/RtfReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using test::formatOfText;
using test::paragraphTexts;
using test::styled;

using Texts = std::vector<std::string>;

// Written the way WordPad-like editors write: a header with the code page and the default font,
// both tables, a generator, paragraph spacing and language words the reader doesn't use.
const char* const kWordPadLike =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1031{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
    "{\\f1\\fmodern\\fprq1\\fcharset0 Courier New;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green77\\blue187;}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
    "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang7 Modem test on \\b COM3\\b0 , 9600 baud.\\par\r\n"
    "\\cf1\\i Red italic\\cf0\\i0  then \\ul underlined\\ulnone  and \\f1\\fs20 ATZ\\f0\\fs22 .\\par\r\n"
    "\\pard\\qc\\cf2\\b\\fs28 Centred heading\\par\r\n"
    "\\pard\\sa200\\sl276\\slmult1\\cf0\\b0\\fs22 K\\'fchler\\tab 12\\line next line\\par\r\n"
    "}\r\n";

TEST(RtfReader, AWordPadLikeFileGivesItsTextFontsColoursAndStyles) {
    const RichTextDocument document = readRtf(kWordPadLike);
    EXPECT_EQ(paragraphTexts(document), (Texts{"Modem test on COM3, 9600 baud.",
                                               "Red italic then underlined and ATZ.", "Centred heading",
                                               "K\xc3\xbc"
                                               "hler\t12\nnext line"}));
    EXPECT_EQ(document.defaultFontName, "Calibri");
    EXPECT_EQ(formatOfText(document, "Modem test on "), styled("Calibri", 22));
    EXPECT_EQ(formatOfText(document, "COM3"), styled("Calibri", 22, true));
    EXPECT_EQ(formatOfText(document, "Red italic"),
              styled("Calibri", 22, false, true, false, RichTextColor{255, 0, 0}));
    EXPECT_EQ(formatOfText(document, " then "), styled("Calibri", 22));
    EXPECT_EQ(formatOfText(document, "underlined"), styled("Calibri", 22, false, false, true));
    EXPECT_EQ(formatOfText(document, "ATZ"), styled("Courier New", 20));
    EXPECT_EQ(formatOfText(document, "Centred"),
              styled("Calibri", 28, true, false, false, RichTextColor{0, 77, 187}));
    EXPECT_EQ(document.paragraphs[2].alignment, ParagraphAlignment::Center);
    // \pard goes back to the left.
    EXPECT_EQ(document.paragraphs[3].alignment, ParagraphAlignment::Left);
}

TEST(RtfReader, TextIsNeverTakenFromDestinationsThatHoldNone) {
    const RichTextDocument document = readRtf(
        "{\\rtf1{\\fonttbl{\\f0{\\*\\panose 020b0604}Arial{\\*\\falt Helvetica};}}"
        "{\\stylesheet{\\s0 Normal;}{\\s1 heading 1;}}{\\info{\\title Secret title}{\\author A. Writer}}"
        "{\\header Page header}{\\footer\\pard\\qc\\chpgn\\par}"
        "\\f0 Before {\\pict\\wmetafile8\\picw100 0a0b0c0d{\\*\\blipuid 1234}ffff} picture, "
        "{\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 01050000}{\\result{\\pict 00}}}object, "
        "{\\*\\unknowndestination hidden text}{\\*\\bkmkstart mark}"
        "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link text}} and "
        "{\\listtext\\'b7\\tab}bullet {\\pict\\bin4 {}}}}\\par after.}");
    EXPECT_EQ(paragraphTexts(document),
              (Texts{"Before  picture, object, link text and \xc2\xb7\tbullet ", "after."}));
    EXPECT_EQ(formatOfText(document, "Before").fontName, "Arial");
}

TEST(RtfReader, UnicodeCharactersSkipTheirFallbackAsTheSkipCountSays) {
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1\\uc1 a\\u269?b\\u-3851?c}")), "a\xc4\x8d"
                                                                         "b\xef\x83\xb5"
                                                                         "c");
    // Two fallback bytes, one of them escaped; \uc inside a group ends with the group.
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1\\uc2 \\u8364\\'80?x{\\uc0\\u8364 y}\\u8364 ??z}")), "\xe2\x82\xac"
                                                                                               "x\xe2\x82\xac"
                                                                                               "y\xe2\x82\xac"
                                                                                               "z");
    // A control word counts as one fallback character; a group ends the skipping.
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1\\uc1\\u269\\'e8 a\\u269\\b b{\\u269}c}")), "\xc4\x8d"
                                                                                      " a\xc4\x8d"
                                                                                      "b\xc4\x8d"
                                                                                      "c");
    // A surrogate pair is one character; a lone surrogate is the replacement character.
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1\\u-10179?\\u-8704?|\\u-10179?x|\\u-8704?}")),
              "\xf0\x9f\x98\x80|\xef\xbf\xbdx|\xef\xbf\xbd");
    // \u beyond the code space, and \u of control characters, which are no text.
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1 a\\u99999999999?b\\u7?c\\u9?d}")), "a\xef\xbf\xbd"
                                                                              "bc\td");
}

TEST(RtfReader, EscapedAndEightBitCharactersAreWindows1252) {
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1\\ansi \\'80 \\'e4\xe4 \\'93q\\'94 \\{\\}\\\\ a\\~b c\\_d}")),
              "\xe2\x82\xac \xc3\xa4\xc3\xa4 \xe2\x80\x9cq\xe2\x80\x9d {}\\ a\xc2\xa0"
              "b c\xe2\x80\x91"
              "d");
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}")),
              "\xe2\x80\x94\xe2\x80\x93\xe2\x80\xa2\xe2\x80\x98\xe2\x80\x99\xe2\x80\x9c\xe2\x80\x9d");
    // Line ends in the file are no text; a backslash before one is a paragraph.
    EXPECT_EQ(paragraphTexts(readRtf("{\\rtf1 one\r\ntwo\\\r\nthree}")), (Texts{"onetwo", "three"}));
}

TEST(RtfReader, ParagraphsEndWithParAndTheLastOneNeedsNone) {
    EXPECT_EQ(paragraphTexts(readRtf("{\\rtf1 a\\par b\\par}")), (Texts{"a", "b"}));
    EXPECT_EQ(paragraphTexts(readRtf("{\\rtf1 a\\par b}")), (Texts{"a", "b"}));
    EXPECT_EQ(paragraphTexts(readRtf("{\\rtf1 a\\par\\par\\par b\\sect c\\page d}")),
              (Texts{"a", "", "", "b", "c", "d"}));
    EXPECT_EQ(paragraphTexts(readRtf("{\\rtf1\\par}")), (Texts{""}));
    EXPECT_TRUE(readRtf("{\\rtf1}").paragraphs.empty());
    // Table cells are separated by tabs, a row is a paragraph.
    EXPECT_EQ(paragraphTexts(readRtf("{\\rtf1\\trowd\\intbl a\\cell b\\cell\\row c}")),
              (Texts{"a\tb\t", "c"}));
}

TEST(RtfReader, FontAndColourTablesInTheirUsualForms) {
    // No inner groups, a missing last ';', an empty colour entry that is the automatic colour.
    RichTextDocument document = readRtf("{\\rtf1{\\fonttbl\\f0\\fswiss Arial;\\f1\\fmodern Courier}"
                                        "{\\colortbl\\red1\\green2\\blue3;;\\red300\\green-4\\blue5}"
                                        "\\f1 c\\cf0 one\\cf1 two\\cf2 three\\cf9 nine\\f7 unknown}");
    EXPECT_EQ(formatOfText(document, "one"),
              styled("Courier", 0, false, false, false, RichTextColor{1, 2, 3}));
    EXPECT_EQ(formatOfText(document, "two").color, std::nullopt);
    EXPECT_EQ(formatOfText(document, "three").color, (RichTextColor{255, 0, 5}));
    EXPECT_EQ(formatOfText(document, "nine").color, std::nullopt);
    EXPECT_EQ(formatOfText(document, "unknown").fontName, "");
    EXPECT_EQ(document.defaultFontName, "");

    // Escaped characters in a font name; \plain goes back to the default font and format.
    document = readRtf("{\\rtf1\\deff1{\\fonttbl{\\f0 Times;}{\\f1 Cr\\'e8me Sans;}}\\f0\\b\\i\\ul\\fs30 "
                       "styled\\plain plain}");
    EXPECT_EQ(document.defaultFontName, "Cr\xc3\xa8me Sans");
    EXPECT_EQ(formatOfText(document, "styled"), styled("Times", 30, true, true, true));
    EXPECT_EQ(formatOfText(document, "plain"), CharacterFormat{});
}

TEST(RtfReader, FormatWordsTakeTheirParameters) {
    const RichTextDocument document = readRtf(
        "{\\rtf1\\b1 a\\b0 b\\b2 c\\i1\\i0 d\\uldb e\\ul0 f\\ulwave g\\ulnone h\\fs0 i\\fs-4 j\\fs99999 k}");
    EXPECT_TRUE(formatOfText(document, "a").bold);
    EXPECT_FALSE(formatOfText(document, "b").bold);
    EXPECT_TRUE(formatOfText(document, "c").bold);
    EXPECT_FALSE(formatOfText(document, "d").italic);
    EXPECT_TRUE(formatOfText(document, "e").underline);
    EXPECT_FALSE(formatOfText(document, "f").underline);
    EXPECT_TRUE(formatOfText(document, "g").underline);
    EXPECT_FALSE(formatOfText(document, "h").underline);
    EXPECT_EQ(formatOfText(document, "i").halfPoints, 0);
    EXPECT_EQ(formatOfText(document, "j").halfPoints, 0);
    EXPECT_EQ(formatOfText(document, "k").halfPoints, 3276);
}

TEST(RtfReader, GroupsKeepTheirFormatToThemselves) {
    const RichTextDocument document = readRtf("{\\rtf1 a{\\b b{\\i c}d}e}");
    EXPECT_EQ(formatOfText(document, "a"), CharacterFormat{});
    EXPECT_EQ(formatOfText(document, "b"), styled("", 0, true));
    EXPECT_EQ(formatOfText(document, "c"), styled("", 0, true, true));
    EXPECT_EQ(formatOfText(document, "d"), styled("", 0, true));
    EXPECT_EQ(formatOfText(document, "e"), CharacterFormat{});
}

TEST(RtfReader, MalformedInputKeepsAllTheTextItCan) {
    // Unclosed groups and a file cut off inside a control word or an escape.
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1 {\\b open {\\i groups")), "open groups");
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1 cut \\b")), "cut ");
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1 cut\\'4")), "cut");
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1 cut\\'")), "cut");
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1 cut\\")), "cut");
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1 bad \\'zz hex}")), "bad zz hex");
    // The document ends with its group; a stray closing brace before that ends it early.
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1 text} trailing")), "text");
    EXPECT_EQ(plainTextOf(readRtf("}}{\\rtf1 after stray}")), "after stray");
    // Numbers far beyond any use, a word longer than any real one, \bin longer than the file.
    RichTextDocument huge = readRtf("{\\rtf1\\fs123456789012345678901234567890 a\\cf-99999999999 b"
                                    "\\abcdefghijklmnopqrstuvwxyzabcdefghijklmnop c}");
    EXPECT_EQ(plainTextOf(huge), "abc");
    EXPECT_EQ(formatOfText(huge, "abc"), styled("", 3276));
    // A fallback can't swallow more than a few characters, whatever the skip count says.
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1\\uc99999999 \\u65?" + std::string(20, 'x') + "}")), "Axxxxx");
    EXPECT_EQ(plainTextOf(readRtf("{\\rtf1 before\\bin99999999999 after}")), "before");
    // Nesting deeper than anyone writes.
    std::string deep = "{\\rtf1 ";
    deep += std::string(100000, '{') + "deep" + std::string(100000, '}') + " after}";
    EXPECT_EQ(plainTextOf(readRtf(deep)), "deep after");
}

TEST(RtfReader, OnlyRichTextFormatLooksLikeIt) {
    EXPECT_TRUE(looksLikeRtf("{\\rtf1\\ansi}"));
    EXPECT_TRUE(looksLikeRtf("\r\n  {\\rtf"));
    EXPECT_TRUE(looksLikeRtf("\xef\xbb\xbf{\\rtf1}"));
    EXPECT_FALSE(looksLikeRtf("plain notes"));
    EXPECT_FALSE(looksLikeRtf("{\\rt"));
    EXPECT_FALSE(looksLikeRtf(""));
}

} // namespace
} // namespace corvane
