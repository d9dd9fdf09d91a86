#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text inside the program is UTF-8. Bytes on the line and in files are Windows-1252, one byte
// per character. This is the one place where the two meet.
namespace corvane::windows1252 {

// The Unicode code point of a byte. The five bytes that Windows-1252 leaves undefined map to the
// C1 control code points of the same value, so every byte round-trips.
char32_t toUnicode(std::uint8_t byte);

// The byte of a code point, or -1 if the code page has no such character.
int fromUnicode(char32_t codePoint);

// UTF-8 encoding of a byte's character (1 to 3 bytes), from a table built once.
std::string_view utf8Of(std::uint8_t byte);

// Decodes the UTF-8 character that starts at index; advances index past it. A malformed or
// truncated sequence decodes as U+FFFD and advances by one byte.
char32_t decodeUtf8(std::string_view text, std::size_t& index);

// Number of UTF-8 characters (malformed bytes count one each).
std::size_t characterCount(std::string_view text);

void appendUtf8(std::string& out, char32_t codePoint);

// Windows-1252 bytes to UTF-8 text.
std::string bytesToText(std::string_view bytes);

// UTF-8 text to Windows-1252 bytes; characters outside the code page become '?'.
std::string textToBytes(std::string_view text);

} // namespace corvane::windows1252
