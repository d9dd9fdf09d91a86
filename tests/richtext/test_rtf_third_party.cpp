// Files of other programs read by our reader, and our files read by another program.
// tests/richtext/data holds files that enscript (--language=rtf) and latex2rtf wrote from the
// sources in data/sources (data/make_fixtures.sh writes them again); unrtf reads ours.
#include "RichTextTestSupport.h"

#include "platform/Windows1252.h"
#include "richtext/RichTextFile.h"
#include "richtext/RtfWriter.h"
#include "support/ProgramOutput.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace corvane {
namespace {

using test::formatOfText;
using test::paragraphTexts;
using test::styled;

using Texts = std::vector<std::string>;

RichTextDocument fixture(const std::string& name) {
    const std::string path = (std::filesystem::path(CORVANE_TESTS_DIR) / "richtext" / "data" / name).string();
    std::optional<RichTextDocument> document = loadRichTextFile(path);
    EXPECT_TRUE(document.has_value()) << path;
    return document.value_or(RichTextDocument{});
}

TEST(ThirdPartyRtf, EnscriptPlainTextReadsBackLineByLine) {
    const RichTextDocument document = fixture("enscript_plain.rtf");
    EXPECT_EQ(paragraphTexts(document), (Texts{"Corvane test notes\nModem answered OK\tafter 120 ms\n"
                                               "Umlauts: \xc3\xa4\xc3\xb6\xc3\xbc \xc3\x84\xc3\x96\xc3\x9c "
                                               "\xc3\x9f, euro \xe2\x82\xac, braces {x} and [brackets]\n"}));
    EXPECT_EQ(document.defaultFontName, "Courier New");
    EXPECT_EQ(formatOfText(document, "Modem"), CharacterFormat{});
}

TEST(ThirdPartyRtf, EnscriptHighlightingGivesBoldItalicAndColours) {
    const RichTextDocument document = fixture("enscript_highlight.rtf");
    EXPECT_EQ(paragraphTexts(document), (Texts{"#include <stdio.h>\n/* Sends the modem reset */\n"
                                               "int main(void) { return puts(\"ATZ\"); }\n"}));
    EXPECT_EQ(formatOfText(document, "include"),
              styled("", 0, true, false, false, RichTextColor{95, 158, 160}));
    EXPECT_EQ(formatOfText(document, "/* Sends"),
              styled("", 0, false, true, false, RichTextColor{178, 34, 34}));
    EXPECT_EQ(formatOfText(document, "main"), styled("", 0, true, false, false, RichTextColor{0, 0, 255}));
    EXPECT_EQ(formatOfText(document, " puts("), CharacterFormat{});
}

TEST(ThirdPartyRtf, Latex2rtfParagraphsStylesSizesAndFonts) {
    const RichTextDocument document = fixture("latex2rtf_styles.rtf");
    // Style sheet, document information and footer hold no text of the document.
    EXPECT_EQ(
        paragraphTexts(document),
        (Texts{"1  Test Notes", "Plain text with bold words, italic words and underlined words.",
               "Second paragraph with larger text, umlauts \xc3\xa4\xc3\xb6\xc3\xbc \xc3\xa9 and ATZ in "
               "Courier. "}));
    EXPECT_EQ(formatOfText(document, "Test Notes"), styled("Times New Roman", 32, true));
    EXPECT_EQ(formatOfText(document, "Plain text"), styled("Times New Roman", 20));
    EXPECT_EQ(formatOfText(document, "bold words"), styled("Times New Roman", 20, true));
    EXPECT_EQ(formatOfText(document, "italic words"), styled("Times New Roman", 20, false, true));
    EXPECT_EQ(formatOfText(document, "underlined words"), styled("Times New Roman", 20, false, false, true));
    EXPECT_EQ(formatOfText(document, "larger text"), styled("Times New Roman", 24));
    EXPECT_EQ(formatOfText(document, "ATZ in Courier"), styled("Courier New", 20));
    EXPECT_EQ(document.paragraphs[0].alignment, ParagraphAlignment::Left);
    EXPECT_EQ(document.paragraphs[1].alignment, ParagraphAlignment::Justify);
}

TEST(ThirdPartyRtf, Latex2rtfUnicodeCharactersAndNestedStyles) {
    const RichTextDocument document = fixture("latex2rtf_unicode.rtf");
    EXPECT_EQ(paragraphTexts(document), (Texts{"Czech \xc4\x8d\xc5\xa1\xc5\xbe and bold italic end. "}));
    EXPECT_EQ(formatOfText(document, "bold italic"), styled("Times New Roman", 20, true, true));
}

// Words separated by single blanks: unrtf writes a tab as blanks and a line end, and joins blanks.
std::string words(const std::string& text) {
    std::string result;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!blank) {
            result += c;
        } else if (!result.empty() && result.back() != ' ') {
            result += ' ';
        }
    }
    while (!result.empty() && result.back() == ' ') {
        result.pop_back();
    }
    return result;
}

// Our text as unrtf --text writes it: Latin-1, '?' for what Latin-1 lacks.
std::string asLatin1(const std::string& utf8) {
    std::string result;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = windows1252::decodeUtf8(utf8, i);
        result += c < 0x100 ? static_cast<char>(c) : '?';
    }
    return result;
}

TEST(ThirdPartyRtf, UnrtfReadsOurFilesToTheSameText) {
    test::TempFolder folder;
    // unrtf maps the bytes 0x80 to 0x9F of Windows-1252 wrongly (the euro sign comes out as '¬'),
    // so the texts keep to ASCII, Latin-1 and characters written as \uN.
    const std::vector<RichTextDocument> documents = {
        fixture("latex2rtf_styles.rtf"),
        documentOfPlainText(
            "Czech \xc4\x8d, Greek \xce\xa9, Han \xe4\xb8\xad; Latin-1 \xc3\xa4\xc3\x9f\xc3\xa9"),
        fixture("enscript_highlight.rtf"),
        documentOfPlainText("Line one\n\nafter an empty line\twith a tab\n{braces} \\ backslash"),
    };
    for (std::size_t i = 0; i < documents.size(); ++i) {
        const std::string path = folder.file("ours" + std::to_string(i) + ".rtf");
        ASSERT_TRUE(saveRichTextFile(path, documents[i]));
        const std::optional<std::string> text = test::unrtfText(path);
        if (!text) {
            GTEST_SKIP() << "unrtf is not installed (scripts/install-deps.sh installs it)";
        }
        EXPECT_EQ(words(*text), words(asLatin1(plainTextOf(documents[i])))) << i;
    }
    // Without tabs, every paragraph is a line of its own.
    const std::string path = folder.file("lines.rtf");
    ASSERT_TRUE(saveRichTextFile(path, documentOfPlainText("first\nsecond line\n\nfourth")));
    EXPECT_EQ(test::unrtfText(path).value_or(""), "first\nsecond line\n\nfourth\n");
}

} // namespace
} // namespace corvane
