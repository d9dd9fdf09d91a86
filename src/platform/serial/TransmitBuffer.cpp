#include "platform/serial/TransmitBuffer.h"

namespace corvane {

void TransmitBuffer::append(const std::uint8_t* data, std::size_t count) {
    if (count == 0) {
        return;
    }
    if (head_ > 0 && head_ >= bytes_.size() / 2) {
        // Move the waiting bytes to the front rather than let the written ones pile up.
        bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }
    bytes_.insert(bytes_.end(), data, data + count);
}

void TransmitBuffer::clear() {
    bytes_.clear();
    head_ = 0;
}

} // namespace corvane
