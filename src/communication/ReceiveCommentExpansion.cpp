#include "communication/ReceiveCommentExpansion.h"

#include <cctype>
#include <cstdint>
#include <limits>

namespace corvane {

namespace {

void replaceAll(std::string& text, std::string_view code, std::string_view replacement) {
    std::size_t position = 0;
    while ((position = text.find(code, position)) != std::string::npos) {
        text.replace(position, code.size(), replacement);
        position += replacement.size();
    }
}

// The leading number of a text (blanks skipped, an optional sign); 0 when there is none. Values
// beyond 32 bits are held at the limit.
std::int32_t leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) {
            value = std::numeric_limits<std::int32_t>::max();
        }
        ++i;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

bool representationOfLetter(char letter, Representation& representation) {
    switch (std::toupper(static_cast<unsigned char>(letter))) {
    case 'A':
        representation = Representation::ASCII;
        return true;
    case 'H':
        representation = Representation::HEX;
        return true;
    case 'D':
        representation = Representation::Decimal;
        return true;
    case 'B':
        representation = Representation::Binary;
        return true;
    default:
        return false;
    }
}

} // namespace

std::string expandReceiveComment(std::string_view comment, const ClSequence& history, int direction,
                                 std::string_view timeStamp) {
    std::string text(comment);
    replaceAll(text, "%_L", "\r\n");
    replaceAll(text, "%_T", timeStamp);
    replaceAll(text, "%_C", std::to_string(direction + 1));

    ClSequence part;
    std::size_t position = 0;
    while ((position = text.find("%_", position)) != std::string::npos) {
        Representation representation = Representation::ASCII;
        if (position + 2 >= text.size() || !representationOfLetter(text[position + 2], representation)) {
            position += 2;
            continue;
        }
        std::size_t codeEnd = position + 3;
        const ClSequence* source = &history;
        if (codeEnd < text.size() && text[codeEnd] == '(') {
            std::size_t comma = text.find(',', codeEnd + 1);
            std::size_t close = comma == std::string::npos ? std::string::npos : text.find(')', comma + 1);
            if (close == std::string::npos) {
                position += 2;
                continue;
            }
            std::int32_t start =
                leadingNumber(std::string_view(text).substr(codeEnd + 1, comma - codeEnd - 1));
            std::int32_t length = leadingNumber(std::string_view(text).substr(comma + 1, close - comma - 1));
            history.getPartAlt(part, start, length);
            source = &part;
            codeEnd = close + 1;
        }
        std::string replacement = source->getClipboardText(representation);
        text.replace(position, codeEnd - position, replacement);
        position += replacement.size();
    }
    return text;
}

} // namespace corvane
