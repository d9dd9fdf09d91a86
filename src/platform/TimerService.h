#pragma once

#include <functional>
#include <memory>

namespace corvane {

// A single-shot timer of the user-interface thread: after start(interval) its callback runs once,
// from the event loop (or the main loop pass), never from another thread. Starting an active
// timer starts it anew.
class OneShotTimer {
public:
    virtual ~OneShotTimer() = default;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// Makes timers. The callback must stay valid while the timer exists; destroying a timer cancels it.
class TimerService {
public:
    virtual ~TimerService() = default;
    virtual std::unique_ptr<OneShotTimer> createTimer(std::function<void()> onTimeout) = 0;
};

} // namespace corvane
