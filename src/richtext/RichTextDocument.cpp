#include "richtext/RichTextDocument.h"

#include "platform/Windows1252.h"

namespace corvane {

std::string plainTextOf(const RichTextDocument& document, std::string_view lineEnd) {
    std::string text;
    bool first = true;
    for (const Paragraph& paragraph : document.paragraphs) {
        if (!first) {
            text += lineEnd;
        }
        first = false;
        for (const TextRun& run : paragraph.runs) {
            std::size_t index = 0;
            while (index < run.text.size()) {
                const std::size_t start = index;
                const char32_t c = windows1252::decodeUtf8(run.text, index);
                if (c == kLineBreak) {
                    text += lineEnd;
                } else {
                    text.append(run.text, start, index - start);
                }
            }
        }
    }
    return text;
}

void RichTextBuilder::appendText(std::string_view utf8, const CharacterFormat& format) {
    if (utf8.empty()) {
        return;
    }
    if (current_.runs.empty() || !(current_.runs.back().format == format)) {
        current_.runs.push_back(TextRun{std::string(), format});
    }
    current_.runs.back().text.append(utf8);
}

void RichTextBuilder::appendCodePoint(char32_t codePoint, const CharacterFormat& format) {
    std::string utf8;
    windows1252::appendUtf8(utf8, codePoint);
    appendText(utf8, format);
}

void RichTextBuilder::endParagraph(ParagraphAlignment alignment) {
    current_.alignment = alignment;
    document_.paragraphs.push_back(std::move(current_));
    current_ = Paragraph{};
}

RichTextDocument RichTextBuilder::finish(ParagraphAlignment lastAlignment) {
    if (paragraphHasText()) {
        endParagraph(lastAlignment);
    }
    RichTextDocument result = std::move(document_);
    document_ = RichTextDocument{};
    current_ = Paragraph{};
    return result;
}

RichTextDocument documentOfPlainText(std::string_view utf8) {
    RichTextBuilder builder;
    const CharacterFormat plain;
    std::size_t segmentStart = 0;
    bool lineOpen = false;
    for (std::size_t index = 0; index < utf8.size(); ++index) {
        const auto c = static_cast<unsigned char>(utf8[index]);
        if (c >= 0x20 || c == '\t') {
            lineOpen = true;
            continue;
        }
        // A line end or another control character: what came before is text, the character is not.
        builder.appendText(utf8.substr(segmentStart, index - segmentStart), plain);
        segmentStart = index + 1;
        if (c == '\n' || c == '\r') {
            builder.endParagraph(ParagraphAlignment::Left);
            lineOpen = false;
            if (c == '\r' && index + 1 < utf8.size() && utf8[index + 1] == '\n') {
                ++index;
                segmentStart = index + 1;
            }
        }
    }
    builder.appendText(utf8.substr(segmentStart), plain);
    if (lineOpen) {
        builder.endParagraph(ParagraphAlignment::Left);
    }
    return builder.finish();
}

} // namespace corvane
