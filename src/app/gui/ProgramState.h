#pragma once

#include "communication/ClCommChannel.h"
#include "communication/CommunicationEngine.h"
#include "communication/CommunicationSettings.h"
#include "communication/DataOutput.h"
#include "communication/MdCommunication.h"
#include "communication/MdTapSupport.h"
#include "display/CommOutputRouter.h"
#include "display/MdLogging.h"
#include "persistence/ProgramSettingsData.h"
#include "persistence/ProjectIdentity.h"
#include "platform/FtdiDeviceList.h"
#include "platform/HiresTimeSource.h"
#include "platform/SequenceListListener.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtMessageService.h"
#include "platform/qt/QtScreenInfo.h"
#include "platform/qt/QtSerialDeviceEnumerator.h"
#include "platform/qt/QtSerialFunctionLibrary.h"
#include "platform/qt/QtTimerService.h"
#include "sequences/modSequenceManagement.h"

#include <functional>
#include <memory>

namespace corvane {

class SettingsStore;

// Hands list changes on to whoever listens now (the main window, once it exists).
class SequenceListRelay : public SequenceListListener {
public:
    void refreshSequenceLists(bool sendList, bool receiveList) override {
        if (target) {
            target(sendList, receiveList);
        }
    }
    std::function<void(bool, bool)> target;
};

// Hands the start and stop steps of communication on to the main window, once it exists.
class CommunicationHooksRelay : public CommunicationHooks {
public:
    void showWaitCursor(bool wait) override {
        if (target)
            target->showWaitCursor(wait);
    }
    void closeFindDialog() override {
        if (target)
            target->closeFindDialog();
    }
    void resetDataOutputBuffers() override {
        if (target)
            target->resetDataOutputBuffers();
    }
    void prepareSequenceLists() override {
        if (target)
            target->prepareSequenceLists();
    }
    void resetSendQueue() override {
        if (target)
            target->resetSendQueue();
    }
    void resetLineBreakDetector() override {
        if (target)
            target->resetLineBreakDetector();
    }
    void expertOptionsChanged() override {
        if (target)
            target->expertOptionsChanged();
    }
    void refreshMainWindowStatus() override {
        if (target)
            target->refreshMainWindowStatus();
    }
    void endSnapshotMode() override {
        if (target)
            target->endSnapshotMode();
    }
    void resetRepeatSend() override {
        if (target)
            target->resetRepeatSend();
    }
    bool isShuttingDown() const override { return target != nullptr && target->isShuttingDown(); }

    CommunicationHooks* target = nullptr;
};

// The program-wide state and services of the running program: settings, the project's lists and
// communication settings, the serial library, the channels and the data output path. The
// project's notepad is a window and comes with the main window.
class ProgramState {
public:
    // The store is the user's settings (or a test's file); the library reads its port map from it.
    // Messages go to message boxes unless another service is given (tests record them).
    explicit ProgramState(std::unique_ptr<SettingsStore> store, MessageService* messageService = nullptr);
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    // Start-up step 7: the two channel objects and the start and stop of communication over them.
    void createChannels();
    // Shut-down: both channels released.
    void releaseChannels();
    bool channelsCreated() const { return communication != nullptr; }

    std::unique_ptr<SettingsStore> store;
    QtMessageService messageBoxes;
    MessageService& messages;
    QtClipboard clipboard;
    QtTimerService timers;
    QtScreenInfo screens;
    RealSystemClock clock;
    SequenceListRelay listRelay;
    CommunicationHooksRelay hooksRelay;
    QtSerialDeviceEnumerator enumerator;
    // The USB monitoring taps among the system's devices; the library asks them for a tap's device.
    SerialDeviceFtdiList ftdiDevices{enumerator};
    MdTapSupport taps{&ftdiDevices, store.get()};
    QtSerialFunctionLibrary library;
    LibraryHiresTimeSource timeSource{library};

    ProgramSettingsData settings;
    CommunicationSettings communicationSettings;
    ProjectIdentity current;
    modSequenceManagement lists{messages, clipboard, listRelay};

    CommOutputRouter router{nullptr, nullptr};
    MdLogging logging{settings, messages, timers, clock, timeSource};

    std::unique_ptr<ClCommChannel> channel1;
    std::unique_ptr<ClCommChannel> channel2;
    // The engine: start and stop, receive and send processing, data output (to the router).
    std::unique_ptr<CommunicationEngine> engine;
    // The engine's parts, while the channels exist.
    MdCommunication* communication = nullptr;
    DataOutput* output = nullptr;

    // Set when the main loop shall end after its current pass.
    bool stopRequested = false;
};

} // namespace corvane
