#include "communication/CommNameTables.h"
#include "communication/MdCommunication.h"
#include "platform/fakes/FakeChannelSocket.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/fakes/FakeSerialFunctionLibrary.h"
#include "platform/fakes/FakeSystemClock.h"
#include "support/InternalErrorExpect.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

class RecordingHooks : public CommunicationHooks {
public:
    void showWaitCursor(bool wait) override { steps.push_back(wait ? "wait" : "normal"); }
    void closeFindDialog() override { steps.push_back("closeFind"); }
    void resetDataOutputBuffers() override { steps.push_back("resetOutput"); }
    void prepareSequenceLists() override { steps.push_back("prepareLists"); }
    void resetSendQueue() override { steps.push_back("resetSendQueue"); }
    void resetLineBreakDetector() override { steps.push_back("resetLineBreak"); }
    void expertOptionsChanged() override { steps.push_back("optionsChanged"); }
    void refreshMainWindowStatus() override { steps.push_back("refresh"); }
    void endSnapshotMode() override { steps.push_back("endSnapshot"); }
    void resetRepeatSend() override { steps.push_back("resetRepeat"); }
    bool isShuttingDown() const override { return shuttingDown; }
    std::vector<std::string> steps;
    bool shuttingDown = false;
};

class CommunicationTest : public ::testing::Test {
protected:
    FakeSerialFunctionLibrary library;
    FakeSocketFactory sockets;
    FakeSystemClock clock;
    ClCommChannel channel1{library, &sockets, &clock};
    ClCommChannel channel2{library, &sockets, &clock};
    CommunicationSettings settings;
    ExpertOptions options;
    FakeMessageService messages;
    RecordingHooks hooks;
    MdCommunication comm{library, channel1, channel2, settings, options, messages, clock, &hooks};
};

TEST(CommNameTables, LookupsAndLimits) {
    EXPECT_EQ(baudRateName(0), "110");
    EXPECT_EQ(baudRateName(15), "256000");
    EXPECT_EQ(baudRateName(16), "");
    EXPECT_EQ(baudRateIndex(" 115200 "), 13);
    EXPECT_EQ(baudRateIndex("31250"), 6);
    EXPECT_EQ(baudRateText(9600), "9600");
    EXPECT_EQ(parityName(Parity::None), "None");
    EXPECT_EQ(parityName(parityFromStored(-1)), "");
    EXPECT_EQ(dataBitsName(DataBits::Four), "4");
    EXPECT_EQ(stopBitsName(StopBits::OneAndHalf), "1.5");
    EXPECT_EQ(flowControlName(FlowControl::RtsHighWhileSending), "RTS high while sending");
    EXPECT_EQ(flowControlName(static_cast<FlowControl>(7)), "");
    EXPECT_EQ(signalLevelName(1), "1-RS422/485");
}

TEST_F(CommunicationTest, SettingsStringsOfTheChannels) {
    EXPECT_EQ(comm.setupCommChannelObjects(0), "COM1:9600,NONE,8,1,OFF,63");
    settings.baudRate = 0;
    EXPECT_EQ(comm.setupCommChannelObjects(0), "COM1:None");
    settings.baudRate = 19200;
    settings.parity = Parity::Even;
    settings.dataBits = DataBits::Seven;
    settings.stopBits = StopBits::Two;
    settings.parityErrorCharacter = 35;
    const char* words[] = {"OFF", "OFF", "RTSCTS", "XONXOFF", "OFF", "RTSCTS", "RTSSEND"};
    for (int flow = 0; flow < 7; ++flow) {
        settings.flowControl = static_cast<FlowControl>(flow);
        EXPECT_EQ(comm.setupCommChannelObjects(0), std::string("COM1:19200,EVEN,7,2,") + words[flow] + ",35");
    }
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    for (int flow = 0; flow < 7; ++flow) {
        settings.flowControl = static_cast<FlowControl>(flow);
        EXPECT_EQ(comm.setupCommChannelObjects(1), "COM2:19200,EVEN,7,2,OFF,35");
    }
    settings.channelA = "VTP0";
    settings.channelB = "VTP1";
    settings.tapSignallingLevel = 2;
    EXPECT_EQ(comm.setupCommChannelObjects(1), "VTP1:19200,EVEN,7,2,OFF,35,2");
    settings.channelA = "SERVER:3001";
    EXPECT_EQ(comm.setupCommChannelObjects(0), "SERVER:3001");
    EXPECT_EQ(comm.setupCommChannelObjects(1), "VTP1:19200,EVEN,7,2,OFF,35");
}

