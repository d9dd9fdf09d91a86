#include "richtext/RtfReader.h"

#include "platform/Windows1252.h"
#include "richtext/RtfControlWords.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

namespace {

// Deeper groups than this are counted, not kept: their contents go on in the state of the last
// group kept.
constexpr std::size_t kMaxDepth = 4096;
// Bytes of a control word's name that are read; a longer name is an unknown word.
constexpr std::size_t kMaxWordLength = 32;
// The largest font size a word processor offers (1638 points), in half points.
constexpr int kMaxHalfPoints = 3276;
// \ucN beyond this would swallow the text after every Unicode character.
constexpr int kMaxUnicodeSkip = 16;

enum class Destination : std::uint8_t { Text, FontTable, ColorTable, Skip };

struct GroupState {
    Destination destination = Destination::Text;
    int fontIndex = -1;
    int halfPoints = 0;
    int colorIndex = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // "\*" opened this group: an unknown control word after it skips the group.
    bool starred = false;
    ParagraphAlignment alignment = ParagraphAlignment::Left;
    int unicodeSkip = 1;
};

class Reader {
public:
    explicit Reader(std::string_view data) : data_(data) {}
    RichTextDocument read();

private:
    void openGroup();
    void closeGroup();
    void readControl();
    void readControlWord();
    void readHexCharacter();
    void controlWord(std::string_view word, bool hasParameter, int parameter);
    void controlSymbol(char symbol);
    bool changeFormat(RtfWord word, bool hasParameter, int parameter);
    void startDestination(RtfWord word);
    void textByte(std::uint8_t byte);
    void unicodeCharacter(int parameter);
    void codePoint(char32_t value);
    void endParagraph();
    void flushText();
    void dropLoneSurrogate();
    void commitFont();
    void commitColor();
    bool skipping() const { return state_.destination == Destination::Skip; }

    std::string_view data_;
    std::size_t pos_ = 0;
    bool finished_ = false;
    // The data began with the group that holds the document.
    bool documentGroup_ = false;
    bool contentSeen_ = false;
    GroupState state_;
    std::vector<GroupState> stack_;
    std::size_t overflowDepth_ = 0;
    // Characters still to skip after a Unicode character (its fallback).
    int pendingSkip_ = 0;
    char32_t highSurrogate_ = 0;

    std::map<int, std::string> fonts_;
    std::optional<int> fontEntry_;
    std::string fontName_;
    int defaultFont_ = -1;
    std::vector<std::optional<RichTextColor>> colors_;
    int colorParts_[3] = {0, 0, 0};
    bool colorGiven_ = false;

    std::string text_;
    RichTextBuilder builder_;
};

int clampParameter(long long value, int low, int high) {
    return static_cast<int>(std::clamp<long long>(value, low, high));
}

std::string trimmedBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::string();
    }
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

RichTextDocument Reader::read() {
    while (pos_ < data_.size() && !finished_) {
        const auto byte = static_cast<std::uint8_t>(data_[pos_]);
        switch (byte) {
        case '{':
            ++pos_;
            openGroup();
            break;
        case '}':
            ++pos_;
            closeGroup();
            break;
        case '\\':
            ++pos_;
            readControl();
            break;
        case '\r':
        case '\n':
            // Line ends in the file are no part of the text.
            ++pos_;
            break;
        default:
            ++pos_;
            textByte(byte);
            break;
        }
    }
    dropLoneSurrogate();
    flushText();
    commitFont();
    builder_.setDefaultFontName(fonts_.count(defaultFont_) != 0 ? fonts_[defaultFont_] : std::string());
    return builder_.finish(state_.alignment);
}

void Reader::openGroup() {
    dropLoneSurrogate();
    flushText();
    pendingSkip_ = 0;
    if (stack_.empty() && !contentSeen_) {
        documentGroup_ = true;
    }
    contentSeen_ = true;
    if (stack_.size() >= kMaxDepth) {
        ++overflowDepth_;
        return;
    }
    stack_.push_back(state_);
    state_.starred = false;
}

