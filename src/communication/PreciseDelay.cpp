#include "communication/PreciseDelay.h"

#include <chrono>
#include <thread>

namespace corvane {

void preciseDelay(double milliseconds) {
    if (!(milliseconds > 0)) {
        return;
    }
    using Clock = std::chrono::steady_clock;
    const auto target = std::chrono::duration<double, std::milli>(milliseconds);
    auto start = Clock::now();
    for (;;) {
        auto now = Clock::now();
        if (now < start) {
            // A counter that went back restarts the wait.
            start = now;
        }
        const auto remaining = target - std::chrono::duration<double, std::milli>(now - start);
        if (remaining.count() <= 0) {
            return;
        }
        if (remaining.count() > 40) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } else if (remaining.count() > 20) {
            std::this_thread::yield();
        }
    }
}

} // namespace corvane
