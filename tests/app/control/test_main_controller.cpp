// The command table, the display status, the main loop pass and the status bar of the main
// window, decided without widgets.
#include "ControlFixture.h"

#include "app/control/KeyboardCommands.h"
#include "app/control/SequenceListRows.h"
#include "communication/MdCommunication.h"
#include "platform/InternalError.h"

namespace corvane {
namespace {

using MainControllerTest = test::ControlTest;

TEST(DeferredCommands, OnlyRegisteredKeysOfTheTableRunAndThePendingKeyIsTakenFirst) {
    DeferredCommands commands;
    int changes = 0;
    commands.setChangeListener([&] { ++changes; });
    std::vector<std::string> ran;
    commands.registerCommand("Find", [&] {
        ran.push_back("Find");
        EXPECT_TRUE(commands.pendingCommand().empty());
        // A command may post the next one.
        commands.setPendingCommand("Options");
    });
    commands.registerCommand("Notepad", [&] { ran.push_back("Notepad"); });
    EXPECT_EQ(changes, 2);

    commands.setPendingCommand("Find");
    commands.runDeferredCommand();
    EXPECT_EQ(commands.pendingCommand(), "Options");
    // Options isn't registered; "Notepad" is no deferred key.
    for (const char* key : {"Options", "Notepad", "NoSuchCommand", ""}) {
        commands.setPendingCommand(key);
        commands.runDeferredCommand();
        EXPECT_TRUE(commands.pendingCommand().empty()) << key;
    }
    EXPECT_EQ(ran, std::vector<std::string>{"Find"});
    EXPECT_TRUE(commands.runNow("Notepad"));
    EXPECT_FALSE(commands.runNow("Options"));
    EXPECT_EQ(ran.back(), "Notepad");

    commands.registerCommand("Find", nullptr);
    EXPECT_FALSE(commands.available("Find"));
    EXPECT_EQ(changes, 3);
    for (const std::string& key : dialogCommandKeys()) {
        EXPECT_EQ(DeferredCommands::tableKeys().count(key), 1u) << key;
    }
}

TEST_F(MainControllerTest, CommandStatesFollowCommunicationProjectAndRegisteredWindows) {
    controller.setMainScreenDisplayStatus();
    auto state = [&](const char* key) { return window.states.commands.at(key); };
    EXPECT_TRUE(window.states.menusShown);
    EXPECT_TRUE(state("Start").enabled);
    EXPECT_FALSE(state("Stop").enabled);
    EXPECT_FALSE(state("Save").enabled);
    // Windows that aren't there stay disabled.
    for (const char* key : {"ProjectSettings", "Options", "Find", "Print", "LogStart", "EditSendSeq"}) {
        EXPECT_FALSE(state(key).enabled) << key;
    }
    EXPECT_TRUE(state("LogStart").buttonShown);
    EXPECT_FALSE(state("LogStop").buttonShown);
    EXPECT_FALSE(window.states.changeModeEnabled);

    controller.commands().registerCommand("Find", [] {});
    controller.commands().registerCommand("ProjectSettings", [] {});
    EXPECT_TRUE(state("Find").enabled);
    EXPECT_TRUE(window.states.changeModeEnabled);
    controller.project().EnableSave();
    EXPECT_TRUE(state("Save").enabled);

    start();
    EXPECT_FALSE(window.states.menusShown);
    EXPECT_TRUE(window.states.stopMenuShown);
    EXPECT_FALSE(state("Start").enabled);
    EXPECT_TRUE(state("Stop").enabled);
    EXPECT_FALSE(state("Save").enabled);
    EXPECT_FALSE(state("Find").enabled);
    EXPECT_TRUE(state("ProjectSettings").enabled);

    // The console: its pair swaps, the label shows while communication runs.
    controller.communication().consoleOn();
    EXPECT_FALSE(state("ConsoleOn").buttonShown);
    EXPECT_TRUE(state("ConsoleOff").enabled);
    EXPECT_TRUE(window.labels.consoleShown);
    controller.communication().execUserStop();
    EXPECT_FALSE(window.labels.consoleShown);
    controller.communication().consoleOff();
    EXPECT_TRUE(state("ConsoleOn").enabled);

    // Only "Send/Receive" has a console.
    communicationSettings.communicationMode = CommunicationMode::MonitorReceiveModify;
    controller.setMainScreenDisplayStatus();
    EXPECT_FALSE(state("ConsoleOn").enabled);
}

TEST_F(MainControllerTest, ClickLabelsNameTheExpertOptionsAndTheContentsFilter) {
    const struct {
        CommunicationMode mode;
        ContentFilter filter;
        int driver;
        int forwarding;
        const char* expert;
        const char* contents;
    } cases[] = {
        {CommunicationMode::SendReceive, ContentFilter::AllData, 0, 1, "", ""},
        {CommunicationMode::SendReceive, ContentFilter::Channel1Only, 1, 0,
         "Expert option: high priority mode", "[TX] only"},
        {CommunicationMode::SendReceive, ContentFilter::Channel2Only, 0, 0, "", "[RX] only"},
        {CommunicationMode::MonitorReceiveOnly, ContentFilter::Channel1Only, 1, 1,
         "Expert option: high priority mode / no data forwarding", "[COM3] only"},
        {CommunicationMode::MonitorReceiveOnly, ContentFilter::Channel2Only, 0, 1,
         "Expert option: no data forwarding", "[COM4] only"},
        {CommunicationMode::MonitorReceiveModify, ContentFilter::CommentsOnly, 0, 1, "", "comments only"},
    };
    communicationSettings.channelA = "COM3";
    communicationSettings.channelB = "COM4";
    for (const auto& c : cases) {
        communicationSettings.communicationMode = c.mode;
        communicationSettings.contentFilter = c.filter;
        settings.expertOptions.communicationDriverMode = c.driver;
        settings.expertOptions.dataForwarding = c.forwarding;
        controller.setMainScreenDisplayStatus();
        EXPECT_EQ(window.labels.expertText, c.expert) << toStored(c.mode) << " " << toStored(c.filter);
        EXPECT_EQ(window.labels.filterText, c.contents) << toStored(c.mode) << " " << toStored(c.filter);
        EXPECT_EQ(window.labels.receiveOnlyOverlay, c.mode == CommunicationMode::MonitorReceiveOnly);
    }
}

TEST_F(MainControllerTest, APassCopiesTextRunsCommunicationRefreshesTheStatusAndRunsTheDeferredCommand) {
    int opened = 0;
    controller.commands().registerCommand("Find", [&] { ++opened; });
    controller.commands().setPendingCommand("Find");
    controller.mainLoop().MainProcess(false, true);
    EXPECT_EQ(opened, 1);
    // Stopped: the pass waits for the user's next event.
    EXPECT_EQ(window.calls, (std::vector<std::string>{"copy", "wait"}));

    // The status is refreshed at most every 0.05 s of the clock, also across midnight.
    start();
    window.calls.clear();
    clock.nowMs += 1000;
    controller.mainLoop().MainProcess(false, false);
    const int refreshes = window.indicatorQueries;
    clock.nowMs += 10;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(window.indicatorQueries, refreshes);
    clock.nowMs += 50;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(window.indicatorQueries, refreshes + 1);
    clock.nowMs = 20;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(window.indicatorQueries, refreshes + 2);
    EXPECT_EQ(window.calls.back(), "events");

    // With logging on and the window switched off, nothing is copied into the window.
    settings.logCommWindowDisabled = true;
    window.calls.clear();
    controller.mainLoop().MainProcess(true, false);
    EXPECT_EQ(window.calls, std::vector<std::string>{"events"});
    EXPECT_EQ(controller.mainLoop().passStats().passes, 6u);
}

TEST_F(MainControllerTest, WhileCommunicationRunsTheWindowIsRefreshedAtMostEvery40Ms) {
    auto copies = [&] { return std::count(window.calls.begin(), window.calls.end(), "copy"); };
    start();
    window.calls.clear();
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(copies(), 1);
    for (int step = 0; step < 3; ++step) {
        clock.nowMs += 10;
        controller.mainLoop().MainProcess(false, false);
    }
    EXPECT_EQ(copies(), 1);
    clock.nowMs += 10;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(copies(), 2);
    // Across midnight the refresh is due at once.
    clock.nowMs = 5;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(copies(), 3);
    // Stopping moves what is pending at once, and a stopped pass copies every time.
    controller.communication().execUserStop();
    EXPECT_EQ(copies(), 4);
    controller.mainLoop().MainProcess(false, false);
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(copies(), 6);
}

TEST_F(MainControllerTest, WhileEachRefreshReplacesTheWholeWindowItIsRefreshedEvery80Ms) {
    auto copies = [&] { return std::count(window.calls.begin(), window.calls.end(), "copy"); };
    start();
    window.windowFlooded = true;
    window.calls.clear();
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(copies(), 1);
    clock.nowMs += 79;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(copies(), 1);
    clock.nowMs += 1;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(copies(), 2);
    // When the flood ebbs, the next refresh is 40 ms later again.
    window.windowFlooded = false;
    clock.nowMs += 80;
    controller.mainLoop().MainProcess(false, false);
    clock.nowMs += 40;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(copies(), 4);
}

TEST_F(MainControllerTest, WhileCommunicationRunsEventsArePumpedAfterEachRefreshAndOtherwiseEvery10Ms) {
    auto events = [&] { return std::count(window.calls.begin(), window.calls.end(), "events"); };
    start();
    window.calls.clear();
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(events(), 1);
    // Passes for every packet in between leave the user interface alone.
    for (int step = 0; step < 3; ++step) {
        clock.nowMs += 3;
        controller.mainLoop().MainProcess(false, false);
    }
    EXPECT_EQ(events(), 1);
    clock.nowMs += 1;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(events(), 2);
    clock.nowMs += 28;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(events(), 3);
    // A window refresh is drawn in its own pass, however soon after the last events.
    clock.nowMs += 2;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(std::count(window.calls.begin(), window.calls.end(), "copy"), 2);
    EXPECT_EQ(events(), 4);
    // Midnight doesn't hold the events back.
    clock.nowMs = 2;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(events(), 5);
    // Passes that only pump events (a dialog's loop) always do.
    controller.mainLoop().MainProcess(true, false);
    EXPECT_EQ(events(), 6);
}

TEST_F(MainControllerTest, AnInternalErrorInACommandEndsTheProgramThroughTheOrdinaryClose) {
    setInternalErrorReporter([](const InternalError&) {});
    controller.commands().registerCommand("Find",
                                          [] { reportInternalError(1000, "test", "MainController"); });
    controller.commands().setPendingCommand("Find");
    controller.mainLoop().MainProcess(false, false);
    EXPECT_NE(std::find(window.calls.begin(), window.calls.end(), "close"), window.calls.end());
    setInternalErrorReporter(nullptr);
}

TEST_F(MainControllerTest, TheStatusTextIsWrittenOnlyWhenItChanges) {
    controller.setMainScreenDisplayStatus();
    const int writes = controller.statusBar().statusTextWrites();
    const std::string stopped = window.panels[1];
    EXPECT_FALSE(stopped.empty());
    controller.statusBar().refreshStatusText();
    controller.statusBar().refreshStatusText();
    EXPECT_EQ(controller.statusBar().statusTextWrites(), writes);
    start();
    EXPECT_NE(window.panels[1], stopped);
    EXPECT_EQ(controller.statusBar().statusTextWrites(), writes + 1);
}

TEST_F(MainControllerTest, DoubleClicksOnTheLineIndicatorsSetRtsAndDtrByHand) {
    communicationSettings.flowControl = FlowControl::ManualRtsDtr;
    controller.setMainScreenDisplayStatus();
    ASSERT_TRUE(window.indicatorsShown);
    controller.statusBar().lineIndicatorDoubleClicked(0);
    ASSERT_TRUE(controller.communication().communicationRuns());
    const bool rts = controller.communication().manualRts();
    const bool dtr = controller.communication().manualDtr();
    EXPECT_EQ(window.lines[0], rts);
    controller.statusBar().lineIndicatorDoubleClicked(1);
    EXPECT_EQ(controller.communication().manualRts(), rts);
    EXPECT_NE(controller.communication().manualDtr(), dtr);
    // Other lines are read, never set.
    controller.statusBar().lineIndicatorDoubleClicked(2);
    EXPECT_NE(controller.communication().manualDtr(), dtr);

    // Panel 1 starts and stops communication at once; the others post their settings.
    controller.statusBar().statusPanelDoubleClicked(1);
    EXPECT_FALSE(controller.communication().communicationRuns());
    controller.statusBar().statusPanelDoubleClicked(1);
    EXPECT_TRUE(controller.communication().communicationRuns());
}

TEST_F(MainControllerTest, TheCloseRequestAsksOnceAndUnloadWritesTheSettings) {
    controller.project().EnableSave();
    messages.answers.push_back(MessageResult::No);
    EXPECT_TRUE(controller.closeRequested());
    EXPECT_TRUE(stopRequested);
    // A second close (the main loop's end) doesn't ask again.
    EXPECT_TRUE(controller.closeRequested());
    EXPECT_EQ(messages.shown.size(), 1u);
    settings.dispSequListRepresentation = 2;
    controller.unload();
    EXPECT_TRUE(controller.isShuttingDown());
    EXPECT_EQ(store.value("TextSetup", "DispSequListRepresentation"), std::optional<std::string>("2"));
}

TEST(KeyboardCommands, WindowKeysAndConsoleCharacters) {
    EXPECT_EQ(windowKeyOf(116, false).command, "Start");
    EXPECT_EQ(windowKeyOf(116, true).command, "ConsoleOn");
    EXPECT_EQ(windowKeyOf(117, false).command, "Stop");
    EXPECT_EQ(windowKeyOf(117, true).command, "ConsoleOff");
    EXPECT_EQ(windowKeyOf(123, false).action, WindowKey::Action::ShowNotepad);
    EXPECT_EQ(windowKeyOf(9, true).action, WindowKey::Action::NextView);
    EXPECT_EQ(windowKeyOf(9, false).action, WindowKey::Action::None);
    EXPECT_EQ(windowKeyOf(65, true).action, WindowKey::Action::None);

    ProgramSettingsData settings;
    auto typed = [&](TypedKey key) {
        return keyboardConsoleCharacters(settings, key).getClipboardText(Representation::HEX);
    };
    EXPECT_EQ(typed({0, 0, true, {13}}), "0D 0A");
    EXPECT_EQ(typed({65, 1, false, {65}}), "41");
    // Control characters typed as text are not sent; function keys stay with the window.
    EXPECT_EQ(typed({0, 0, false, {7, 98}}), "62");
    EXPECT_EQ(typed({113, 0, false, {}}), "");
    // A key of the shortcut table types its character.
    settings.userShortcuts[2].keyCode = 66;
    settings.userShortcuts[2].shiftState = 2;
    EXPECT_EQ(typed({66, 2, false, {2}}), "02");

    const bool some[4] = {true, false, true, false};
    EXPECT_EQ(nextEnabledView(0, some), 2);
    EXPECT_EQ(nextEnabledView(2, some), 0);
    const bool one[4] = {false, true, false, false};
    EXPECT_EQ(nextEnabledView(1, one), 1);
}

TEST_F(MainControllerTest, ListRowsShowTheSendButtonTheMarkerAndTheAnswer) {
    addSend("Ping", "ping");
    addSend("Tick", "t");
    lists.sendList()[1].repeat = 1;
    lists.sendList()[1].repeatRunning = 1;
    addReceive("Got ping", "ping", 0);
    SequenceListRows sends(lists, settings, SequenceListKind::Send);
    SequenceListRows receives(lists, settings, SequenceListKind::Receive);
    ASSERT_EQ(sends.rowCount(), 2);
    EXPECT_EQ(sends.text(0, 0), "Send");
    EXPECT_EQ(sends.text(1, 0), "Stop");
    EXPECT_EQ(sends.text(0, 3), "");
    EXPECT_EQ(sends.text(1, 3), "R");
    EXPECT_EQ(sends.text(5, 1), "");
    EXPECT_EQ(receives.text(0, 3), "Ping");
    EXPECT_TRUE(receives.active(0));
    settings.dispSequListRepresentation = 1;
    EXPECT_EQ(sends.text(0, 2), "70 69 6E 67");
    EXPECT_STREQ(SequenceListRows::header(SequenceListKind::Receive, 0), "Active");
}

} // namespace
} // namespace corvane
