#pragma once

#include "platform/SystemClock.h"
#include "platform/TimerService.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace corvane {

// Timers driven by polling: the main loop (or a headless runner, or a test) calls
// processDueTimers() each pass, which runs the callbacks of the timers whose interval has passed
// on the given clock (time of day, with the midnight wrap).
class PolledTimerService : public TimerService {
public:
    explicit PolledTimerService(SystemClock& clock);
    ~PolledTimerService() override;
    PolledTimerService(const PolledTimerService&) = delete;
    PolledTimerService& operator=(const PolledTimerService&) = delete;

    std::unique_ptr<OneShotTimer> createTimer(std::function<void()> onTimeout) override;

    // Runs every due callback once; returns how many ran.
    int processDueTimers();
    // Number of timers currently started.
    int activeTimerCount() const;

private:
    class Timer;
    friend class Timer;

    std::int64_t elapsedSince(std::int64_t startMs);

    SystemClock& clock_;
    std::vector<Timer*> timers_;
};

} // namespace corvane
