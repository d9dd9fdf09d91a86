#pragma once

#include <cstdint>

namespace corvane {

class ClSequence;

// The communication work of one main loop pass and the sends the user asks for, as the main
// window calls them.
class CommunicationPass {
public:
    virtual ~CommunicationPass() = default;
    // Receive processing, send queue, periodic sending and the channel error check; true when
    // there was nothing to receive.
    virtual bool runPass() = 0;
    // The idle wait: at most timeoutMs, over when data arrives.
    virtual void idleWait(int timeoutMs) = 0;
    // How long a pass that found nothing may wait: short while sending is timed, longer while
    // the line is quiet.
    virtual int idleWaitMs() const { return 1; }
    // A send sequence of the list: kind 0 send once, 1 start periodic sending, 2 stop it.
    virtual void sendSequence(int index, int kind) = 0;
    // Typed characters of the keyboard console, sent at once on channel 1.
    virtual void sendTyped(const ClSequence& characters) = 0;
    // A sequence for the send queue (paste into a running communication window).
    virtual void enqueue(const ClSequence& sequence) = 0;
    // Activity per direction since the last call; reading clears it.
    virtual void takeActivity(bool& direction0, bool& direction1) = 0;
    // The status flags word of the last received packet.
    virtual std::uint16_t lastStatusFlags() const = 0;
    virtual void setManualRtsDtr(bool rts, bool dtr) = 0;
};

} // namespace corvane
