#include "sequences/SequenceNotation.h"

#include "platform/InternalError.h"
#include "sequences/CharacterRepresentation.h"
#include "sequences/Windows1252.h"

#include <array>
#include <string>

namespace corvane {

namespace {

// Special forms, built once: forms[symbol][index] with index 1 to 3 the main form and 5 to 7 the
// repeated form of HEX, Decimal and Binary.
struct SpecialFormTable {
    std::array<std::array<std::string, 8>, 6> forms;
    SpecialFormTable() {
        for (std::size_t s = 0; s < 6; ++s) {
            const char symbol = specialSymbol(kSpecialCodes[s]);
            forms[s][1] = std::string(1, symbol) + " ";
            forms[s][2] = std::string(" ") + symbol + " ";
            forms[s][3] = std::string("   ") + symbol + "    ";
            forms[s][5] = std::string(2, symbol);
            forms[s][6] = std::string(3, symbol);
            forms[s][7] = std::string(8, symbol);
        }
    }
};

const SpecialFormTable& specialForms() {
    static const SpecialFormTable table;
    return table;
}

bool isValidDigit(char32_t c, Representation representation) {
    switch (representation) {
    case Representation::ASCII:
        return true;
    case Representation::HEX:
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    case Representation::Decimal:
        return c >= '0' && c <= '9';
    case Representation::Binary:
        return c == '0' || c == '1';
    }
    return false;
}

bool isLetterOrDigit(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

CharCode specialCodeFromToken(std::string_view token, Representation representation) {
    const int r = static_cast<int>(representation);
    if (r < 1 || r > 3) {
        return -1;
    }
    const SpecialFormTable& table = specialForms();
    for (std::size_t s = 0; s < 6; ++s) {
        if (token == table.forms[s][r] || token == table.forms[s][r + 4]) {
            return kSpecialCodes[s];
        }
    }
    return -1;
}

bool GetSequenceCharacterFromString(std::string_view text, std::size_t& position, CharCode& code,
                                    Representation representation) {
    const std::size_t length = text.size();
    if (position < 1 || position > length) {
        reportInternalError(kErrorOutOfRange,
                            "GetSequenceCharacterFromString: pos must be between 1 and len(sourceText)",
                            kCommonFunctionModule);
    }
    const std::size_t width = static_cast<std::size_t>(representationWidth(representation));
    if (width == 0) {
        reportInternalError(kErrorIllegalValue,
                            "GetSequenceCharacterFromString: Illegal representation value",
                            kCommonFunctionModule);
    }

    if (representation == Representation::ASCII) {
        std::size_t index = position - 1;
        const int byte = windows1252::fromUnicode(windows1252::decodeUtf8(text, index));
        code = static_cast<CharCode>(byte < 0 ? 63 : byte);
        position = index + 1;
        return true;
    }

    code = -1;
    while (position + width - 1 <= length) {
        const std::size_t start = position - 1;
        const std::size_t after = start + width;
        const bool aloneBefore =
            start == 0 || isWhitespaceCharacter(static_cast<unsigned char>(text[start - 1]));
        const bool aloneAfter =
            after == length || isWhitespaceCharacter(static_cast<unsigned char>(text[after]));
        if (aloneBefore && aloneAfter) {
            const std::string_view token = text.substr(start, width);
            code = specialCodeFromToken(token, representation);
            if (code == -1) {
                code = readCharacterValue(token, representation);
            }
            if (code != -1) {
                position += width;
                return true;
            }
        }
        ++position;
    }
    position = length + 1;
    return false;
}

LineSeparator classifyLineSeparator(std::string_view line, Representation representation) {
    LineSeparator result;
    bool prevValid = true;
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t begin = i;
        const char32_t c = windows1252::decodeUtf8(line, i);
        if (isValidDigit(c, representation)) {
            prevValid = true;
            continue;
        }
        if (!isLetterOrDigit(c)) {
            const std::string_view character = line.substr(begin, i - begin);
            const bool last = i >= line.size();
            if (prevValid && result.kind == LineSeparator::Kind::None) {
                if (!last) {
                    result.kind = LineSeparator::Kind::Character;
                    result.character = character;
                }
            } else if (!prevValid || character != result.character) {
                result.kind = LineSeparator::Kind::Mixed;
                result.character = {};
                return result;
            }
        }
        prevValid = false;
    }
    return result;
}

} // namespace corvane
