#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <thread>

namespace corvane {

// Time of day and sleeping, for the waits of the communication start and stop.
class SystemClock {
public:
    virtual ~SystemClock() = default;
    // Milliseconds since local midnight.
    virtual std::int64_t timeOfDayMs() = 0;
    virtual void sleepMs(int milliseconds) = 0;
};

class RealSystemClock : public SystemClock {
public:
    std::int64_t timeOfDayMs() override {
        auto now = std::chrono::system_clock::now();
        std::time_t t = std::chrono::system_clock::to_time_t(now);
        std::tm local{};
        localtime_r(&t, &local);
        auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
        return (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) * std::int64_t{1000} + ms;
    }
    void sleepMs(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

} // namespace corvane
