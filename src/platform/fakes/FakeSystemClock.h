#pragma once

#include "platform/SystemClock.h"

#include <vector>

namespace corvane {

// A clock that only moves when told or when slept on; records every sleep.
class FakeSystemClock : public SystemClock {
public:
    std::int64_t timeOfDayMs() override {
        std::int64_t now = nowMs;
        nowMs += advancePerRead;
        return now;
    }
    void sleepMs(int milliseconds) override {
        sleeps.push_back(milliseconds);
        nowMs += milliseconds;
        if (nowMs >= 86400000) {
            nowMs -= 86400000;
        }
    }
    std::int64_t nowMs = 12 * 3600 * 1000;
    std::int64_t advancePerRead = 0;
    std::vector<int> sleeps;
};

} // namespace corvane
