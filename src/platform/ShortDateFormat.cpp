#include "platform/ShortDateFormat.h"

#include <cstdio>
#include <utility>

namespace corvane {

namespace {

void appendNumber(std::string& out, int value, int minimumDigits) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%0*d", minimumDigits, value);
    out += digits;
}

} // namespace

ShortDateFormat::ShortDateFormat(std::string pattern) : pattern_(std::move(pattern)) {}

std::string ShortDateFormat::format(int year, int month, int day) const {
    std::string out;
    out.reserve(pattern_.size() + 4);
    std::size_t i = 0;
    while (i < pattern_.size()) {
        const char c = pattern_[i];
        std::size_t run = 1;
        while (i + run < pattern_.size() && pattern_[i + run] == c) {
            ++run;
        }
        if (c == '\'') {
            if (run >= 2) {
                // '' stands for one quote.
                out += '\'';
                i += 2;
                continue;
            }
            const std::size_t close = pattern_.find('\'', i + 1);
            const std::size_t end = close == std::string::npos ? pattern_.size() : close;
            out.append(pattern_, i + 1, end - i - 1);
            i = close == std::string::npos ? pattern_.size() : close + 1;
            continue;
        }
        if (c == 'd' && run <= 2) {
            appendNumber(out, day, static_cast<int>(run));
        } else if (c == 'M' && run <= 2) {
            appendNumber(out, month, static_cast<int>(run));
        } else if (c == 'y' && (run == 2 || run == 4)) {
            appendNumber(out, run == 2 ? (year % 100 + 100) % 100 : year, static_cast<int>(run));
        } else {
            // Anything else (separators, unknown letters such as weekday names) is copied.
            out.append(pattern_, i, run);
        }
        i += run;
    }
    return out;
}

} // namespace corvane
