#pragma once

#include "app/gui/CommunicationPass.h"

#include <array>
#include <cstdint>
#include <vector>

namespace corvane {

class DataOutput;
class MdCommunication;
class SerialFunctionLibrary;
class modSequenceManagement;

// Moves the traffic to the data output without receive-sequence detection and sends list
// sequences at once (no queue, no periodic sending): what the program does until the engine's
// receive and send processing are wired in.
class InterimCommunicationPass : public CommunicationPass {
public:
    InterimCommunicationPass(SerialFunctionLibrary& library, MdCommunication& communication,
                             DataOutput& output, modSequenceManagement& lists);

    void prepare() override;
    bool receiveProcessing() override;
    void sendProcessing() override {}
    void periodicSending() override {}
    void channelErrorCheck() override {}
    void sendSequence(int index, int kind) override;
    void sendTyped(const ClSequence& characters) override;
    void enqueue(const ClSequence& sequence) override;
    bool takeActivity(int direction) override;
    std::uint16_t lastStatusFlags() const override { return lastStatus_; }
    void setManualRtsDtr(bool rts, bool dtr) override;

private:
    void transmit(const ClSequence& sequence);

    SerialFunctionLibrary& library_;
    MdCommunication& communication_;
    DataOutput& output_;
    modSequenceManagement& lists_;
    std::vector<std::int16_t> buffer_;
    std::array<bool, 2> activity_{false, false};
    std::uint16_t lastStatus_ = 0;
};

} // namespace corvane
