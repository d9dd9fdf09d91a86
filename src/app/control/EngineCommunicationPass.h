#pragma once

#include "app/control/CommunicationPass.h"

namespace corvane {

class CommunicationEngine;

// The main loop's communication work done by the engine.
class EngineCommunicationPass : public CommunicationPass {
public:
    explicit EngineCommunicationPass(CommunicationEngine& engine) : engine_(engine) {}

    bool runPass() override;
    void idleWait(int timeoutMs) override;
    int idleWaitMs() const override;
    void sendSequence(int index, int kind) override;
    void sendTyped(const ClSequence& characters) override;
    void enqueue(const ClSequence& sequence) override;
    void takeActivity(bool& direction0, bool& direction1) override;
    std::uint16_t lastStatusFlags() const override;
    void setManualRtsDtr(bool rts, bool dtr) override;

private:
    CommunicationEngine& engine_;
};

} // namespace corvane
