#pragma once

#include "sequences/CharacterCode.h"

#include <cstddef>
#include <string_view>

// The text notation of sequences: tokens of the representation's width, the special forms of the
// wildcards and function characters, and the separator layouts a line may use.
namespace corvane {

// Finds the next character in text, starting at the 1-based position. On a hit, position is left
// on the first text byte after the token and the result is true; otherwise position becomes
// length + 1 and the result is false. In HEX, Decimal and Binary a token counts only where it
// stands alone between whitespace (or the ends of the text). In ASCII every character is a hit;
// a character that UTF-8 writes in several bytes is taken whole. A position outside the text
// (1003) and an illegal representation (1002) are internal errors of "Common Function".
bool GetSequenceCharacterFromString(std::string_view text, std::size_t& position, CharCode& code,
                                    Representation representation);

// The special code whose main or repeated form equals token, or -1. The forms: HEX "s " and "ss";
// Decimal " s " and "sss"; Binary "   s    " and "ssssssss".
CharCode specialCodeFromToken(std::string_view token, Representation representation);

// How a trimmed, upper-cased line separates its tokens.
struct LineSeparator {
    enum class Kind { None, Character, Mixed };
    Kind kind = Kind::None;
    // The separator character (a whole UTF-8 character) when kind is Character.
    std::string_view character;
};

LineSeparator classifyLineSeparator(std::string_view line, Representation representation);

} // namespace corvane
