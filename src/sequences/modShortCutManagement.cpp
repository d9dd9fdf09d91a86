#include "sequences/modShortCutManagement.h"

#include "platform/InternalError.h"
#include "sequences/CharacterRepresentation.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace corvane::modShortCutManagement {

namespace {

void checkTableSize(std::size_t size) {
    if (size != kTableSize) {
        reportInternalError(kErrorIllegalValue, "User shortcut array must have index from 0 to 255", kModule);
    }
}

constexpr bool takesShortcut(long code) {
    return (code >= 0 && code <= 31) || (code >= 127 && code <= 255);
}

// The number at the start of a field (after leading blanks), rounded to an integer (halves to even); a field
// that does not start with a number reads as 0.
long fieldValue(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) {
        ++i;
    }
    std::string number;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) {
        number += field[i++];
    }
    bool digits = false;
    while (i < field.size() && field[i] >= '0' && field[i] <= '9') {
        number += field[i++];
        digits = true;
    }
    if (i < field.size() && field[i] == '.') {
        number += field[i++];
        while (i < field.size() && field[i] >= '0' && field[i] <= '9') {
            number += field[i++];
            digits = true;
        }
    }
    if (!digits) {
        return 0;
    }
    // Far beyond any code or key; keeps the rounding below in range.
    constexpr double kLimit = 1e9;
    // from_chars reads the decimal point whatever the user's locale; it takes no plus sign.
    const char* first = number.data() + (number.front() == '+' ? 1 : 0);
    double value = 0.0;
    std::from_chars(first, number.data() + number.size(), value);
    // Halves round to the even neighbour.
    return std::lrint(std::clamp(value, -kLimit, kLimit));
}

// A 16-bit field; a value that does not fit reads as 0, like any other malformed field.
std::int16_t shortField(std::string_view field) {
    const long value = fieldValue(field);
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        return 0;
    }
    return static_cast<std::int16_t>(value);
}

std::vector<std::string_view> splitAtCommas(std::string_view text) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

} // namespace

std::string tableToText(std::span<const UserShortcut> table) {
    checkTableSize(table.size());
    std::string text;
    for (std::size_t code = 0; code < kTableSize; ++code) {
        const UserShortcut& entry = table[code];
        if (!entry.editorCharacter.empty() || entry.shiftState > 1) {
            text += std::to_string(code) + "," + std::to_string(entry.shiftState) + "," +
                    std::to_string(entry.keyCode) + "," + entry.editorCharacter + ",";
        }
    }
    return text;
}

void textToTable(std::string_view text, std::span<UserShortcut> table) {
    checkTableSize(table.size());
    for (std::size_t code = 0; code < kTableSize; ++code) {
        UserShortcut& entry = table[code];
        entry.keyCode = 0;
        entry.shiftState = 0;
        entry.mnemonic = controlCharacterMnemonic(static_cast<int>(code), false);
        entry.longName = controlCharacterName(static_cast<int>(code));
        entry.editorCharacter.clear();
    }

    const std::vector<std::string_view> pieces = splitAtCommas(text);
    // A well-formed text ends with a comma, so its last piece is empty and the rest come in fours.
    if ((pieces.size() - 1) % 4 != 0) {
        return;
    }
    for (std::size_t group = 0; group + 4 < pieces.size(); group += 4) {
        const long code = fieldValue(pieces[group]);
        if (!takesShortcut(code)) {
            continue;
        }
        UserShortcut& entry = table[static_cast<std::size_t>(code)];
        entry.shiftState = shortField(pieces[group + 1]);
        entry.keyCode = shortField(pieces[group + 2]);
        entry.editorCharacter = std::string(pieces[group + 3]);
    }
}

void copyTable(std::span<UserShortcut> target, std::span<const UserShortcut> source) {
    checkTableSize(target.size());
    checkTableSize(source.size());
    for (std::size_t code = 0; code < kTableSize; ++code) {
        target[code] = source[code];
    }
}

int findShortcut(std::span<const UserShortcut> table, int keyCode, int shiftState) {
    checkTableSize(table.size());
    if (shiftState == 0) {
        return -1;
    }
    for (int code = 0; code < static_cast<int>(kTableSize); ++code) {
        if (!takesShortcut(code)) {
            continue;
        }
        const UserShortcut& entry = table[static_cast<std::size_t>(code)];
        if (entry.keyCode == keyCode && entry.shiftState == shiftState) {
            return code;
        }
    }
    return -1;
}

} // namespace corvane::modShortCutManagement
