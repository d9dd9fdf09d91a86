#pragma once

#include "platform/SerialFunctionLibrary.h"
#include "platform/ShortDateFormat.h"

#include <cstdint>
#include <string>

namespace corvane {

// Which parts a time stamp text has.
struct TimeStampOptions {
    bool date = true;
    bool time = true;
    bool milliSeconds = true;
    // With milliSeconds: hundredths of a second instead of milliseconds.
    bool hundredths = false;
};

// The time stamp of the communication data, the comment codes and the log headers: the date in
// the short date format and " " (date option), then "hh:mm:ss", ".mmm" or ".hh" (milliseconds or
// hundredths) and " " (time option). Empty when neither date nor time is on.
std::string timeStampText(const TimeStampOptions& options, const ShortDateFormat& dateFormat,
                          const HiresTime& time);

// Milliseconds since midnight of a clock record (fields out of range are clamped).
std::int64_t timeOfDayMs(const HiresTime& time);

// now minus then, plus a day when the difference is below -1000 ms (a midnight passed).
std::int64_t elapsedMsWithMidnightWrap(std::int64_t nowMs, std::int64_t thenMs);

} // namespace corvane
