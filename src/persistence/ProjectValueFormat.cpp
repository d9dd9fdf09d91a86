#include "persistence/ProjectValueFormat.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace corvane::projectformat {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the decimal number at the start of text (after the caller skipped blanks): sign,
// digits with one optional point, an optional exponent. 0 when there is no digit.
std::size_t numberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    return i;
}

double toDouble(std::string_view number) {
    // from_chars ignores the locale: files always use a decimal point.
    std::string copy(number);
    if (!copy.empty() && copy[0] == '+') {
        copy.erase(0, 1);
    }
    double value = 0.0;
    auto result = std::from_chars(copy.data(), copy.data() + copy.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        return copy[0] == '-' ? -std::numeric_limits<double>::infinity()
                              : std::numeric_limits<double>::infinity();
    }
    return value;
}

} // namespace

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<double> parseNumber(std::string_view text) {
    text = trimBlanks(text);
    const std::size_t length = numberLength(text);
    if (length == 0 || length != text.size()) {
        return std::nullopt;
    }
    return toDouble(text);
}

double leadingNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    const std::size_t length = numberLength(text);
    if (length == 0) {
        return 0.0;
    }
    return toDouble(text.substr(0, length));
}

double roundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5) {
        return floor + 1.0;
    }
    if (fraction < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::optional<std::int32_t> readInteger(std::string_view text, std::int32_t minimum, std::int32_t maximum) {
    const std::optional<double> number = parseNumber(text);
    if (!number) {
        return std::nullopt;
    }
    const double rounded = roundHalfEven(*number);
    if (!(rounded >= minimum && rounded <= maximum)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

std::optional<std::int16_t> readInteger16(std::string_view text) {
    const auto value =
        readInteger(text, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max());
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(*value);
}

std::optional<std::int32_t> readInteger32(std::string_view text) {
    return readInteger(text, std::numeric_limits<std::int32_t>::min(),
                       std::numeric_limits<std::int32_t>::max());
}

std::optional<std::int32_t> readByte(std::string_view text) {
    return readInteger(text, 0, 255);
}

std::int32_t readBaudRate(std::string_view text) {
    const double rounded = roundHalfEven(leadingNumber(text));
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max())) {
        return 9600;
    }
    if (rounded < 0) {
        return 0;
    }
    if (rounded > kMaximumBaudRate) {
        return kMaximumBaudRate;
    }
    return static_cast<std::int32_t>(rounded);
}

std::int32_t readInterval(std::string_view text) {
    double seconds = leadingNumber(text);
    if (!(seconds >= 0.01)) {
        seconds = 0.01;
    }
    if (seconds > 9999.0) {
        seconds = 9999.0;
    }
    return static_cast<std::int32_t>(roundHalfEven(seconds * 1000.0));
}

std::string formatInterval(std::int32_t milliseconds) {
    const bool negative = milliseconds < 0;
    const std::int64_t magnitude = negative ? -static_cast<std::int64_t>(milliseconds) : milliseconds;
    const std::int64_t whole = magnitude / 1000;
    std::int64_t fraction = magnitude % 1000;
    std::string text = negative ? "-" : "";
    if (whole != 0 || fraction == 0) {
        text += std::to_string(whole);
    }
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 3 - digits.size(), '0');
        while (digits.back() == '0') {
            digits.pop_back();
        }
        text += "." + digits;
    }
    return text;
}

bool beginsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

int comPortNumber(std::string_view settingsString) {
    std::string name(trimBlanks(settingsString.substr(0, settingsString.find(':'))));
    for (char& c : name) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (!beginsWith(name, "COM")) {
        return 1;
    }
    const std::optional<double> number = parseNumber(std::string_view(name).substr(3));
    if (!number) {
        return 1;
    }
    const double rounded = roundHalfEven(*number);
    if (rounded < 1) {
        return 1;
    }
    if (rounded > 256) {
        return 256;
    }
    return static_cast<int>(rounded);
}

} // namespace corvane::projectformat
