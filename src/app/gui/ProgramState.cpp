#include "app/gui/ProgramState.h"

#include "platform/SettingsStore.h"

namespace corvane {

ProgramState::ProgramState(std::unique_ptr<SettingsStore> settingsStore)
    : store(std::move(settingsStore)), library(*store, &enumerator) {
    router.setLog(&logging);
}

ProgramState::~ProgramState() {
    releaseChannels();
}

void ProgramState::createChannels() {
    channel1 = std::make_unique<ClCommChannel>(library);
    channel2 = std::make_unique<ClCommChannel>(library);
    communication = std::make_unique<MdCommunication>(library, *channel1, *channel2, communicationSettings,
                                                      settings.expertOptions, messages, clock, &hooksRelay);
}

void ProgramState::releaseChannels() {
    if (communication && !communication->communicationStopped()) {
        communication->stopCommunication();
    }
    communication.reset();
    channel2.reset();
    channel1.reset();
}

} // namespace corvane
