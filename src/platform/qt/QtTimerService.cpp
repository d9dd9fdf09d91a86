#include "platform/qt/QtTimerService.h"

#include <QObject>
#include <QTimer>

#include <utility>

namespace corvane {

namespace {

class QtOneShotTimer : public OneShotTimer {
public:
    explicit QtOneShotTimer(std::function<void()> onTimeout) : onTimeout_(std::move(onTimeout)) {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (onTimeout_) {
                onTimeout_();
            }
        });
    }

    void start(int intervalMs) override { timer_.start(intervalMs < 0 ? 0 : intervalMs); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    std::function<void()> onTimeout_;
    QTimer timer_;
};

} // namespace

std::unique_ptr<OneShotTimer> QtTimerService::createTimer(std::function<void()> onTimeout) {
    return std::make_unique<QtOneShotTimer>(std::move(onTimeout));
}

} // namespace corvane
