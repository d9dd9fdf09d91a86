#include "app/control/EngineCommunicationPass.h"

#include "communication/CommunicationEngine.h"

namespace corvane {

bool EngineCommunicationPass::runPass() {
    return engine_.communicationPass();
}

int EngineCommunicationPass::idleWaitMs() const {
    return engine_.idleWaitMs();
}

void EngineCommunicationPass::idleWait(int timeoutMs) {
    engine_.idleWait(timeoutMs);
}

void EngineCommunicationPass::sendSequence(int index, int kind) {
    engine_.send().sendSendSequence(index, kind);
}

void EngineCommunicationPass::sendTyped(const ClSequence& characters) {
    engine_.send().sendTypedCharacters(characters);
}

void EngineCommunicationPass::enqueue(const ClSequence& sequence) {
    engine_.send().enqueue(sequence);
}

void EngineCommunicationPass::takeActivity(bool& direction0, bool& direction1) {
    direction0 = engine_.receive().activity(0) || engine_.send().transmitActivity();
    direction1 = engine_.receive().activity(1);
    engine_.receive().clearActivity();
    engine_.send().clearTransmitActivity();
}

std::uint16_t EngineCommunicationPass::lastStatusFlags() const {
    return engine_.receive().lastStatusFlags();
}

void EngineCommunicationPass::setManualRtsDtr(bool rts, bool dtr) {
    engine_.send().setManualRtsDtr(rts, dtr);
}

} // namespace corvane
