#pragma once

#include "app/control/DisplayStatus.h"
#include "app/control/EngineCommunicationPass.h"
#include "app/control/MainController.h"
#include "app/control/MainWindowView.h"
#include "app/control/ProgramContext.h"
#include "communication/CommunicationEngine.h"
#include "display/CommOutputRouter.h"
#include "display/MdLogging.h"
#include "persistence/ProgramSettingsData.h"
#include "persistence/ProjectIdentity.h"
#include "platform/PolledTimerService.h"
#include "platform/SettingsStore.h"
#include "platform/fakes/FakeChannelSocket.h"
#include "platform/fakes/FakeClipboard.h"
#include "platform/fakes/FakeHiresTimeSource.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/fakes/FakeNotepadCompanion.h"
#include "platform/fakes/FakeProjectFileDialog.h"
#include "platform/fakes/FakeSequenceListListener.h"
#include "platform/fakes/FakeSerialFunctionLibrary.h"
#include "platform/fakes/FakeSystemClock.h"
#include "sequences/modSequenceManagement.h"
#include "support/FileContents.h"
#include "support/SequenceOf.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace corvane::test {

// The main window as the application layer sees it: what it was asked to show, in order.
class RecordingMainWindow : public MainWindowView, public StatusBarView {
public:
    void showCaption(const std::string& text) override { captionText = text; }
    std::string caption() const override { return captionText; }
    void showCommandStates(const CommandStates& shown) override { states = shown; }
    void showClickLabels(const ClickLabels& shown) override { labels = shown; }
    void setCommTabs() override { calls.push_back("setCommTabs"); }
    void setWaitCursor(bool) override {}
    void closeFindDialog() override { calls.push_back("closeFindDialog"); }
    void rebuildRecentMenu() override { calls.push_back("rebuildRecentMenu"); }
    void refreshSequenceList(SequenceListKind kind) override {
        calls.push_back(kind == SequenceListKind::Send ? "refreshSend" : "refreshReceive");
    }
    void refreshSendRow(int index) override { calls.push_back("refreshSendRow " + std::to_string(index)); }
    void selectSequenceRow(SequenceListKind, int row, bool) override { selectedRow = row; }
    bool copyCommWindowBuffers() override {
        calls.push_back("copy");
        return windowFlooded;
    }
    void clearCommWindows() override { calls.push_back("clear"); }
    void focusVisibleCommWindow() override {}
    void emptyCommWindows() override { calls.push_back("emptyWindows"); }
    void clearSnapshotMarkers() override { calls.push_back("clearMarkers"); }
    void processEvents(bool waitForMore) override { calls.push_back(waitForMore ? "wait" : "events"); }
    void closeAfterInternalError() override { calls.push_back("close"); }

    // StatusBarView.
    void showPanel(int panel, const std::string& text, bool) override {
        panels[static_cast<std::size_t>(panel)] = text;
    }
    void showLineIndicators(bool visible, const std::string&, const std::string&) override {
        indicatorsShown = visible;
    }
    bool lineIndicatorsShown() const override {
        ++indicatorQueries;
        return indicatorsShown;
    }
    void showLineStates(const std::array<bool, 6>& states, const std::array<bool, 6>&) override {
        lines = states;
    }
    void showActivityIcon(int) override {}

    std::string captionText;
    CommandStates states;
    ClickLabels labels;
    std::vector<std::string> calls;
    // What copyCommWindowBuffers answers: the move replaced the whole window.
    bool windowFlooded = false;
    int selectedRow = -1;
    std::array<std::string, 6> panels;
    bool indicatorsShown = false;
    // The status refresh asks whether the indicators are shown: one question per refresh.
    mutable int indicatorQueries = 0;
    std::array<bool, 6> lines{};
};

// The application layer over fakes: settings in memory, messages and file dialogs scripted, the
// real engine over the fake serial library, project files in a fresh temporary folder.
class ControlTest : public ::testing::Test {
protected:
    ControlTest() {
        controller.project().setDocumentsFolder(directory);
        engine.setShell(&controller);
    }

    // A copy of a sample project in the temporary folder; returns its path.
    std::string copySample(const std::string& name) {
        const std::string path = directory + name;
        std::filesystem::copy_file(std::string(CORVANE_SAMPLES_DIR) + "/" + name, path,
                                   std::filesystem::copy_options::overwrite_existing);
        return path;
    }
    void addSend(const std::string& name, const std::string& text) {
        auto& list = lists.sendList();
        const int index = list.upperIndex();
        lists.sendSeq_addNewElement();
        list[index].name = name;
        list[index].sequence.copyFrom(sequenceOf(Representation::ASCII, text));
    }
    void addReceive(const std::string& name, const std::string& text, int answer = -1) {
        auto& list = lists.receiveList();
        const int index = list.upperIndex();
        lists.receiveSeq_addNewElement();
        list[index].name = name;
        list[index].sequence.copyFrom(sequenceOf(Representation::ASCII, text));
        if (answer >= 0) {
            list[index].answerIndex = static_cast<std::int16_t>(answer);
            list[index].answerName = lists.sendList()[answer].name;
        }
    }
    // Communication on the fake library's loopback-free port.
    void start() {
        controller.communication().execUserStart();
        ASSERT_TRUE(controller.communication().communicationRuns())
            << (messages.shown.empty() ? "" : messages.shown.back().text);
    }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& request : messages.shown) {
            texts.push_back(request.text);
        }
        return texts;
    }

    TempFolder folder;
    std::string directory = folder.directory();
    ProgramSettingsData settings;
    MemorySettingsStore store;
    FakeMessageService messages;
    CommunicationSettings communicationSettings;
    ProjectIdentity current;
    FakeClipboard clipboard;
    FakeSequenceListListener listener;
    modSequenceManagement lists{messages, clipboard, listener};
    FakeNotepadCompanion notepad;
    FakeSerialFunctionLibrary library;
    FakeSocketFactory sockets;
    FakeSystemClock clock;
    FakeHiresTimeSource time;
    ClCommChannel channel1{library, &sockets, &clock};
    ClCommChannel channel2{library, &sockets, &clock};
    CommOutputRouter router{nullptr, nullptr};
    PolledTimerService timers{clock};
    MdLogging logging{settings, messages, timers, clock, time};
    CommunicationEngine engine{library,
                               channel1,
                               channel2,
                               communicationSettings,
                               settings.expertOptions,
                               lists.sendList(),
                               lists.receiveList(),
                               messages,
                               clock,
                               router,
                               time};
    bool stopRequested = false;
    ProgramContext context{
        settings, store,  messages, communicationSettings, current, lists, notepad, engine, channel1,
        channel2, router, logging,  stopRequested};
    RecordingMainWindow window;
    FakeProjectFileDialog fileDialog;
    MainController controller{context,    window, window,
                              fileDialog, clock,  std::make_unique<EngineCommunicationPass>(engine)};
};

} // namespace corvane::test
