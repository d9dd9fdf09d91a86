#pragma once

#include "richtext/RichTextDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane::test {

// The text of every paragraph; line breaks inside a paragraph read as '\n'.
inline std::vector<std::string> paragraphTexts(const RichTextDocument& document) {
    std::vector<std::string> texts;
    for (const Paragraph& paragraph : document.paragraphs) {
        RichTextDocument single;
        single.paragraphs.push_back(paragraph);
        texts.push_back(plainTextOf(single));
    }
    return texts;
}

// The format of the run that holds the text; fails the test when no single run holds it.
inline CharacterFormat formatOfText(const RichTextDocument& document, const std::string& text) {
    for (const Paragraph& paragraph : document.paragraphs) {
        for (const TextRun& run : paragraph.runs) {
            if (run.text.find(text) != std::string::npos) {
                return run.format;
            }
        }
    }
    ADD_FAILURE() << "no run holds \"" << text << "\"";
    return CharacterFormat{};
}

inline CharacterFormat styled(std::string font, int halfPoints, bool bold = false, bool italic = false,
                              bool underline = false, std::optional<RichTextColor> color = std::nullopt) {
    CharacterFormat format;
    format.fontName = std::move(font);
    format.halfPoints = halfPoints;
    format.bold = bold;
    format.italic = italic;
    format.underline = underline;
    format.color = color;
    return format;
}

} // namespace corvane::test

namespace corvane {

// Formats in test failure messages.
inline void PrintTo(const CharacterFormat& format, std::ostream* out) {
    *out << "{font '" << format.fontName << "' " << format.halfPoints << (format.bold ? " bold" : "")
         << (format.italic ? " italic" : "") << (format.underline ? " underline" : "");
    if (format.color) {
        *out << " rgb(" << int(format.color->red) << "," << int(format.color->green) << ","
             << int(format.color->blue) << ")";
    }
    *out << "}";
}

} // namespace corvane
