#pragma once

#include "platform/SerialFunctionLibrary.h"
#include "sequences/CharacterCode.h"

#include <span>
#include <string>

namespace corvane {

// Watches a run from outside the display: the data that passed on the lines, the receive
// sequences detected and the channel errors and data losses the engine reported. The headless
// runner judges a run by it; nothing in the engine depends on what the observer does, except that
// a detection may ask for the stop that a sequence's own stop action would cause.
class CommunicationObserver {
public:
    virtual ~CommunicationObserver() = default;

    // Words of direction 0 or 1 that were processed after their arrival, or transmitted by the
    // send processing (direction 0). Words outside 0..255 mark line events, not data.
    virtual void dataPassed(int /*direction*/, std::span<const CharCode> /*words*/) {}
    // Receive sequence index was detected in direction 0 or 1 in a packet that arrived at arrival.
    // True stops communication as the stop action of the sequence would.
    virtual bool sequenceDetected(int /*index*/, int /*direction*/, const HiresTime& /*arrival*/) {
        return false;
    }
    // A channel error or a loss of data was reported in the communication data: lost input, a
    // line error, a line gone, data not forwarded, the send queue overflowing. text is the
    // message after "CORVANE reports: ".
    virtual void troubleReported(const std::string& /*text*/) {}
};

} // namespace corvane
