#include "platform/qt/SerialPort.h"

#include "platform/SerialFunctionLibrary.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace corvane {

int SystemErrorRecord::fail(int code, int error, std::string detail) {
    std::lock_guard lock(mutex_);
    errno_ = error;
    detail_ = std::move(detail);
    return code;
}

std::string SystemErrorRecord::detail() const {
    std::lock_guard lock(mutex_);
    return detail_;
}

int SystemErrorRecord::last(std::string& text) const {
    std::lock_guard lock(mutex_);
    text = errno_ != 0 ? std::strerror(errno_) : "";
    return errno_;
}

SerialPort::SerialPort(SerialPortContext& context, int key, const SerialLineRequest& line, bool readOnly)
    : context_(context), line_(line), key_(key), readOnly_(readOnly) {}

int SerialPort::transmit(const std::int16_t* words, int count, int queueId) {
    std::lock_guard lock(mutex_);
    if (closed_) {
        return kSioBadPort;
    }
    if (lost_) {
        return context_.errors.fail(kSioSystemError, EIO);
    }
    if (queueId_ != queueId && queueId_ != 0) {
        return kSioRange;
    }
    if (readOnly_) {
        return kSioRange;
    }
    // Only data bytes go on the line; other words are markers of the sender.
    scratch_.clear();
    for (int i = 0; i < count; ++i) {
        if (words[i] >= 0 && words[i] <= 255) {
            scratch_.push_back(static_cast<std::uint8_t>(words[i]));
        }
    }
    int result = transmitBytesLocked(scratch_);
    return result > 0 ? count : result;
}

int SerialPort::waitingBytes(bool system) {
    std::lock_guard lock(mutex_);
    if (closed_) {
        return kSioBadPort;
    }
    return lost_ ? 0 : waitingBytesLocked(system);
}

int SerialPort::modemLine(char line) {
    std::lock_guard lock(mutex_);
    if (closed_) {
        return kSioBadPort;
    }
    if (lost_) {
        return context_.errors.fail(kSioSystemError, EIO);
    }
    unsigned int lines = 0;
    if (int error = readLinesLocked(lines); error != 0) {
        // A device that can't report its lines reads them low.
        return linuxserial::isUnsupported(error) ? 0 : context_.errors.fail(kSioSystemError, error);
    }
    unsigned int bit = line == 'C'   ? linuxserial::kLineCTS
                       : line == 'D' ? linuxserial::kLineDSR
                       : line == 'R' ? linuxserial::kLineDCD
                                     : linuxserial::kLineRI;
    return (lines & bit) ? 1 : 0;
}

bool SerialPort::rtsBelongsToFlowControl() const {
    return line_.flowControl == kFlowRtsCts || line_.flowControl == kFlowRtsSend;
}

int SerialPort::setOutputLine(char line, bool on) {
    std::lock_guard lock(mutex_);
    if (closed_) {
        return kSioBadPort;
    }
    if (lost_) {
        return context_.errors.fail(kSioSystemError, EIO);
    }
    if (line == 'R' && rtsBelongsToFlowControl()) {
        return 0;
    }
    int error = setLineLocked(line == 'R' ? linuxserial::kLineRTS : linuxserial::kLineDTR, on);
    if (error != 0 && !linuxserial::isUnsupported(error)) {
        return context_.errors.fail(kSioSystemError, error);
    }
    return 0;
}

int SerialPort::setBreak(bool on) {
    std::lock_guard lock(mutex_);
    if (closed_) {
        return kSioBadPort;
    }
    if (lost_) {
        return context_.errors.fail(kSioSystemError, EIO);
    }
    int error = setBreakLocked(on);
    if (error != 0 && !linuxserial::isUnsupported(error)) {
        return context_.errors.fail(kSioSystemError, error);
    }
    return 0;
}

int SerialPort::polledBytes() {
    std::lock_guard lock(mutex_);
    return closed_ ? kSioBadPort : static_cast<int>(pollBuffer_.size());
}

int SerialPort::takePolled(std::uint8_t* buffer, int count) {
    bool wake = false;
    int taken = 0;
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return kSioBadPort;
        }
        if (lost_ && pollBuffer_.empty()) {
            return context_.errors.fail(kSioSystemError, EIO);
        }
        taken = std::min<int>(std::max(count, 0), static_cast<int>(pollBuffer_.size()));
        std::copy(pollBuffer_.begin(), pollBuffer_.begin() + taken, buffer);
        pollBuffer_.erase(pollBuffer_.begin(), pollBuffer_.begin() + taken);
        // A full poll buffer held reading back; there is room again.
        wake = taken > 0 && readHeld_;
    }
    if (wake) {
        context_.wakeIoThread();
    }
    return taken;
}

