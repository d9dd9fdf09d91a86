#include "platform/PolledTimerService.h"

#include <algorithm>
#include <utility>

namespace corvane {

class PolledTimerService::Timer : public OneShotTimer {
public:
    Timer(PolledTimerService& service, std::function<void()> onTimeout)
        : service_(&service), onTimeout_(std::move(onTimeout)) {}
    ~Timer() override {
        if (service_ != nullptr) {
            auto& timers = service_->timers_;
            timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
        }
    }

    void start(int intervalMs) override {
        active_ = true;
        intervalMs_ = std::max(0, intervalMs);
        startMs_ = service_ != nullptr ? service_->clock_.timeOfDayMs() : 0;
    }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }

    PolledTimerService* service_;
    std::function<void()> onTimeout_;
    bool active_ = false;
    int intervalMs_ = 0;
    std::int64_t startMs_ = 0;
};

PolledTimerService::PolledTimerService(SystemClock& clock) : clock_(clock) {}

PolledTimerService::~PolledTimerService() {
    for (Timer* timer : timers_) {
        timer->service_ = nullptr;
        timer->active_ = false;
    }
}

std::unique_ptr<OneShotTimer> PolledTimerService::createTimer(std::function<void()> onTimeout) {
    auto timer = std::make_unique<Timer>(*this, std::move(onTimeout));
    timers_.push_back(timer.get());
    return timer;
}

std::int64_t PolledTimerService::elapsedSince(std::int64_t startMs) {
    std::int64_t elapsed = clock_.timeOfDayMs() - startMs;
    if (elapsed < -1000) {
        elapsed += 86400000;
    }
    return elapsed;
}

int PolledTimerService::processDueTimers() {
    // A callback may create, start, stop or destroy timers: collect the due ones first and check
    // each is still registered and active before running it.
    std::vector<Timer*> due;
    for (Timer* timer : timers_) {
        if (timer->active_ && elapsedSince(timer->startMs_) >= timer->intervalMs_) {
            due.push_back(timer);
        }
    }
    int ran = 0;
    for (Timer* timer : due) {
        if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end() || !timer->active_) {
            continue;
        }
        timer->active_ = false;
        ++ran;
        if (timer->onTimeout_) {
            timer->onTimeout_();
        }
    }
    return ran;
}

int PolledTimerService::activeTimerCount() const {
    return static_cast<int>(
        std::count_if(timers_.begin(), timers_.end(), [](Timer* t) { return t->active_; }));
}

} // namespace corvane
