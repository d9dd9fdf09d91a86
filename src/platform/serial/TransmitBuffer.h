#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane {

// The bytes of one port that wait for the line, in order. A transmission is written at once when
// nothing waits; what the port does not take at once waits here and is written, oldest first,
// when the port can take more. Not locked: the port that owns it holds its lock around every call.
//
// The write function writes up to count bytes without blocking and returns how many it took, or
// -1 with errno set; EAGAIN and EINTR mean "none now".
class TransmitBuffer {
public:
    enum class Offer {
        Taken,  // all bytes written or waiting
        Full,   // nothing taken: they would pass the limit
        Failed, // nothing more taken: the write failed (error())
    };

    explicit TransmitBuffer(std::size_t limitBytes) : limit_(limitBytes) {}

    template <typename Write> Offer offer(const std::uint8_t* data, std::size_t count, Write&& write);
    // Writes what waits until the port takes no more; false when a write failed (error()).
    template <typename Write> bool drain(Write&& write);

    std::size_t waiting() const { return bytes_.size() - head_; }
    bool empty() const { return waiting() == 0; }
    void clear();
    std::size_t limit() const { return limit_; }
    // errno of the failed write.
    int error() const { return error_; }

private:
    // Bytes written, or -1 after a failure; 0 when the port takes nothing now.
    template <typename Write> long writeSome(const std::uint8_t* data, std::size_t count, Write& write);
    void append(const std::uint8_t* data, std::size_t count);

    std::size_t limit_;
    std::vector<std::uint8_t> bytes_;
    std::size_t head_ = 0;
    int error_ = 0;
};

template <typename Write>
long TransmitBuffer::writeSome(const std::uint8_t* data, std::size_t count, Write& write) {
    long written = static_cast<long>(write(data, count));
    if (written >= 0) {
        return written;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
        return 0;
    }
    error_ = errno;
    return -1;
}

template <typename Write>
TransmitBuffer::Offer TransmitBuffer::offer(const std::uint8_t* data, std::size_t count, Write&& write) {
    if (waiting() + count > limit_) {
        return Offer::Full;
    }
    std::size_t done = 0;
    if (empty() && count > 0) {
        long written = writeSome(data, count, write);
        if (written < 0) {
            return Offer::Failed;
        }
        done = static_cast<std::size_t>(written);
    }
    append(data + done, count - done);
    return Offer::Taken;
}

template <typename Write> bool TransmitBuffer::drain(Write&& write) {
    while (!empty()) {
        long written = writeSome(bytes_.data() + head_, waiting(), write);
        if (written < 0) {
            return false;
        }
        if (written == 0) {
            break;
        }
        head_ += static_cast<std::size_t>(written);
    }
    if (empty()) {
        clear();
    }
    return true;
}

} // namespace corvane
