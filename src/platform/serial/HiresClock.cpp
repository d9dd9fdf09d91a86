#include "platform/serial/HiresClock.h"

#include <ctime>

namespace corvane {

HiresClock::HiresClock() {
    start();
}

void HiresClock::start() {
    std::lock_guard lock(mutex_);
    wallBase_ = std::chrono::system_clock::now();
    steadyBase_ = std::chrono::steady_clock::now();
}

std::int64_t HiresClock::nowMilliseconds() const {
    std::chrono::system_clock::time_point wall;
    std::chrono::steady_clock::time_point steady;
    {
        std::lock_guard lock(mutex_);
        wall = wallBase_;
        steady = steadyBase_;
    }
    auto elapsed = std::chrono::steady_clock::now() - steady;
    auto sinceEpoch =
        wall.time_since_epoch() + std::chrono::duration_cast<std::chrono::system_clock::duration>(elapsed);
    return std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count();
}

HiresTime HiresClock::now() const {
    return toLocalTime(nowMilliseconds());
}

HiresTime HiresClock::toLocalTime(std::int64_t millisecondsSinceEpoch) {
    std::int64_t seconds = millisecondsSinceEpoch / 1000;
    std::int64_t millis = millisecondsSinceEpoch % 1000;
    if (millis < 0) {
        millis += 1000;
        --seconds;
    }
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    HiresTime result;
    result.year = static_cast<std::int16_t>(local.tm_year + 1900);
    result.month = static_cast<std::int16_t>(local.tm_mon + 1);
    result.weekday = static_cast<std::int16_t>(local.tm_wday);
    result.day = static_cast<std::int16_t>(local.tm_mday);
    result.hour = static_cast<std::int16_t>(local.tm_hour);
    result.minute = static_cast<std::int16_t>(local.tm_min);
    result.second = static_cast<std::int16_t>(local.tm_sec);
    result.millisecond = static_cast<std::int16_t>(millis);
    return result;
}

} // namespace corvane
