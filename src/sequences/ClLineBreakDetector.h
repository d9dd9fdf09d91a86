#pragma once

#include <cstdint>

namespace corvane {

// Decides, character by character, where a stream of data bytes breaks into lines. CR, LF,
// CR LF and LF CR each count as one line end; the results of the last character say whether a
// new line begins before it or after it. A line end at the end of the data stays pending until
// more data arrives.
class ClLineBreakDetector {
public:
    void processNextCharacter(int character);

    bool newLineBeforeCharacter() const { return newLineBefore_; }
    bool newLineAfterCharacter() const { return newLineAfter_; }
    // A line end has been seen whose break is not yet reported.
    bool lineBreakPending() const { return state_ != State::Idle; }

    void reset();

private:
    enum class State : std::int32_t { Idle = 0, AfterCr = 1, AfterLf = 2 };

    State state_ = State::Idle;
    bool newLineBefore_ = false;
    bool newLineAfter_ = false;
};

} // namespace corvane
