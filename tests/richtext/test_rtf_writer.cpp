// The Rich Text Format writer, and round trips writer -> reader.
#include "RichTextTestSupport.h"

#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using test::styled;

RichTextDocument documentOf(std::vector<std::vector<TextRun>> paragraphs,
                            ParagraphAlignment alignment = ParagraphAlignment::Left) {
    RichTextDocument document;
    for (auto& runs : paragraphs) {
        document.paragraphs.push_back(Paragraph{alignment, std::move(runs)});
    }
    return document;
}

TEST(RtfWriter, WritesTablesFormatsAndParagraphsAsReadersExpectThem) {
    RichTextDocument document =
        documentOf({{{"Plain ", styled("Arial", 20)},
                     {"bold", styled("Arial", 20, true)},
                     {" red", styled("Arial", 20, false, false, false, RichTextColor{255, 0, 0})},
                     {" big italic", styled("Courier New", 36, false, true)},
                     {" underlined", styled("Courier New", 36, false, false, true)}},
                    {{"second", styled("Arial", 20)}}});
    document.defaultFontName = "Arial";
    document.paragraphs[1].alignment = ParagraphAlignment::Center;
    const std::string rtf = writeRtf(document);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                        "{\\f1\\fnil\\fcharset0 Courier New;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n",
                        0),
              0u)
        << rtf;
    EXPECT_NE(rtf.find("\\pard\\f0\\fs20 Plain \\b bold\\b0\\cf1  red\\f1\\fs36\\i\\cf0  big italic\\i0\\ul  "
                       "underlined\\par\r\n"),
              std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("\\pard\\qc\\f0\\fs20\\ulnone second\\par\r\n}\r\n"), std::string::npos) << rtf;
    // Seven-bit text whose lines end with CR LF.
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        ASSERT_LT(static_cast<unsigned char>(rtf[i]), 0x80u) << i;
        if (rtf[i] == '\n') {
            ASSERT_EQ(rtf[i - 1], '\r') << i;
        }
    }
}

TEST(RtfWriter, CharactersAbove127AreEscapedForWindows1252OrAsUnicode) {
    const std::string rtf = writeRtf(documentOf({{{"\xc3\xa4\xe2\x82\xac\xc4\x8d\xf0\x9f\x98\x80{\\}\t"
                                                   "a\xe2\x80\xa8"
                                                   "b\x7f",
                                                   CharacterFormat{}}}}));
    EXPECT_NE(rtf.find("\\pard\\'e4\\'80\\u269?\\u-10179?\\u-8704?\\{\\\\\\}\\tab a\\line b\\'7f\\par"),
              std::string::npos)
        << rtf;
    // Control characters are no text and go nowhere.
    EXPECT_EQ(plainTextOf(readRtf(writeRtf(documentOf({{{"a\x01\x1f"
                                                         "b",
                                                         CharacterFormat{}}}})))),
              "ab");
}

TEST(RtfWriter, AFormatGoingBackToTheDefaultFontOrSizeStartsFromPlain) {
    const std::string rtf =
        writeRtf(documentOf({{{"sized", styled("Arial", 30, true)}, {"default", styled("", 0, true)}}}));
    EXPECT_NE(rtf.find("sized\\plain\\b default"), std::string::npos) << rtf;
}

TEST(RtfWriter, LongTextIsBrokenIntoLinesThatReadBackAsOne) {
    const std::string text(1000, 'x');
    const std::string rtf = writeRtf(documentOf({{{text, CharacterFormat{}}}}));
    std::size_t longest = 0;
    std::size_t start = 0;
    for (std::size_t end = rtf.find("\r\n"); end != std::string::npos; end = rtf.find("\r\n", start)) {
        longest = std::max(longest, end - start);
        start = end + 2;
    }
    EXPECT_LE(longest, 260u);
    EXPECT_EQ(plainTextOf(readRtf(rtf)), text);
}

// Documents that must come back from writer -> reader as they went in.
struct RoundTrip {
    const char* name;
    RichTextDocument document;
};

std::vector<RoundTrip> roundTrips() {
    std::vector<RoundTrip> cases;
    cases.push_back({"empty", RichTextDocument{}});
    cases.push_back({"one empty paragraph", documentOf({{}})});
    cases.push_back({"empty paragraphs between and after", documentOf({{{"a", CharacterFormat{}}}, {}, {}})});
    cases.push_back({"styles", documentOf({{{"n", styled("Arial", 20)},
                                            {"b", styled("Arial", 20, true)},
                                            {"bi", styled("Arial", 20, true, true)},
                                            {"biu", styled("Arial", 20, true, true, true)},
                                            {"u", styled("Arial", 20, false, false, true)},
                                            {"big", styled("Arial", 3276)},
                                            {"tiny", styled("Arial", 1)}}})});
    cases.push_back(
        {"fonts and colours",
         documentOf({{{"courier", styled("Courier New", 24)},
                      {"black", styled("Courier New", 24, false, false, false, RichTextColor{0, 0, 0})},
                      {"auto", styled("Courier New", 24)},
                      {"odd name", styled("A{b}\\c;d \xc3\xa8\xc4\x8d", 24)},
                      {"default font", styled("", 24)},
                      {"default size", styled("", 0, false, false, false, RichTextColor{1, 2, 3})}}})});
    cases.push_back(
        {"characters", documentOf({{{"\t\xe2\x80\xa8{}\\ \xc2\xa0\xe2\x82\xac\xc5\xbe\xce\xa9\xe4\xb8\xad"
                                     "\xf0\x9f\x98\x80\xef\xbf\xbd\x7f",
                                     CharacterFormat{}}}})});
    cases.push_back({"alignments", documentOf({{{"r", CharacterFormat{}}}, {{"j", CharacterFormat{}}}},
                                              ParagraphAlignment::Right)});
    RichTextDocument withDefault = documentOf({{{"x", styled("", 20)}, {"y", styled("Times", 20)}}});
    withDefault.defaultFontName = "Times";
    cases.push_back({"default font named", withDefault});
    RichTextDocument unusedDefault = documentOf({{{"x", CharacterFormat{}}}});
    unusedDefault.defaultFontName = "Arial";
    cases.push_back({"default font only in the header", unusedDefault});
    return cases;
}

TEST(RtfWriter, WriterThenReaderGivesTheSameDocument) {
    for (const RoundTrip& roundTrip : roundTrips()) {
        const std::string rtf = writeRtf(roundTrip.document);
        EXPECT_EQ(readRtf(rtf), roundTrip.document) << roundTrip.name << "\n" << rtf;
        // Writing what was read gives the same file again.
        EXPECT_EQ(writeRtf(readRtf(rtf)), rtf) << roundTrip.name;
    }
}

} // namespace
} // namespace corvane
