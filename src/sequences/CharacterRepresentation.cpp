#include "sequences/CharacterRepresentation.h"

#include "platform/InternalError.h"
#include "sequences/Windows1252.h"

#include <array>

namespace corvane {

namespace {

struct ControlCharacter {
    const char* mnemonic;
    const char* name;
};

constexpr std::array<ControlCharacter, 32> kControlCharacters = {{
    {"NUL", "Null"},
    {"SOH", "Start of heading"},
    {"STX", "Start of text"},
    {"ETX", "Break/end of text"},
    {"EOT", "End of transmission"},
    {"ENQ", "Enquiry"},
    {"ACK", "Positive acknowledgement"},
    {"BEL", "Bell"},
    {"BS", "Backspace"},
    {"HT", "Horizontal tab"},
    {"LF", "Line feed"},
    {"VT", "Vertical tab"},
    {"FF", "Form feed"},
    {"CR", "Carriage return"},
    {"SO", "Shift out"},
    {"SI", "Shift in/XON (resume input)"},
    {"DLE", "Data link escape"},
    {"DC1", "Device control character 1"},
    {"DC2", "Device control character 2"},
    {"DC3", "Device control character 3"},
    {"DC4", "Device control character 4"},
    {"NAK", "Negative Acknowledgement"},
    {"SYN", "Synchronous idle"},
    {"ETB", "End of transmission block"},
    {"CAN", "Cancel"},
    {"EM", "End of medium"},
    {"SUB", "substitute/end of file"},
    {"ESC", "Escape"},
    {"FS", "File seperator"},
    {"GS", "Group seperator"},
    {"RS", "Record seperator"},
    {"US", "Unit seperator"},
}};

constexpr char kHexDigits[] = "0123456789ABCDEF";

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

int representationWidth(Representation representation) {
    switch (representation) {
    case Representation::ASCII:
        return 1;
    case Representation::HEX:
        return 2;
    case Representation::Decimal:
        return 3;
    case Representation::Binary:
        return 8;
    }
    return 0;
}

std::string representationName(Representation representation) {
    switch (representation) {
    case Representation::ASCII:
        return "ASCII";
    case Representation::HEX:
        return "HEX";
    case Representation::Decimal:
        return "Decimal";
    case Representation::Binary:
        return "Binary";
    }
    return {};
}

std::string representationLetter(Representation representation) {
    switch (representation) {
    case Representation::ASCII:
        return "A";
    case Representation::HEX:
        return "H";
    case Representation::Decimal:
        return "D";
    case Representation::Binary:
        return "B";
    }
    return {};
}

bool representationFromLetter(std::string_view text, Representation& representation) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    representation = Representation::ASCII;
    if (text.size() != 1) {
        return false;
    }
    switch (text.front()) {
    case 'A':
    case 'a':
        representation = Representation::ASCII;
        return true;
    case 'H':
    case 'h':
        representation = Representation::HEX;
        return true;
    case 'D':
    case 'd':
        representation = Representation::Decimal;
        return true;
    case 'B':
    case 'b':
        representation = Representation::Binary;
        return true;
    default:
        return false;
    }
}

std::string controlCharacterMnemonic(int code, bool bracketed) {
    if (code < 0 || code > 31) {
        return {};
    }
    std::string mnemonic = kControlCharacters[code].mnemonic;
    return bracketed ? "<" + mnemonic + ">" : mnemonic;
}

std::string controlCharacterName(int code) {
    if (code < 0 || code > 31) {
        return {};
    }
    return kControlCharacters[code].name;
}

int ansiCode(std::string_view text) {
    if (text.empty()) {
        return 63;
    }
    std::size_t index = 0;
    const int byte = windows1252::fromUnicode(windows1252::decodeUtf8(text, index));
    return byte < 0 ? 63 : byte;
}

std::string ansiCharacter(std::uint8_t byte) {
    return std::string(windows1252::utf8Of(byte));
}

CharCode readCharacterValue(std::string_view token, Representation representation) {
    switch (representation) {
    case Representation::ASCII: {
        // An empty token is malformed input like any other: it reads as no character.
        if (token.empty()) {
            return -1;
        }
        return static_cast<CharCode>(ansiCode(token));
    }
    case Representation::HEX: {
        if (token.size() > 2) {
            return -1;
        }
        int value = 0;
        for (char c : token) {
            const int digit = hexDigitValue(c);
            if (digit < 0) {
                return -1;
            }
            value = value * 16 + digit;
        }
        return static_cast<CharCode>(value);
    }
    case Representation::Decimal: {
        if (token.size() > 3) {
            return -1;
        }
        int value = 0;
        for (char c : token) {
            if (c < '0' || c > '9') {
                return -1;
            }
            value = value * 10 + (c - '0');
        }
        return value > 255 ? CharCode{-1} : static_cast<CharCode>(value);
    }
    case Representation::Binary: {
        if (token.size() > 8) {
            return -1;
        }
        int value = 0;
        for (char c : token) {
            if (c != '0' && c != '1') {
                return -1;
            }
            value = value * 2 + (c - '0');
        }
        return static_cast<CharCode>(value);
    }
    }
    reportInternalError(kErrorIllegalValue, "readCharacterValue: Illegal representation",
                        kCommonFunctionModule);
}

void appendCharacter(std::string& out, int code, Representation representation) {
    if (isDataByte(code)) {
        switch (representation) {
        case Representation::ASCII:
            if (code < 32) {
                out += '<';
                out += kControlCharacters[code].mnemonic;
                out += '>';
            } else {
                out += static_cast<char>(code > 127 ? 127 : code);
            }
            return;
        case Representation::HEX:
            out += kHexDigits[code >> 4];
            out += kHexDigits[code & 15];
            return;
        case Representation::Decimal:
            out += static_cast<char>('0' + code / 100);
            out += static_cast<char>('0' + code / 10 % 10);
            out += static_cast<char>('0' + code % 10);
            return;
        case Representation::Binary:
            for (int bit = 7; bit >= 0; --bit) {
                out += static_cast<char>('0' + ((code >> bit) & 1));
            }
            return;
        }
        return;
    }
    const char symbol = specialSymbol(code);
    if (symbol == '\0') {
        return;
    }
    if (representation == Representation::ASCII) {
        out += '<';
        out += symbol;
        out += '>';
        return;
    }
    out.append(static_cast<std::size_t>(representationWidth(representation)), symbol);
}

std::string writeCharacter(int code, Representation representation) {
    std::string out;
    appendCharacter(out, code, representation);
    return out;
}

std::string byteToBinaryText(std::uint8_t byte) {
    return writeCharacter(byte, Representation::Binary);
}

int numericKeyFilter(int keyCode, std::string_view localeTenth) {
    if (keyCode <= 32) {
        return keyCode;
    }
    constexpr std::string_view kDigitsAndSpace = "1234567890 ";
    if (keyCode < 128 && kDigitsAndSpace.find(static_cast<char>(keyCode)) != std::string_view::npos) {
        return keyCode;
    }
    for (std::size_t i = 0; i < localeTenth.size();) {
        if (static_cast<int>(windows1252::decodeUtf8(localeTenth, i)) == keyCode) {
            return keyCode;
        }
    }
    return 0;
}

} // namespace corvane
