#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace corvane {

// The line of the built-in loopback port: bytes written come back in order, each one character
// time after the previous one, as a real line at the configured baud rate and character size
// would deliver them. Times are in microseconds of a steady clock.
class LoopbackLine {
public:
    // baudRate <= 0 means 9600. stopBits is the library code (0 one, 1 one and a half, 2 two).
    void configure(int baudRate, int dataBits, bool parity, int stopBits);
    // Microseconds per character (start bit, data bits, parity bit, stop bits).
    double characterTimeUs() const { return characterTimeUs_; }

    void write(const std::uint8_t* data, std::size_t count, std::int64_t nowUs);
    // The bytes whose last bit has arrived by nowUs, at most maxBytes of them (the others stay
    // on the line, due).
    std::vector<std::uint8_t> takeDue(std::int64_t nowUs, std::size_t maxBytes = SIZE_MAX);
    std::size_t pending() const { return bytes_.size(); }
    // When the next byte is due; only meaningful while bytes are pending.
    std::int64_t nextDueUs() const { return static_cast<std::int64_t>(nextDueUs_); }
    void clear() { bytes_.clear(); }

private:
    std::deque<std::uint8_t> bytes_;
    double characterTimeUs_ = 1e6 * 10.0 / 9600.0;
    double nextDueUs_ = 0;
};

} // namespace corvane