void Reader::closeGroup() {
    dropLoneSurrogate();
    flushText();
    pendingSkip_ = 0;
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return;
    }
    if (stack_.empty()) {
        return;
    }
    if (state_.destination == Destination::FontTable) {
        commitFont();
    } else if (state_.destination == Destination::ColorTable && colorGiven_) {
        commitColor();
    }
    state_ = stack_.back();
    stack_.pop_back();
    // The outermost group holds the document; what follows it is no part of it.
    finished_ = stack_.empty() && documentGroup_;
}

void Reader::readControl() {
    if (pos_ >= data_.size()) {
        return;
    }
    const char next = data_[pos_];
    if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) {
        readControlWord();
    } else if (next == '\'') {
        ++pos_;
        readHexCharacter();
    } else {
        ++pos_;
        controlSymbol(next);
    }
}

void Reader::readControlWord() {
    const std::size_t start = pos_;
    while (pos_ < data_.size() &&
           ((data_[pos_] >= 'a' && data_[pos_] <= 'z') || (data_[pos_] >= 'A' && data_[pos_] <= 'Z'))) {
        ++pos_;
    }
    std::string_view word = data_.substr(start, pos_ - start);
    if (word.size() > kMaxWordLength) {
        word = std::string_view();
    }
    bool negative = false;
    if (pos_ + 1 < data_.size() && data_[pos_] == '-' && data_[pos_ + 1] >= '0' && data_[pos_ + 1] <= '9') {
        negative = true;
        ++pos_;
    }
    bool hasParameter = false;
    long long value = 0;
    while (pos_ < data_.size() && data_[pos_] >= '0' && data_[pos_] <= '9') {
        hasParameter = true;
        value = std::min<long long>(value * 10 + (data_[pos_] - '0'), std::numeric_limits<int>::max());
        ++pos_;
    }
    if (pos_ < data_.size() && data_[pos_] == ' ') {
        ++pos_;
    }
    const int parameter = static_cast<int>(negative ? -value : value);
    if (pendingSkip_ > 0) {
        // A control word is one character of a Unicode character's fallback; only \bin's data
        // must still be passed over.
        --pendingSkip_;
        if (word != "bin") {
            return;
        }
    }
    controlWord(word, hasParameter, parameter);
}

void Reader::readHexCharacter() {
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos_ < data_.size()) {
        const char c = data_[pos_];
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            break;
        }
        value = value * 16 + digit;
        ++digits;
        ++pos_;
    }
    if (pendingSkip_ > 0) {
        --pendingSkip_;
        return;
    }
    if (digits > 0) {
        codePoint(windows1252::toUnicode(static_cast<std::uint8_t>(value)));
    }
}

void Reader::controlSymbol(char symbol) {
    if (pendingSkip_ > 0) {
        --pendingSkip_;
        return;
    }
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        textByte(static_cast<std::uint8_t>(symbol));
        break;
    case '~':
        codePoint(0x00A0);
        break;
    case '_':
        codePoint(0x2011);
        break;
    case '*':
        state_.starred = true;
        break;
    case '\r':
    case '\n':
        endParagraph();
        break;
    case '\t':
        codePoint('\t');
        break;
    default:
        // Optional hyphens, index entry separators and formula characters show nothing.
        break;
    }
}

