#pragma once

#include "platform/SerialFunctionLibrary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace corvane {

// The shared receive queue: time-stamped packets of received data from every port, tap and
// socket. Bounded; a packet that does not fit is dropped and the queue reports overflow until it
// is emptied. Writers never block on a full queue; packets keep their order. One thread waits
// for packets (the main loop).
//
// The readers of ports ask admissibleBytes() before they read, so that they never fill it: above
// the high-water mark (half the capacity) they stop reading, which leaves the data in the line or
// the system and holds a sender with flow control back. Once the queue has been read down to the
// low-water mark (a quarter), the resume handler tells them to read again.
class ReceiveQueue {
public:
    static constexpr std::size_t kDefaultCapacityWords = std::size_t{1} << 22;
    // Kept free above what readers are admitted, for the reports of line changes and errors.
    static constexpr std::size_t kReportReserveWords = 8 * packet::kHeaderWords;

    explicit ReceiveQueue(std::size_t capacityWords = kDefaultCapacityWords);
    ~ReceiveQueue();
    ReceiveQueue(const ReceiveQueue&) = delete;
    ReceiveQueue& operator=(const ReceiveQueue&) = delete;

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
    // Waits at most timeoutMs for a packet; true when one is there.
    bool waitForPacket(int timeoutMs);
    // The parts of waitForPacket, for a waiter that watches other descriptors too: beginWait is
    // false when a packet is there already; else, until endWait, a packet that arrives makes
    // arrivalDescriptor() readable. signalled: whether the wait saw it readable. endWait tells
    // whether a packet is there.
    bool beginWait();
    int arrivalDescriptor() const { return arrivalRead_; }
    bool endWait(bool signalled);
    std::size_t packetCount() const;
    std::size_t wordCount() const;

    // How many of wanted received bytes a reader may queue now without passing the high-water
    // mark or the capacity; 0 means: stop reading until the resume handler is called.
    std::size_t admissibleBytes(std::size_t wanted);
    // Called, on the thread that reads or empties the queue, when a reader was turned away and
    // the queue has come down to the low-water mark.
    void setResumeHandler(std::function<void()> handler);
    std::size_t highWaterWords() const { return highWater_; }
    std::size_t lowWaterWords() const { return lowWater_; }
    // Whether a reader has been turned away since the queue last came down to the low-water mark.
    bool readersHeld() const;

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
    // After words were taken out: the resume handler when held readers may go on (the mark is
    // cleared then), else nothing.
    std::function<void()> resumeHandlerWhenDueLocked();

    const std::size_t capacityWords_;
    const std::size_t highWater_;
    const std::size_t lowWater_;
    mutable std::mutex mutex_;
    std::deque<Packet> packets_;
    std::size_t words_ = 0;
    bool overflow_ = false;
    bool readersHeld_ = false;
    std::function<void()> resumeHandler_;
    // A pipe, not a condition variable, so that the wait can watch ports too; and a writer on
    // a pipe hands the waiter its own processor, which wakes it sooner.
    int arrivalRead_ = -1;
    int arrivalWrite_ = -1;
    bool waiting_ = false;
};

} // namespace corvane
