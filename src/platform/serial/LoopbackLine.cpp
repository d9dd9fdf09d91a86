#include "platform/serial/LoopbackLine.h"

#include <algorithm>

namespace corvane {

void LoopbackLine::configure(int baudRate, int dataBits, bool parity, int stopBits) {
    if (baudRate <= 0) {
        baudRate = 9600;
    }
    dataBits = std::clamp(dataBits, 5, 8);
    double stop = stopBits == 1 ? 1.5 : (stopBits == 2 ? 2.0 : 1.0);
    double bits = 1.0 + dataBits + (parity ? 1.0 : 0.0) + stop;
    characterTimeUs_ = 1e6 * bits / baudRate;
}

void LoopbackLine::write(const std::uint8_t* data, std::size_t count, std::int64_t nowUs) {
    if (count == 0) {
        return;
    }
    if (bytes_.empty()) {
        // The line was idle: the first character starts now.
        nextDueUs_ = std::max(nextDueUs_, static_cast<double>(nowUs)) + characterTimeUs_;
    }
    bytes_.insert(bytes_.end(), data, data + count);
}

std::vector<std::uint8_t> LoopbackLine::takeDue(std::int64_t nowUs, std::size_t maxBytes) {
    std::vector<std::uint8_t> due;
    while (!bytes_.empty() && due.size() < maxBytes && nextDueUs_ <= static_cast<double>(nowUs)) {
        due.push_back(bytes_.front());
        bytes_.pop_front();
        if (!bytes_.empty()) {
            nextDueUs_ += characterTimeUs_;
        }
    }
    return due;
}

} // namespace corvane