void Reader::controlWord(std::string_view name, bool hasParameter, int parameter) {
    flushText();
    const RtfWord word = rtfWordOf(name);
    if (word == RtfWord::Bin) {
        const std::size_t count = parameter > 0 ? static_cast<std::size_t>(parameter) : 0;
        pos_ += std::min(count, data_.size() - pos_);
        return;
    }
    if (skipping()) {
        return;
    }
    if (state_.starred) {
        state_.starred = false;
        if (!isKeptDestination(word)) {
            state_.destination = Destination::Skip;
            return;
        }
    }
    if (isSkippedDestination(word)) {
        state_.destination = Destination::Skip;
        return;
    }
    if (word == RtfWord::FontTable || word == RtfWord::ColorTable) {
        startDestination(word);
        return;
    }
    if (state_.destination == Destination::FontTable) {
        if (word == RtfWord::Font && hasParameter) {
            commitFont();
            fontEntry_ = parameter;
        } else if (word == RtfWord::Unicode) {
            unicodeCharacter(parameter);
        } else if (word == RtfWord::UnicodeSkip) {
            state_.unicodeSkip = clampParameter(parameter, 0, kMaxUnicodeSkip);
        }
        return;
    }
    if (state_.destination == Destination::ColorTable) {
        const int part = word == RtfWord::Red     ? 0
                         : word == RtfWord::Green ? 1
                         : word == RtfWord::Blue  ? 2
                                                  : -1;
        if (part >= 0) {
            colorParts_[part] = clampParameter(parameter, 0, 255);
            colorGiven_ = true;
        }
        return;
    }
    if (changeFormat(word, hasParameter, parameter)) {
        return;
    }
    if (const char32_t character = characterOfWord(word); character != 0) {
        codePoint(character);
        return;
    }
    switch (word) {
    case RtfWord::Par:
    case RtfWord::Sect:
    case RtfWord::Page:
    case RtfWord::Row:
        endParagraph();
        break;
    case RtfWord::Unicode:
        unicodeCharacter(parameter);
        break;
    case RtfWord::UnicodeSkip:
        state_.unicodeSkip = clampParameter(parameter, 0, kMaxUnicodeSkip);
        break;
    case RtfWord::DefaultFont:
        defaultFont_ = parameter;
        break;
    default:
        break;
    }
}

bool Reader::changeFormat(RtfWord word, bool hasParameter, int parameter) {
    const bool on = !hasParameter || parameter != 0;
    switch (word) {
    case RtfWord::Bold:
        state_.bold = on;
        return true;
    case RtfWord::Italic:
        state_.italic = on;
        return true;
    case RtfWord::Underline:
        state_.underline = on;
        return true;
    case RtfWord::UnderlineNone:
        state_.underline = false;
        return true;
    case RtfWord::FontSize:
        state_.halfPoints = parameter > 0 ? std::min(parameter, kMaxHalfPoints) : 0;
        return true;
    case RtfWord::Font:
        state_.fontIndex = hasParameter ? parameter : -1;
        return true;
    case RtfWord::ForegroundColor:
        state_.colorIndex = parameter;
        return true;
    case RtfWord::Plain:
        state_.bold = state_.italic = state_.underline = false;
        state_.halfPoints = 0;
        state_.fontIndex = -1;
        state_.colorIndex = 0;
        return true;
    case RtfWord::ParagraphDefault:
        state_.alignment = ParagraphAlignment::Left;
        return true;
    case RtfWord::AlignLeft:
        state_.alignment = ParagraphAlignment::Left;
        return true;
    case RtfWord::AlignRight:
        state_.alignment = ParagraphAlignment::Right;
        return true;
    case RtfWord::AlignCenter:
        state_.alignment = ParagraphAlignment::Center;
        return true;
    case RtfWord::AlignJustify:
        state_.alignment = ParagraphAlignment::Justify;
        return true;
    default:
        return false;
    }
}

void Reader::startDestination(RtfWord word) {
    if (word == RtfWord::FontTable) {
        state_.destination = Destination::FontTable;
        fontEntry_.reset();
        fontName_.clear();
    } else {
        state_.destination = Destination::ColorTable;
        colors_.clear();
        colorGiven_ = false;
        colorParts_[0] = colorParts_[1] = colorParts_[2] = 0;
    }
}

