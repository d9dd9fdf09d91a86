#include "platform/serial/ParityMarkDecoder.h"

namespace corvane {

std::size_t ParityMarkDecoder::decode(const std::uint8_t* data, std::size_t count,
                                      std::vector<std::uint8_t>& out) {
    std::size_t replaced = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t b = data[i];
        switch (state_) {
        case State::Normal:
            if (b == 0xFF) {
                state_ = State::AfterMark;
            } else {
                out.push_back(b);
            }
            break;
        case State::AfterMark:
            if (b == 0xFF) {
                out.push_back(0xFF);
                state_ = State::Normal;
            } else if (b == 0x00) {
                state_ = State::AfterMarkZero;
            } else {
                // Not a mark the system writes: keep both bytes as they came.
                out.push_back(0xFF);
                out.push_back(b);
                state_ = State::Normal;
            }
            break;
        case State::AfterMarkZero:
            out.push_back(errorCharacter_);
            ++replaced;
            state_ = State::Normal;
            break;
        }
    }
    return replaced;
}

} // namespace corvane
