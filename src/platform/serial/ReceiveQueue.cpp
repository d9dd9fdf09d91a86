#include "platform/serial/ReceiveQueue.h"

#include <algorithm>
#include <chrono>

namespace corvane {

ReceiveQueue::ReceiveQueue(std::size_t capacityWords) : capacityWords_(capacityWords) {}

std::array<std::int16_t, packet::kHeaderWords> ReceiveQueue::makeHeader(int queueId, const HiresTime& time,
                                                                        std::uint16_t status) {
    std::array<std::int16_t, packet::kHeaderWords> header{};
    header[packet::kSourceQueueId] = static_cast<std::int16_t>(queueId);
    header[packet::kYear] = time.year;
    header[packet::kMonth] = time.month;
    header[packet::kDay] = time.day;
    header[packet::kHour] = time.hour;
    header[packet::kMinute] = time.minute;
    header[packet::kSecond] = time.second;
    header[packet::kMillisecond] = time.millisecond;
    header[packet::kStatus] = static_cast<std::int16_t>(status);
    return header;
}

bool ReceiveQueue::enqueueLocked(Packet&& packet) {
    std::size_t size = packet::kHeaderWords + packet.data.size();
    if (words_ + size > capacityWords_) {
        overflow_ = true;
        return false;
    }
    words_ += size;
    packets_.push_back(std::move(packet));
    return true;
}

template <typename Value>
bool ReceiveQueue::pushValues(int queueId, const HiresTime& time, std::uint16_t status, const Value* values,
                              std::size_t count) {
    bool all = true;
    {
        std::lock_guard lock(mutex_);
        std::size_t offset = 0;
        do {
            std::size_t n = std::min<std::size_t>(count - offset, packet::kMaxDataWords);
            Packet p;
            p.header = makeHeader(queueId, time, status);
            p.data.assign(values + offset, values + offset + n);
            all = enqueueLocked(std::move(p)) && all;
            offset += n;
        } while (offset < count);
    }
    arrived_.notify_all();
    return all;
}

bool ReceiveQueue::pushBytes(int queueId, const HiresTime& time, std::uint16_t status,
                             const std::uint8_t* data, std::size_t count) {
    return pushValues(queueId, time, status, data, count);
}

bool ReceiveQueue::pushWords(int queueId, const HiresTime& time, std::uint16_t status,
                             const std::int16_t* words, std::size_t count) {
    return pushValues(queueId, time, status, words, count);
}

int ReceiveQueue::read(std::int16_t* buffer) {
    std::lock_guard lock(mutex_);
    if (packets_.empty()) {
        return -1;
    }
    Packet& p = packets_.front();
    std::copy(p.header.begin(), p.header.end(), buffer);
    std::copy(p.data.begin(), p.data.end(), buffer + packet::kHeaderWords);
    int count = static_cast<int>(p.data.size());
    words_ -= packet::kHeaderWords + p.data.size();
    packets_.pop_front();
    return count;
}

int ReceiveQueue::status() const {
    std::lock_guard lock(mutex_);
    return overflow_ ? 2 : 0;
}

void ReceiveQueue::erase() {
    std::lock_guard lock(mutex_);
    packets_.clear();
    words_ = 0;
    overflow_ = false;
}

bool ReceiveQueue::waitForPacket(int timeoutMs) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                             [this] { return !packets_.empty(); });
}

std::size_t ReceiveQueue::packetCount() const {
    std::lock_guard lock(mutex_);
    return packets_.size();
}

std::size_t ReceiveQueue::wordCount() const {
    std::lock_guard lock(mutex_);
    return words_;
}

} // namespace corvane
