// Fuzzes the Rich Text Format reader with any byte content, as the notepad meets it in a ".ptn"
// file. Whatever the bytes, the reader gives a well-formed document (valid UTF-8, no empty runs,
// no line ends or control characters in the text, sizes in range), the writer turns it into
// seven-bit text, and reading that back gives the same document: a crash, a hang, a sanitizer
// report or a broken invariant is a fault.
#include "FuzzCheck.h"
#include "platform/Windows1252.h"
#include "richtext/RichTextFile.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace corvane;

namespace {

void checkText(const std::string& text) {
    check(!text.empty(), "an empty run");
    std::string again;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = windows1252::decodeUtf8(text, i);
        check(c >= 0x20 || c == '\t', "a control character in the text");
        check(c != 0x2029, "a paragraph separator inside a paragraph");
        windows1252::appendUtf8(again, c);
    }
    check(again == text, "text that is not valid UTF-8");
}

void checkDocument(const RichTextDocument& document) {
    for (const Paragraph& paragraph : document.paragraphs) {
        for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
            const TextRun& run = paragraph.runs[i];
            checkText(run.text);
            check(run.format.halfPoints >= 0 && run.format.halfPoints <= 3276, "a size out of range");
            check(i == 0 || !(paragraph.runs[i - 1].format == run.format),
                  "two runs in one format side by side");
        }
    }
}

void checkRoundTrip(const RichTextDocument& document) {
    const std::string rtf = writeRtf(document);
    for (char c : rtf) {
        check(static_cast<unsigned char>(c) < 0x80, "the writer wrote a byte above 127");
    }
    check(readRtf(rtf) == document, "the written document read back different");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RichTextDocument document = readRtf(bytes);
    checkDocument(document);
    checkRoundTrip(document);
    // The same bytes as a notepad file: plain text when they aren't Rich Text Format.
    const RichTextDocument file = richTextOfFileContents(bytes);
    checkDocument(file);
    checkRoundTrip(file);
    return 0;
}
