#pragma once

#include <string_view>

namespace corvane {

// The Rich Text Format control words the reader acts on, by name. Every other word is Unknown and
// changes nothing; the destinations whose contents are never text share one value.
enum class RtfWord {
    Unknown,
    // Destinations.
    FontTable,
    ColorTable,
    SkippedDestination,
    TextDestination,
    // Character format.
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    FontSize,
    Font,
    ForegroundColor,
    Plain,
    // Paragraph format.
    ParagraphDefault,
    AlignLeft,
    AlignRight,
    AlignCenter,
    AlignJustify,
    // Breaks.
    Par,
    Sect,
    Page,
    Row,
    // Characters.
    Line,
    Tab,
    Cell,
    EmDash,
    EnDash,
    Bullet,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    EmSpace,
    EnSpace,
    QuarterEmSpace,
    Unicode,
    UnicodeSkip,
    // Header and binary data.
    DefaultFont,
    Red,
    Green,
    Blue,
    Bin,
};

RtfWord rtfWordOf(std::string_view name);

// A destination whose contents are skipped (pictures, objects, style sheets, document
// information, field instructions, headers and footers, ...).
inline bool isSkippedDestination(RtfWord word) {
    return word == RtfWord::SkippedDestination;
}

// A destination whose contents are text even after "\*" (field results, list numbers).
inline bool isKeptDestination(RtfWord word) {
    return word == RtfWord::TextDestination;
}

// The character a word stands for (line break, tab, dashes, quotes, spaces); 0 for any other.
char32_t characterOfWord(RtfWord word);

} // namespace corvane
