#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How single values of the program settings are read from and written as text.
namespace corvane::settingsformat {

// "true"/"false" in any case, or a number (zero false, anything else true); failing that the
// lowered, trimmed text "wahr" or "vrai" (true), "falsch" or "faux" (false); otherwise nothing.
std::optional<bool> parseBoolean(std::string_view text);
std::string formatBoolean(bool value);

// A whole number (rounded half to even) that fits 32 bits; nothing otherwise.
std::optional<std::int32_t> parseInteger(std::string_view text);

// A window coordinate in twips.
std::optional<float> parseTwips(std::string_view text);
std::string formatTwips(float value);

// Time-stamp interval and pause: stored in hundredths of a second, held in milliseconds.
// Reading multiplies by 10 (rounded) and clamps to minimum..maximum.
std::optional<std::int32_t> parseHundredths(std::string_view text, std::int32_t minimum,
                                            std::int32_t maximum);
// The millisecond value divided by 10 when above 9, otherwise 1, with one leading blank.
std::string formatHundredths(std::int32_t milliseconds);

// HTML templates are kept as the HEX notation of their characters.
std::string templateToHex(std::string_view templateText);
std::string templateFromHex(std::string_view hexText);

} // namespace corvane::settingsformat
