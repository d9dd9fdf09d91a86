#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// The repeat interval of a send sequence as its editor shows it: seconds from 0.01 to 9999, written
// with the decimal separator of the user's locale.
struct IntervalCheck {
    // False when the text was not a number or out of range; text then holds the nearest valid value.
    bool valid = false;
    std::string text;
    double seconds = 0;
};

inline constexpr double kMinimumIntervalSeconds = 0.01;
inline constexpr double kMaximumIntervalSeconds = 9999;

// Reads the text (blanks around it allowed; digits with at most one decimal separator). Text that
// isn't such a number becomes 0.01, a value below 0.01 becomes 0.01 and one above 9999 becomes 9999,
// all three invalid. A valid value is written again in single precision ("2,50" gives "2,5").
IntervalCheck checkIntervalText(const std::string& text, const std::string& decimalSeparator);

// Milliseconds written as seconds: 2500 gives "2.5" (or "2,5").
std::string intervalTextOf(std::int32_t milliseconds, const std::string& decimalSeparator);

// Seconds as whole milliseconds, rounded.
std::int32_t intervalMillisecondsOf(double seconds);

} // namespace corvane
