#pragma once

#include "platform/SerialFunctionLibrary.h"

#include <chrono>
#include <mutex>

namespace corvane {

// Local date and time with milliseconds that never runs backwards: the wall clock is read once
// when the clock is started, and from then on advanced by the steady clock. Changes of the system
// time (or daylight saving) are taken over at the next start.
class HiresClock {
public:
    HiresClock();
    // Takes the wall clock afresh.
    void start();
    HiresTime now() const;
    // Milliseconds since the epoch, local wall-clock base plus the steady time since start.
    std::int64_t nowMilliseconds() const;

    static HiresTime toLocalTime(std::int64_t millisecondsSinceEpoch);

private:
    mutable std::mutex mutex_;
    std::chrono::system_clock::time_point wallBase_;
    std::chrono::steady_clock::time_point steadyBase_;
};

} // namespace corvane
