#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// A formatted text as the notepad keeps it: paragraphs of runs, each run a piece of UTF-8 text
// in one character format. It is what the Rich Text Format reader produces and the writer takes,
// and what the window program turns into its text widget's document and back.

// The line break inside a paragraph (a soft break, "\line" in a file).
inline constexpr char32_t kLineBreak = 0x2028;

struct RichTextColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const RichTextColor&) const = default;
};

struct CharacterFormat {
    // Empty: the document's default font.
    std::string fontName;
    // Font size in half points; 0 leaves it to whoever shows the text.
    int halfPoints = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // None: the automatic colour (the window text colour).
    std::optional<RichTextColor> color;
    bool operator==(const CharacterFormat&) const = default;
};

// Text of one format. It holds no paragraph break; it may hold tabs and kLineBreak.
struct TextRun {
    std::string text;
    CharacterFormat format;
    bool operator==(const TextRun&) const = default;
};

enum class ParagraphAlignment { Left, Right, Center, Justify };

struct Paragraph {
    ParagraphAlignment alignment = ParagraphAlignment::Left;
    std::vector<TextRun> runs;
    bool operator==(const Paragraph&) const = default;
};

struct RichTextDocument {
    // The font that runs without a font name stand in; empty when the document names none.
    std::string defaultFontName;
    std::vector<Paragraph> paragraphs;
    bool operator==(const RichTextDocument&) const = default;
};

// The text without its formats: paragraphs and line breaks end with lineEnd (not the last
// paragraph), tabs stay tabs.
std::string plainTextOf(const RichTextDocument& document, std::string_view lineEnd = "\n");

// Builds a document piece by piece: adjacent text in the same format becomes one run and empty
// text adds nothing, so equal texts always give equal documents.
class RichTextBuilder {
public:
    void appendText(std::string_view utf8, const CharacterFormat& format);
    void appendCodePoint(char32_t codePoint, const CharacterFormat& format);
    // Ends the paragraph under way (an empty one too).
    void endParagraph(ParagraphAlignment alignment);
    // True when text was added since the last paragraph ended.
    bool paragraphHasText() const { return !current_.runs.empty(); }
    void setDefaultFontName(std::string name) { document_.defaultFontName = std::move(name); }
    // The document; a paragraph under way that holds text is ended first.
    RichTextDocument finish(ParagraphAlignment lastAlignment = ParagraphAlignment::Left);

private:
    RichTextDocument document_;
    Paragraph current_;
};

// A plain text as a document: lines end with CR LF, LF or CR; every line is a paragraph in the
// default format.
RichTextDocument documentOfPlainText(std::string_view utf8);

} // namespace corvane
