#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane {

// Decodes the byte stream of a Linux serial port read with parity marking (INPCK and PARMRK):
// the system writes a byte received with a parity or framing error as 0xFF 0x00 byte and a
// received 0xFF as 0xFF 0xFF. The decoder puts the parity error character in place of each
// faulty byte and undoes the doubling. Marks split across reads are kept until the next read.
class ParityMarkDecoder {
public:
    void setErrorCharacter(std::uint8_t character) { errorCharacter_ = character; }
    void reset() { state_ = State::Normal; }
    // Appends the decoded bytes to out; returns the number of faulty bytes replaced.
    std::size_t decode(const std::uint8_t* data, std::size_t count, std::vector<std::uint8_t>& out);

private:
    enum class State { Normal, AfterMark, AfterMarkZero };
    State state_ = State::Normal;
    std::uint8_t errorCharacter_ = 63;
};

} // namespace corvane
