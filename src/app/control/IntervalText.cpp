#include "app/control/IntervalText.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace corvane {

namespace {

std::string trimmedBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<double> readNumber(const std::string& text, const std::string& separator) {
    std::string plain;
    bool separatorSeen = false;
    bool digitSeen = false;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            plain.push_back(c);
            digitSeen = true;
            ++i;
        } else if (!separator.empty() && !separatorSeen &&
                   text.compare(i, separator.size(), separator) == 0) {
            plain.push_back('.');
            separatorSeen = true;
            i += separator.size();
        } else {
            return std::nullopt;
        }
    }
    if (!digitSeen || plain.size() > 32) {
        return std::nullopt;
    }
    return std::strtod(plain.c_str(), nullptr);
}

// Single precision, as short as it reads back: 7 significant digits, no exponent in the range
// the interval allows.
std::string singlePrecisionText(double value, const std::string& separator) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.7g", static_cast<double>(static_cast<float>(value)));
    std::string text = buffer;
    const auto point = text.find('.');
    if (point != std::string::npos) {
        text.replace(point, 1, separator);
    }
    return text;
}

} // namespace

IntervalCheck checkIntervalText(const std::string& text, const std::string& decimalSeparator) {
    IntervalCheck check;
    const std::optional<double> value = readNumber(trimmedBlanks(text), decimalSeparator);
    if (!value || *value < kMinimumIntervalSeconds) {
        check.seconds = kMinimumIntervalSeconds;
    } else if (*value > kMaximumIntervalSeconds) {
        check.seconds = kMaximumIntervalSeconds;
    } else {
        check.seconds = *value;
        check.valid = true;
    }
    check.text = singlePrecisionText(check.seconds, decimalSeparator);
    return check;
}

std::string intervalTextOf(std::int32_t milliseconds, const std::string& decimalSeparator) {
    return singlePrecisionText(static_cast<double>(milliseconds) / 1000.0, decimalSeparator);
}

std::int32_t intervalMillisecondsOf(double seconds) {
    return static_cast<std::int32_t>(std::lround(static_cast<double>(static_cast<float>(seconds)) * 1000.0));
}

} // namespace corvane
