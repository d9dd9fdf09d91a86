#include "sequences/ClLineBreakDetector.h"

namespace corvane {

namespace {
constexpr int kCr = 13;
constexpr int kLf = 10;
} // namespace

void ClLineBreakDetector::processNextCharacter(int character) {
    newLineBefore_ = false;
    newLineAfter_ = false;
    switch (state_) {
    case State::Idle:
        if (character == kCr) {
            state_ = State::AfterCr;
        } else if (character == kLf) {
            state_ = State::AfterLf;
        }
        break;
    case State::AfterCr:
        if (character == kCr) {
            // The first CR ends its line; the second one is pending itself.
            newLineBefore_ = true;
        } else if (character == kLf) {
            newLineAfter_ = true;
            state_ = State::Idle;
        } else {
            newLineBefore_ = true;
            state_ = State::Idle;
        }
        break;
    case State::AfterLf:
        if (character == kCr) {
            newLineAfter_ = true;
            state_ = State::Idle;
        } else if (character == kLf) {
            newLineBefore_ = true;
        } else {
            newLineBefore_ = true;
            state_ = State::Idle;
        }
        break;
    }
}

void ClLineBreakDetector::reset() {
    state_ = State::Idle;
    newLineBefore_ = false;
    newLineAfter_ = false;
}

} // namespace corvane
