#include "communication/TimeStampText.h"

#include <algorithm>

namespace corvane {

namespace {

void appendDigits(std::string& out, int value, int digits) {
    char buffer[8];
    for (int i = digits - 1; i >= 0; --i) {
        buffer[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(buffer, static_cast<std::size_t>(digits));
}

} // namespace

std::string timeStampText(const TimeStampOptions& options, const ShortDateFormat& dateFormat,
                          const HiresTime& time) {
    std::string text;
    if (options.date) {
        text += dateFormat.format(time.year, time.month, time.day);
        text += ' ';
    }
    if (options.time) {
        appendDigits(text, std::clamp<int>(time.hour, 0, 23), 2);
        text += ':';
        appendDigits(text, std::clamp<int>(time.minute, 0, 59), 2);
        text += ':';
        appendDigits(text, std::clamp<int>(time.second, 0, 59), 2);
        if (options.milliSeconds) {
            const int ms = std::clamp<int>(time.millisecond, 0, 999);
            text += '.';
            if (options.hundredths) {
                appendDigits(text, ms / 10, 2);
            } else {
                appendDigits(text, ms, 3);
            }
        }
        text += ' ';
    }
    return text;
}

std::int64_t timeOfDayMs(const HiresTime& time) {
    return std::int64_t{std::clamp<int>(time.hour, 0, 23)} * 3600000 +
           std::int64_t{std::clamp<int>(time.minute, 0, 59)} * 60000 +
           std::int64_t{std::clamp<int>(time.second, 0, 59)} * 1000 +
           std::clamp<int>(time.millisecond, 0, 999);
}

std::int64_t elapsedMsWithMidnightWrap(std::int64_t nowMs, std::int64_t thenMs) {
    std::int64_t elapsed = nowMs - thenMs;
    if (elapsed < -1000) {
        elapsed += 86400000;
    }
    return elapsed;
}

} // namespace corvane
