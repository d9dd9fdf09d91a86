#pragma once

#include "platform/TimerService.h"

namespace corvane {

// Single-shot timers on QTimer: the callbacks run from the Qt event loop of the thread that
// created them (the user-interface thread).
class QtTimerService : public TimerService {
public:
    std::unique_ptr<OneShotTimer> createTimer(std::function<void()> onTimeout) override;
};

} // namespace corvane
