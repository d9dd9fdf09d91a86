#include "app/gui/ProgramState.h"

#include "platform/SettingsStore.h"

namespace corvane {

ProgramState::ProgramState(std::unique_ptr<SettingsStore> settingsStore, MessageService* messageService)
    : store(std::move(settingsStore)), messages(messageService != nullptr ? *messageService : messageBoxes),
      library(*store, &enumerator) {
    library.setTapResolver(
        [this](int tapNumber, std::string& path) { return taps.findTapDevice(tapNumber, path); });
    router.setLog(&logging);
}

ProgramState::~ProgramState() {
    releaseChannels();
}

void ProgramState::createChannels() {
    channel1 = std::make_unique<ClCommChannel>(library);
    channel2 = std::make_unique<ClCommChannel>(library);
    engine = std::make_unique<CommunicationEngine>(
        library, *channel1, *channel2, communicationSettings, settings.expertOptions, lists.sendList(),
        lists.receiveList(), messages, clock, router, timeSource, &hooksRelay);
    communication = &engine->communication();
    output = &engine->output();
}

void ProgramState::releaseChannels() {
    if (communication && !communication->communicationStopped()) {
        communication->stopCommunication();
    }
    communication = nullptr;
    output = nullptr;
    engine.reset();
    channel2.reset();
    channel1.reset();
}

} // namespace corvane
