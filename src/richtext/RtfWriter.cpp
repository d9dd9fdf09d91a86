#include "richtext/RtfWriter.h"

#include "platform/Windows1252.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace corvane {

namespace {

// Text lines of the file are broken after about this many bytes (readers ignore the line ends).
constexpr std::size_t kLineLength = 240;

class Writer {
public:
    explicit Writer(const RichTextDocument& document) : document_(document) {}
    std::string write();

private:
    void collectFontsAndColors();
    void writeHeader();
    void writeParagraph(const Paragraph& paragraph);
    void switchFormat(const CharacterFormat& format);
    void writeText(const std::string& utf8, bool fontName);
    void writeCharacter(char32_t character, bool fontName);
    void writeUnicode(char32_t character);
    void word(const std::string& controlWord);
    void hexCharacter(int byte);
    void literal(char character);
    int fontNumber(const std::string& name) const { return fontNumbers_.at(name); }
    int colorNumber(const RichTextColor& color) const;

    const RichTextDocument& document_;
    std::vector<std::string> fonts_;
    std::map<std::string, int> fontNumbers_;
    std::vector<RichTextColor> colors_;
    CharacterFormat current_;
    std::string out_;
    std::size_t lineStart_ = 0;
    // The last thing written was a control word: text that follows needs a blank between.
    bool needDelimiter_ = false;
};

std::string Writer::write() {
    collectFontsAndColors();
    writeHeader();
    for (const Paragraph& paragraph : document_.paragraphs) {
        writeParagraph(paragraph);
    }
    out_ += "}\r\n";
    return std::move(out_);
}

void Writer::collectFontsAndColors() {
    auto addFont = [this](const std::string& name) {
        if (!name.empty() && fontNumbers_.count(name) == 0) {
            fontNumbers_[name] = static_cast<int>(fonts_.size());
            fonts_.push_back(name);
        }
    };
    addFont(document_.defaultFontName);
    for (const Paragraph& paragraph : document_.paragraphs) {
        for (const TextRun& run : paragraph.runs) {
            addFont(run.format.fontName);
            if (run.format.color &&
                std::find(colors_.begin(), colors_.end(), *run.format.color) == colors_.end()) {
                colors_.push_back(*run.format.color);
            }
        }
    }
}

int Writer::colorNumber(const RichTextColor& color) const {
    // Entry 0 of the table is the automatic colour.
    return static_cast<int>(std::find(colors_.begin(), colors_.end(), color) - colors_.begin()) + 1;
}

void Writer::writeHeader() {
    out_ = "{\\rtf1\\ansi\\ansicpg1252";
    if (!document_.defaultFontName.empty()) {
        out_ += "\\deff0";
    }
    out_ += "\\uc1";
    if (!fonts_.empty()) {
        out_ += "{\\fonttbl";
        for (std::size_t i = 0; i < fonts_.size(); ++i) {
            out_ += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
            needDelimiter_ = false;
            writeText(fonts_[i], true);
            out_ += ";}";
        }
        out_ += "}";
    }
    out_ += "\r\n";
    if (!colors_.empty()) {
        out_ += "{\\colortbl ;";
        for (const RichTextColor& color : colors_) {
            out_ += "\\red" + std::to_string(color.red) + "\\green" + std::to_string(color.green) + "\\blue" +
                    std::to_string(color.blue) + ";";
        }
        out_ += "}\r\n";
    }
    out_ += "{\\*\\generator Corvane;}\\viewkind4";
    lineStart_ = out_.rfind('\n') + 1;
    needDelimiter_ = true;
}

void Writer::writeParagraph(const Paragraph& paragraph) {
    word("\\pard");
    switch (paragraph.alignment) {
    case ParagraphAlignment::Left:
        break;
    case ParagraphAlignment::Right:
        word("\\qr");
        break;
    case ParagraphAlignment::Center:
        word("\\qc");
        break;
    case ParagraphAlignment::Justify:
        word("\\qj");
        break;
    }
    for (const TextRun& run : paragraph.runs) {
        switchFormat(run.format);
        writeText(run.text, false);
    }
    out_ += "\\par\r\n";
    lineStart_ = out_.size();
    needDelimiter_ = false;
}

void Writer::switchFormat(const CharacterFormat& format) {
    if (format == current_) {
        return;
    }
    // A font or size that goes back to the default can only be reset with everything else.
    if ((!current_.fontName.empty() && format.fontName.empty()) ||
        (current_.halfPoints > 0 && format.halfPoints == 0)) {
        word("\\plain");
        current_ = CharacterFormat{};
    }
    if (format.fontName != current_.fontName) {
        word("\\f" + std::to_string(fontNumber(format.fontName)));
    }
    if (format.halfPoints != current_.halfPoints) {
        word("\\fs" + std::to_string(format.halfPoints));
    }
    if (format.bold != current_.bold) {
        word(format.bold ? "\\b" : "\\b0");
    }
    if (format.italic != current_.italic) {
        word(format.italic ? "\\i" : "\\i0");
    }
    if (format.underline != current_.underline) {
        word(format.underline ? "\\ul" : "\\ulnone");
    }
    if (format.color != current_.color) {
        word("\\cf" + std::to_string(format.color ? colorNumber(*format.color) : 0));
    }
    current_ = format;
}

void Writer::writeText(const std::string& utf8, bool fontName) {
    std::size_t index = 0;
    while (index < utf8.size()) {
        if (!fontName && out_.size() - lineStart_ >= kLineLength) {
            out_ += "\r\n";
            lineStart_ = out_.size();
            // The line end ended the control word before it.
            needDelimiter_ = false;
        }
        writeCharacter(windows1252::decodeUtf8(utf8, index), fontName);
    }
}

void Writer::writeCharacter(char32_t character, bool fontName) {
    if (character == '\\' || character == '{' || character == '}') {
        out_ += '\\';
        out_ += static_cast<char>(character);
        needDelimiter_ = false;
    } else if (character == ';' && fontName) {
        hexCharacter(';');
    } else if (character == '\t' && !fontName) {
        word("\\tab");
    } else if (character == kLineBreak && !fontName) {
        word("\\line");
    } else if (character < 0x20) {
        // Control characters are no text.
    } else if (character < 0x7F) {
        literal(static_cast<char>(character));
    } else if (const int byte = windows1252::fromUnicode(character); byte >= 0x7F) {
        hexCharacter(byte);
    } else {
        writeUnicode(character);
    }
}

void Writer::writeUnicode(char32_t character) {
    auto unit = [this](unsigned value) {
        const int signedValue = value > 0x7FFF ? static_cast<int>(value) - 0x10000 : static_cast<int>(value);
        out_ += "\\u" + std::to_string(signedValue) + "?";
        needDelimiter_ = false;
    };
    if (character > 0xFFFF) {
        const unsigned offset = static_cast<unsigned>(character) - 0x10000;
        unit(0xD800 + (offset >> 10));
        unit(0xDC00 + (offset & 0x3FF));
    } else {
        unit(static_cast<unsigned>(character));
    }
}

void Writer::word(const std::string& controlWord) {
    out_ += controlWord;
    needDelimiter_ = true;
}

void Writer::hexCharacter(int byte) {
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\'%02x", byte & 0xFF);
    out_ += escaped;
    needDelimiter_ = false;
}

void Writer::literal(char character) {
    if (needDelimiter_) {
        out_ += ' ';
        needDelimiter_ = false;
    }
    out_ += character;
}

} // namespace

std::string writeRtf(const RichTextDocument& document) {
    return Writer(document).write();
}

} // namespace corvane
