#pragma once

#include "sequences/CharacterCode.h"

#include <cstdint>
#include <string>
#include <string_view>

// The character helpers shared by the editors, dialogs and the sequence object. Internal errors
// raised here name the module "Common Function".
namespace corvane {

inline constexpr const char* kCommonFunctionModule = "Common Function";

// Token width: 1, 2, 3 or 8; 0 for an illegal representation value.
int representationWidth(Representation representation);

// "ASCII", "HEX", "Decimal", "Binary"; empty for an illegal value.
std::string representationName(Representation representation);

// "A", "H", "D", "B" (trimmed, any case) give true and the representation; anything else false
// and ASCII.
bool representationFromLetter(std::string_view text, Representation& representation);

// The letter of a representation ("A", "H", "D", "B"), empty for an illegal value.
std::string representationLetter(Representation representation);

// "CR" or "<CR>" for codes 0 to 31; empty otherwise.
std::string controlCharacterMnemonic(int code, bool bracketed);

// "Carriage return" for 13; empty outside 0 to 31.
std::string controlCharacterName(int code);

// The Windows-1252 code of the first character of a UTF-8 text; a character outside the code
// page (and an empty text) gives 63, the question mark.
int ansiCode(std::string_view text);

// The UTF-8 text of one byte's character.
std::string ansiCharacter(std::uint8_t byte);

// Space, TAB, LF and CR.
constexpr bool isWhitespaceCharacter(int code) {
    return code == 32 || code == 9 || code == 10 || code == 13;
}

// Reads one token: a data byte 0..255, or -1 when the token is not a valid character in that
// representation. An illegal representation is an internal error (1002).
CharCode readCharacterValue(std::string_view token, Representation representation);

// Writes one character (data byte or special code) in a representation.
std::string writeCharacter(int code, Representation representation);

// Appends the rendering of one character to out; the allocation-free form of writeCharacter.
void appendCharacter(std::string& out, int code, Representation representation);

// Eight binary digits, bit 7 first.
std::string byteToBinaryText(std::uint8_t byte);

// The rule of number fields: digits, space and the characters of the number 0.1 as the user's
// locale writes it (localeTenth, for example "0.1" or "0,1") pass, as does every key code of 32 or
// less. Returns the key code, or 0 when the key is rejected (the caller then beeps).
int numericKeyFilter(int keyCode, std::string_view localeTenth);

} // namespace corvane