TEST_F(CommunicationTest, IllegalChannelIndexesAreInternalErrors) {
    EXPECT_INTERNAL_ERROR(comm.setupCommChannelObjects(2), kErrorIllegalValue, "frmMain",
                          "setupCommChannelObjects: Illegal channel no.");
    EXPECT_INTERNAL_ERROR(comm.CommunicationPortInit(-1), kErrorIllegalValue, "MdCommunication",
                          "CommunicationPortInit: Illegal channel no.");
    EXPECT_INTERNAL_ERROR(comm.CommunicationPortClose(5), kErrorIllegalValue, "MdCommunication",
                          "CommunicationPortClose: Illegal channel no.");
}

TEST_F(CommunicationTest, PortInitInSendReceiveMode) {
    settings.flowControl = FlowControl::ManualRtsDtr;
    EXPECT_TRUE(comm.CommunicationPortInit(0));
    EXPECT_EQ(channel1.queueID(), 2);
    EXPECT_TRUE(channel1.rs232_watchModemSignals());
    EXPECT_EQ(library.queueings.at(0).watch, 1);
    EXPECT_EQ(library.lineCalls, (std::vector<std::string>{"RTS 0 S", "DTR 0 S"}))
        << "manual RTS/DTR: as wanted";
    comm.CommunicationPortClose(0);

    library.lineCalls.clear();
    channel1.rs232_setRTSDTR(false, false);
    settings.flowControl = FlowControl::None;
    EXPECT_TRUE(comm.CommunicationPortInit(0));
    EXPECT_FALSE(channel1.rs232_watchModemSignals());
    EXPECT_EQ(library.lineCalls, (std::vector<std::string>{"RTS 0 C", "DTR 0 C", "RTS 0 S", "DTR 0 S"}));
}

TEST_F(CommunicationTest, PortInitFailureShowsTheMessage) {
    library.openResults[0] = kSioAlreadyOpen;
    EXPECT_FALSE(comm.CommunicationPortInit(0));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "The communication port COM1 could not be opened. COM port already open");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages.shown[0].title, "");
    EXPECT_EQ(messages.shown[0].helpTopic, 0);

    settings.channelA = "SERVER:3001";
    sockets.nextFailure = kSocketErrorAddressInUse;
    EXPECT_FALSE(comm.CommunicationPortInit(0));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].helpTopic, 24);
    EXPECT_EQ(
        messages.shown[1].text.rfind("The communication port SERVER:3001 could not be opened. IP Address", 0),
        0u);
}

TEST_F(CommunicationTest, StartAndStopInSendReceiveMode) {
    settings.flowControl = FlowControl::XonXoff;
    comm.startCommunication();
    EXPECT_FALSE(comm.communicationStopped());
    EXPECT_EQ(hooks.steps,
              (std::vector<std::string>{"wait", "closeFind", "resetOutput", "prepareLists", "resetSendQueue",
                                        "resetLineBreak", "normal", "refresh"}));
    ASSERT_EQ(library.opens.size(), 1u) << "only channel 1";
    EXPECT_EQ(library.opens[0].flowControl, kFlowXonXoff);
    EXPECT_EQ(channel1.queueID(), 2);
    EXPECT_EQ(library.hiresInits, 1);
    EXPECT_EQ(clock.sleeps, std::vector<int>{25});
    EXPECT_EQ(library.rxErases, 1);
    EXPECT_EQ(comm.runState().directionTags[0], "[TX] - ");
    EXPECT_EQ(comm.runState().directionTags[1], "[RX] - ");
    EXPECT_DOUBLE_EQ(comm.runState().bitTime, 0.1042);
    EXPECT_EQ(comm.runState().lastDirection, -1);
    EXPECT_EQ(comm.runState().pendingWait, 100000000);

    // Starting again while running does nothing.
    comm.startCommunication();
    EXPECT_EQ(library.opens.size(), 1u);

    // Stopping waits until the transmit buffer is empty, at most 0.1 s, in 2 ms steps.
    hooks.steps.clear();
    clock.sleeps.clear();
    library.portTxBytes = 10;
    comm.stopCommunication();
    EXPECT_TRUE(comm.communicationStopped());
    EXPECT_EQ(clock.sleeps.size(), 50u);
    EXPECT_EQ(library.closes, std::vector<int>{0});
    EXPECT_EQ(hooks.steps,
              (std::vector<std::string>{"wait", "endSnapshot", "resetRepeat", "refresh", "normal"}));
    comm.stopCommunication();
    EXPECT_EQ(library.closes.size(), 1u);
}

TEST_F(CommunicationTest, StopWaitSurvivesMidnight) {
    comm.startCommunication();
    clock.nowMs = 86400000 - 50;
    clock.sleeps.clear();
    library.portTxBytes = 10;
    comm.stopCommunication();
    EXPECT_EQ(clock.sleeps.size(), 50u) << "the clock passing midnight still ends the wait after 0.1 s";
}