void SerialPort::setQueueing(int queueId, bool watchLines) {
    {
        std::lock_guard lock(mutex_);
        queueId_ = queueId;
        watchLines_ = watchLines;
        lastLines_ = lineBitsLocked();
        // What arrived before queueing started belongs to nobody.
        pollBuffer_.clear();
    }
    context_.wakeIoThread();
}

int SerialPort::queueId() const {
    std::lock_guard lock(mutex_);
    return queueId_;
}

void SerialPort::markClosed() {
    std::lock_guard lock(mutex_);
    closed_ = true;
}

void SerialPort::markLost() {
    {
        std::lock_guard lock(mutex_);
        if (lost_) {
            return;
        }
        lost_ = true;
    }
    context_.errors.fail(0, EIO);
    pushStatus(packet::kGeneralIoError);
}

bool SerialPort::lost() const {
    std::lock_guard lock(mutex_);
    return lost_;
}

std::size_t SerialPort::admissibleBytes(std::size_t wanted) {
    std::size_t admitted = 0;
    int queueId = 0;
    {
        std::lock_guard lock(mutex_);
        queueId = queueId_;
        if (queueId == 0) {
            admitted = std::min(wanted, kPollLimit - std::min(kPollLimit, pollBuffer_.size()));
        }
    }
    if (queueId != 0) {
        const bool held = context_.heldQueueIds[static_cast<std::size_t>(queueId)].load();
        admitted = held ? 0 : context_.queue.admissibleBytes(wanted);
    }
    readHeld_ = admitted == 0;
    return admitted;
}

std::uint16_t SerialPort::lineBitsLocked() {
    if (!watchLines_ || lost_) {
        return watchLines_ ? packet::kLinesValid : 0;
    }
    unsigned int lines = 0;
    readLinesLocked(lines);
    std::uint16_t bits = packet::kLinesValid;
    bits |= (lines & linuxserial::kLineCTS) ? packet::kLineCTS : 0;
    bits |= (lines & linuxserial::kLineDSR) ? packet::kLineDSR : 0;
    bits |= (lines & linuxserial::kLineDCD) ? packet::kLineDCD : 0;
    bits |= (lines & linuxserial::kLineRI) ? packet::kLineRI : 0;
    return bits;
}

void SerialPort::pushStatus(std::uint16_t status) {
    int queueId = this->queueId();
    if (queueId != 0) {
        context_.queue.pushBytes(queueId, context_.clock.now(), status, nullptr, 0);
    }
}

void SerialPort::deliver(const std::uint8_t* data, std::size_t count) {
    if (count == 0) {
        return;
    }
    HiresTime time = context_.clock.now();
    std::lock_guard lock(mutex_);
    if (queueId_ != 0) {
        std::uint16_t status = watchLines_ ? lastLines_ : 0;
        context_.queue.pushBytes(queueId_, time, status, data, count);
        return;
    }
    std::size_t room = kPollLimit - std::min(kPollLimit, pollBuffer_.size());
    pollBuffer_.insert(pollBuffer_.end(), data, data + std::min(room, count));
}

bool SerialPort::needsTicks() {
    std::lock_guard lock(mutex_);
    return !lost_ && !closed_ && ((watchLines_ && queueId_ != 0) || needsTicksLocked());
}

void SerialPort::tick(std::int64_t nowUs, bool linesDue) {
    std::vector<std::uint8_t> arrived;
    std::uint16_t lineChange = 0;
    // What arrives on the loopback line waits there while the queue holds reading back.
    const std::size_t room = isLoopback() ? admissibleBytes(kReadChunk) : 0;
    {
        std::lock_guard lock(mutex_);
        if (lost_ || closed_) {
            return;
        }
        tickLocked(nowUs, room, arrived);
        if (linesDue && watchLines_ && queueId_ != 0) {
            std::uint16_t bits = lineBitsLocked();
            if (bits != lastLines_) {
                lastLines_ = bits;
                lineChange = static_cast<std::uint16_t>(bits | packet::kLineChange);
            }
        }
    }
    deliver(arrived.data(), arrived.size());
    if (lineChange != 0) {
        pushStatus(lineChange);
    }
}

} // namespace corvane
