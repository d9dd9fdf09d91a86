#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The user's short date format as a pattern: "d" and "dd" day, "M" and "MM" month, "yy" and
// "yyyy" year; any other character is copied, text in single quotes literally ("''" is one
// quote). The GUI takes the pattern from the user's locale; tests and the headless runner fix it.
class ShortDateFormat {
public:
    // Day/month/year with two-digit day and month and a four-digit year.
    static constexpr std::string_view kDefaultPattern = "dd/MM/yyyy";

    ShortDateFormat() : pattern_(kDefaultPattern) {}
    explicit ShortDateFormat(std::string pattern);

    const std::string& pattern() const { return pattern_; }
    std::string format(int year, int month, int day) const;

private:
    std::string pattern_;
};

} // namespace corvane
