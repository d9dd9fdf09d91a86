#include "platform/serial/ReceiveQueue.h"

#include <algorithm>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace corvane {

ReceiveQueue::ReceiveQueue(std::size_t capacityWords)
    : capacityWords_(capacityWords), highWater_(capacityWords / 2), lowWater_(capacityWords / 4) {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        arrivalRead_ = ends[0];
        arrivalWrite_ = ends[1];
    }
}

ReceiveQueue::~ReceiveQueue() {
    ::close(arrivalRead_);
    ::close(arrivalWrite_);
}

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
    bool wake = false;
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
        wake = waiting_;
        waiting_ = false;
    }
    if (wake) {
        const char arrived = 1;
        [[maybe_unused]] ssize_t written = ::write(arrivalWrite_, &arrived, 1);
    }
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
    int count = -1;
    std::function<void()> resumeReaders;
    {
        std::lock_guard lock(mutex_);
        if (packets_.empty()) {
            return -1;
        }
        Packet& p = packets_.front();
        std::copy(p.header.begin(), p.header.end(), buffer);
        std::copy(p.data.begin(), p.data.end(), buffer + packet::kHeaderWords);
        count = static_cast<int>(p.data.size());
        words_ -= packet::kHeaderWords + p.data.size();
        packets_.pop_front();
        resumeReaders = resumeHandlerWhenDueLocked();
    }
    if (resumeReaders) {
        resumeReaders();
    }
    return count;
}

int ReceiveQueue::status() const {
    std::lock_guard lock(mutex_);
    return overflow_ ? 2 : 0;
}

void ReceiveQueue::erase() {
    std::function<void()> resumeReaders;
    {
        std::lock_guard lock(mutex_);
        packets_.clear();
        words_ = 0;
        overflow_ = false;
        resumeReaders = resumeHandlerWhenDueLocked();
    }
    // Called outside the lock, so that the handler may wake the readers without holding them up.
    if (resumeReaders) {
        resumeReaders();
    }
}

bool ReceiveQueue::waitForPacket(int timeoutMs) {
    if (!beginWait()) {
        return true;
    }
    pollfd arrival{arrivalRead_, POLLIN, 0};
    ::poll(&arrival, 1, std::max(timeoutMs, 0));
    return endWait(arrival.revents != 0);
}

bool ReceiveQueue::beginWait() {
    std::lock_guard lock(mutex_);
    if (!packets_.empty()) {
        return false;
    }
    waiting_ = true;
    return true;
}

bool ReceiveQueue::endWait(bool signalled) {
    if (signalled) {
        char arrived[64];
        while (::read(arrivalRead_, arrived, sizeof arrived) > 0) {
        }
    }
    std::lock_guard lock(mutex_);
    // A writer that found the waiter still there may write its byte after this: the next wait
    // then returns at once and finds out whether there is a packet, which costs a look and loses
    // nothing.
    waiting_ = false;
    return !packets_.empty();
}

std::size_t ReceiveQueue::packetCount() const {
    std::lock_guard lock(mutex_);
    return packets_.size();
}

std::size_t ReceiveQueue::wordCount() const {
    std::lock_guard lock(mutex_);
    return words_;
}

std::size_t ReceiveQueue::admissibleBytes(std::size_t wanted) {
    std::lock_guard lock(mutex_);
    std::size_t admitted = 0;
    // Once turned away, readers wait until the queue has come down to the low-water mark.
    if (!readersHeld_ && words_ < highWater_ && words_ + kReportReserveWords < capacityWords_) {
        // Room for the data and a header for every packet it may be split into.
        const std::size_t room = capacityWords_ - kReportReserveWords - words_;
        const std::size_t headers = packet::kHeaderWords * (room / packet::kMaxDataWords + 1);
        admitted = room > headers ? std::min(wanted, room - headers) : 0;
    }
    if (admitted == 0 && wanted > 0) {
        readersHeld_ = true;
    }
    return admitted;
}

void ReceiveQueue::setResumeHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    resumeHandler_ = std::move(handler);
}

bool ReceiveQueue::readersHeld() const {
    std::lock_guard lock(mutex_);
    return readersHeld_;
}

std::function<void()> ReceiveQueue::resumeHandlerWhenDueLocked() {
    if (!readersHeld_ || words_ > lowWater_) {
        return {};
    }
    readersHeld_ = false;
    return resumeHandler_;
}

} // namespace corvane