void Reader::textByte(std::uint8_t byte) {
    if (pendingSkip_ > 0) {
        --pendingSkip_;
        return;
    }
    switch (state_.destination) {
    case Destination::Skip:
        return;
    case Destination::FontTable:
        if (byte == ';') {
            commitFont();
        } else {
            codePoint(windows1252::toUnicode(byte));
        }
        return;
    case Destination::ColorTable:
        if (byte == ';') {
            commitColor();
        }
        return;
    case Destination::Text:
        if (byte >= 0x20 && byte < 0x80 && highSurrogate_ == 0) {
            contentSeen_ = contentSeen_ || byte != ' ';
            text_.push_back(static_cast<char>(byte));
        } else {
            codePoint(windows1252::toUnicode(byte));
        }
        return;
    }
}

void Reader::unicodeCharacter(int parameter) {
    long long value = parameter;
    if (value < 0) {
        value += 0x10000;
    }
    pendingSkip_ = state_.unicodeSkip;
    if (value < 0 || value > 0x10FFFF) {
        codePoint(0xFFFD);
        return;
    }
    const auto unit = static_cast<char32_t>(value);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        if (highSurrogate_ != 0) {
            codePoint(0xFFFD);
        }
        highSurrogate_ = unit;
        return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (highSurrogate_ != 0) {
            const char32_t combined = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
            highSurrogate_ = 0;
            codePoint(combined);
        } else {
            codePoint(0xFFFD);
        }
        return;
    }
    codePoint(unit);
}

void Reader::codePoint(char32_t value) {
    dropLoneSurrogate();
    if (value < 0x20 && value != '\t') {
        return;
    }
    switch (state_.destination) {
    case Destination::Skip:
    case Destination::ColorTable:
        return;
    case Destination::FontTable:
        if (value != '\t') {
            windows1252::appendUtf8(fontName_, value);
        }
        return;
    case Destination::Text:
        contentSeen_ = true;
        if (value == 0x2029) {
            endParagraph();
        } else {
            windows1252::appendUtf8(text_, value);
        }
        return;
    }
}

void Reader::endParagraph() {
    if (state_.destination != Destination::Text) {
        return;
    }
    dropLoneSurrogate();
    flushText();
    builder_.endParagraph(state_.alignment);
}

void Reader::dropLoneSurrogate() {
    if (highSurrogate_ != 0) {
        // A high surrogate that no low one followed.
        highSurrogate_ = 0;
        codePoint(0xFFFD);
    }
}

void Reader::flushText() {
    if (text_.empty()) {
        return;
    }
    CharacterFormat format;
    if (auto font = fonts_.find(state_.fontIndex); state_.fontIndex >= 0 && font != fonts_.end()) {
        format.fontName = font->second;
    }
    format.halfPoints = state_.halfPoints;
    format.bold = state_.bold;
    format.italic = state_.italic;
    format.underline = state_.underline;
    if (state_.colorIndex >= 0 && static_cast<std::size_t>(state_.colorIndex) < colors_.size()) {
        format.color = colors_[static_cast<std::size_t>(state_.colorIndex)];
    }
    builder_.appendText(text_, format);
    text_.clear();
}

void Reader::commitFont() {
    if (fontEntry_) {
        fonts_[*fontEntry_] = trimmedBlanks(fontName_);
    }
    fontEntry_.reset();
    fontName_.clear();
}

void Reader::commitColor() {
    if (colorGiven_) {
        colors_.push_back(RichTextColor{static_cast<std::uint8_t>(colorParts_[0]),
                                        static_cast<std::uint8_t>(colorParts_[1]),
                                        static_cast<std::uint8_t>(colorParts_[2])});
    } else {
        colors_.push_back(std::nullopt);
    }
    colorGiven_ = false;
    colorParts_[0] = colorParts_[1] = colorParts_[2] = 0;
}

} // namespace

RichTextDocument readRtf(std::string_view data) {
    return Reader(data).read();
}

bool looksLikeRtf(std::string_view data) {
    if (data.substr(0, 3) == "\xEF\xBB\xBF") {
        data.remove_prefix(3);
    }
    const std::size_t start = data.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && data.substr(start, 5) == "{\\rtf";
}

} // namespace corvane
