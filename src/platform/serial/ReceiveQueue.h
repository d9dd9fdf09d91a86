#pragma once

#include "platform/SerialFunctionLibrary.h"

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace corvane {

// The shared receive queue: time-stamped packets of received data from every port, tap and
// socket. Bounded; a packet that does not fit is dropped and the queue reports overflow until it
// is emptied. Writers never block on a full queue; packets keep their order.
class ReceiveQueue {
public:
    static constexpr std::size_t kDefaultCapacityWords = std::size_t{1} << 22;

    explicit ReceiveQueue(std::size_t capacityWords = kDefaultCapacityWords);

    // Queues data as packets of at most packet::kMaxDataWords words. An empty block queues one
    // packet without data (a status or line report). False when something was dropped.
    bool pushBytes(int queueId, const HiresTime& time, std::uint16_t status, const std::uint8_t* data,
                   std::size_t count);
    bool pushWords(int queueId, const HiresTime& time, std::uint16_t status, const std::int16_t* words,
                   std::size_t count);

    // Fills buffer (packet::kBufferWords words) with the oldest packet; -1 when empty, else the
    // number of data words.
    int read(std::int16_t* buffer);
    // 2 after an overflow, else 0.
    int status() const;
    // Drops every packet and clears the overflow.
    void erase();
    bool waitForPacket(int timeoutMs);
    std::size_t packetCount() const;
    std::size_t wordCount() const;

private:
    struct Packet {
        std::array<std::int16_t, packet::kHeaderWords> header{};
        std::vector<std::int16_t> data;
    };

    static std::array<std::int16_t, packet::kHeaderWords> makeHeader(int queueId, const HiresTime& time,
                                                                     std::uint16_t status);
    bool enqueueLocked(Packet&& packet);
    // Splits count values into packets of at most the maximum data size and queues them.
    template <typename Value>
    bool pushValues(int queueId, const HiresTime& time, std::uint16_t status, const Value* values,
                    std::size_t count);

    const std::size_t capacityWords_;
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Packet> packets_;
    std::size_t words_ = 0;
    bool overflow_ = false;
};

} // namespace corvane
