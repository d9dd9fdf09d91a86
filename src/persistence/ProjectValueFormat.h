#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How the values of project files (and the communication values of the program settings) are
// read from and written as text.
namespace corvane::projectformat {

// The whole text as a number: blanks around it allowed, an optional sign, digits with an
// optional decimal point and an optional exponent. Nothing when the text is not a number.
std::optional<double> parseNumber(std::string_view text);

// The decimal number at the start of the text (leading blanks skipped), 0 when there is none.
double leadingNumber(std::string_view text);

// Rounds half to even.
double roundHalfEven(double value);

// The text as a whole number in minimum..maximum after rounding half to even; nothing when it
// is not a number or out of the range.
std::optional<std::int32_t> readInteger(std::string_view text, std::int32_t minimum, std::int32_t maximum);
std::optional<std::int16_t> readInteger16(std::string_view text);
std::optional<std::int32_t> readInteger32(std::string_view text);
// A byte 0 to 255 (the parity error character).
std::optional<std::int32_t> readByte(std::string_view text);

inline constexpr std::int32_t kMaximumBaudRate = 9999999;
// The number at the start, rounded and clamped to 0 to 9 999 999; 9600 when it is too large to
// convert.
std::int32_t readBaudRate(std::string_view text);

inline constexpr std::int32_t kMinimumIntervalMs = 10;
inline constexpr std::int32_t kMaximumIntervalMs = 9999000;
// The repeat interval stored in seconds, as milliseconds: the leading number raised to 0.01,
// lowered to 9999, times 1000, rounded.
std::int32_t readInterval(std::string_view text);
// Milliseconds as seconds in the shortest decimal form without a zero before the point:
// 5000 "5", 1500 "1.5", 500 ".5", 10 ".01".
std::string formatInterval(std::int32_t milliseconds);

// The COM port number of a channel settings string: the part before the first ':' trimmed and
// upper-cased; when it begins with "COM", the number after the first three characters clamped
// to 1 to 256; otherwise, or when no number can be read, 1.
int comPortNumber(std::string_view settingsString);

// Whether a channel settings string begins with exactly these three letters.
bool beginsWith(std::string_view text, std::string_view prefix);

std::string_view trimBlanks(std::string_view text);

} // namespace corvane::projectformat
