#pragma once

#include <cstdint>

namespace corvane {

// A character of a sequence: 0 to 255 a data byte, or one of the special codes below. A special
// code is the negative ANSI code of its symbol.
using CharCode = std::int16_t;

inline constexpr CharCode kWildcardOne = -63;         // '?': matches exactly one character
inline constexpr CharCode kWildcardOptional = -35;    // '#': matches one or zero characters
inline constexpr CharCode kFunctionAmpersand = -38;   // '&': one parameter character follows
inline constexpr CharCode kFunctionPercent = -37;     // '%': no parameter
inline constexpr CharCode kFunctionExclamation = -33; // '!': one parameter character follows
inline constexpr CharCode kBitwiseCompare = -94;      // '^': mask and compare value follow
inline constexpr CharCode kEndMarker = -1;            // never part of a sequence's contents

// The six special codes in the order the notation tries their symbols.
inline constexpr CharCode kSpecialCodes[] = {kWildcardOne,       kWildcardOptional, kBitwiseCompare,
                                             kFunctionAmpersand, kFunctionPercent,  kFunctionExclamation};

constexpr bool isDataByte(int code) {
    return code >= 0 && code <= 255;
}

constexpr bool isSpecialCode(int code) {
    for (CharCode special : kSpecialCodes) {
        if (code == special) {
            return true;
        }
    }
    return false;
}

// A code that may stand in a sequence (the end marker only after the last character).
constexpr bool isAllowedCode(int code) {
    return isDataByte(code) || isSpecialCode(code);
}

constexpr bool isWildcard(int code) {
    return code == kWildcardOne || code == kWildcardOptional;
}

constexpr bool isFunctionCharacter(int code) {
    return code == kFunctionAmpersand || code == kFunctionPercent || code == kFunctionExclamation;
}

// The symbol of a special code ('?' for -63), or 0 for any other code.
constexpr char specialSymbol(int code) {
    return isSpecialCode(code) ? static_cast<char>(-code) : '\0';
}

enum class Representation : int { ASCII = 0, HEX = 1, Decimal = 2, Binary = 3 };

inline constexpr Representation kAllRepresentations[] = {Representation::ASCII, Representation::HEX,
                                                         Representation::Decimal, Representation::Binary};

} // namespace corvane