TEST_F(CommunicationTest, StopWhileShuttingDownDoesNotWait) {
    comm.startCommunication();
    clock.sleeps.clear();
    library.portTxBytes = 10;
    hooks.shuttingDown = true;
    hooks.steps.clear();
    comm.stopCommunication();
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_EQ(hooks.steps, (std::vector<std::string>{"wait", "endSnapshot", "normal"}));
}

TEST_F(CommunicationTest, MonitoringOpensBothChannelsWithoutFlowControl) {
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    settings.flowControl = FlowControl::RtsCts;
    settings.channelA = "COM1";
    settings.channelB = "COM12";
    comm.startCommunication();
    ASSERT_FALSE(comm.communicationStopped());
    ASSERT_EQ(library.opens.size(), 2u);
    EXPECT_EQ(library.opens[0].port, 0);
    EXPECT_EQ(library.opens[1].port, 11);
    EXPECT_EQ(library.opens[0].flowControl, kFlowOff);
    EXPECT_EQ(library.opens[1].flowControl, kFlowOff);
    EXPECT_EQ(channel1.queueID(), 1);
    EXPECT_EQ(channel2.queueID(), 2);
    EXPECT_EQ(library.queueings[0].watch, 0);
    EXPECT_EQ(comm.runState().directionTags[0], "[ COM1] - ");
    EXPECT_EQ(comm.runState().directionTags[1], "[COM12] - ");
    comm.stopCommunication();
    EXPECT_EQ(library.closes, (std::vector<int>{0, 11}));
}

TEST_F(CommunicationTest, MonitoringWithABusySecondPortClosesTheFirstAgain) {
    settings.communicationMode = CommunicationMode::MonitorReceiveModify;
    library.openResults[1] = kSioAlreadyOpen;
    comm.startCommunication();
    EXPECT_TRUE(comm.communicationStopped());
    EXPECT_EQ(library.closes, std::vector<int>{0});
    EXPECT_FALSE(channel1.IsOpen());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "The communication port COM2 could not be opened. COM port already open");
    EXPECT_EQ(library.rxErases, 0);
}

TEST_F(CommunicationTest, WaitsAfterOpeningTapsAndTapDevices) {
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    settings.channelA = "TAP0";
    settings.channelB = "TAP1";
    comm.startCommunication();
    EXPECT_EQ(clock.sleeps, std::vector<int>{300});
    EXPECT_EQ(library.ftdiCalls.size(), 2u);
    comm.stopCommunication();

    clock.sleeps.clear();
    settings.channelA = "VTP0";
    settings.channelB = "VTP1";
    comm.startCommunication();
    EXPECT_EQ(clock.sleeps, std::vector<int>{50});
    EXPECT_DOUBLE_EQ(comm.runState().bitTime, 0);
    comm.stopCommunication();

    clock.sleeps.clear();
    settings.communicationMode = CommunicationMode::SendReceive;
    settings.channelA = "SERVER:3001";
    comm.startCommunication();
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_FALSE(comm.communicationStopped());
}

TEST_F(CommunicationTest, HighPriorityModeCannotStart) {
    options.communicationDriverMode = 1;
    comm.startCommunication();
    EXPECT_TRUE(comm.communicationStopped());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Could not start external high priority process.");
    EXPECT_EQ(messages.shown[0].title, "Expert Options: High Priority Mode");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(library.opens.empty());
    EXPECT_EQ(library.hiresInits, 0);
    EXPECT_EQ(hooks.steps.back(), "refresh");
}

TEST_F(CommunicationTest, HighPriorityModeWithATapDeviceAsks) {
    options.communicationDriverMode = 1;
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    settings.channelA = "VTP0";
    settings.channelB = "VTP1";
    messages.answers = {MessageResult::Cancel};
    comm.startCommunication();
    EXPECT_TRUE(comm.communicationStopped());
    ASSERT_EQ(messages.shown.size(), 1u);
    const MessageRequest& question = messages.shown[0];
    EXPECT_EQ(question.text,
              "You cannot use external process / high priority mode for Kito-Tap or Lumo-Tap devices. "
              "Switch Communication Driver Mode back to 'internal' and continue? ");
    EXPECT_EQ(question.title, "Expert Options: High Priority Mode");
    EXPECT_EQ(question.icon, MessageIcon::Warning);
    EXPECT_EQ(question.buttons, MessageButtons::OKCancel);
    EXPECT_EQ(question.defaultButton, 1);
    EXPECT_EQ(options.communicationDriverMode, 1);

    messages.answers = {MessageResult::OK};
    comm.startCommunication();
    EXPECT_EQ(options.communicationDriverMode, 0);
    EXPECT_FALSE(comm.communicationStopped());
    EXPECT_NE(std::find(hooks.steps.begin(), hooks.steps.end(), "optionsChanged"), hooks.steps.end());
}

} // namespace
} // namespace corvane
