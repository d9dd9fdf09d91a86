#pragma once

#include "platform/HiresTimeSource.h"

namespace corvane {

// A clock that shows the time it is given; counts its readings.
class FakeHiresTimeSource : public HiresTimeSource {
public:
    bool readHiresTime(HiresTime& out) override {
        ++readings;
        if (!available) {
            return false;
        }
        out = time;
        return true;
    }

    void set(int year, int month, int day, int hour, int minute, int second, int millisecond) {
        time.year = static_cast<std::int16_t>(year);
        time.month = static_cast<std::int16_t>(month);
        time.day = static_cast<std::int16_t>(day);
        time.hour = static_cast<std::int16_t>(hour);
        time.minute = static_cast<std::int16_t>(minute);
        time.second = static_cast<std::int16_t>(second);
        time.millisecond = static_cast<std::int16_t>(millisecond);
    }

    HiresTime time{2026, 12, 1, 7, 12, 30, 45, 123};
    bool available = true;
    int readings = 0;
};

} // namespace corvane
