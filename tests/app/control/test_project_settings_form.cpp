// The project settings dialog's logic: opening, the channel lists and fields, the mode and the
// control states.
#include "ProjectSettingsFixture.h"

#include "app/control/ProjectSettingsFields.h"

namespace corvane {
namespace {

using test::ProjectSettingsTest;
using Strings = std::vector<std::string>;

TEST_F(ProjectSettingsTest, OpeningShowsACopyOfTheSettingsOnTheCommunicationTab) {
    settings.channelA = "COM5";
    settings.baudRate = 19200;
    settings.parity = Parity::Odd;
    settings.parityErrorCharacter = 7;
    settings.dataBits = DataBits::Seven;
    settings.stopBits = StopBits::Two;
    settings.flowControl = FlowControl::XonXoff;
    settings.contentFilter = ContentFilter::Channel2Only;
    open();
    EXPECT_EQ(view.tabs, std::vector<ProjectSettingsTab>{ProjectSettingsTab::Communication});
    EXPECT_EQ(view.screen.channel1Text, "COM5");
    EXPECT_EQ(view.screen.baudRateText, "19200");
    EXPECT_EQ(view.screen.parity, 3);
    EXPECT_EQ(view.screen.parityErrorText, "07");
    EXPECT_EQ(view.screen.dataBits, 2);
    EXPECT_EQ(view.screen.stopBits, 2);
    EXPECT_EQ(view.screen.flowControl, FlowControl::XonXoff);
    EXPECT_EQ(view.screen.contentFilter, ContentFilter::Channel2Only);
    EXPECT_FALSE(view.screen.monitoring);
    EXPECT_EQ(view.screen.channel1Caption, "Send/Receive on Comm. Channel ");
    EXPECT_FALSE(view.screen.channel2Shown);
    EXPECT_TRUE(view.screen.flowControlEnabled);
    EXPECT_FALSE(view.screen.flowControlLinkShown);

    // Nothing changed: OK gives the settings back as they were.
    ASSERT_TRUE(form->ok());
    EXPECT_EQ(form->result(), settings);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProjectSettingsTest, BaudRatesShowAsTheirNumberAndZeroAsNone) {
    const std::vector<std::pair<std::int32_t, std::string>> cases{
        {9600, "9600"}, {250000, "250000"}, {50, "50"}, {0, "None"}};
    for (const auto& [rate, shown] : cases) {
        settings.baudRate = rate;
        open();
        EXPECT_EQ(screen().baudRateText, shown) << rate;
        EXPECT_EQ(screen().lineFieldsShown, rate != 0) << rate;
    }
}

TEST_F(ProjectSettingsTest, TheChannelListsHoldTheExistingPortsAndInMonitoringTheTaps) {
    open();
    EXPECT_EQ(names(screen().channel1List), (Strings{"--- Serial Ports ---", "COM1", "COM5", "COM256"}));
    EXPECT_TRUE(screen().channel1List[0].heading);
    EXPECT_EQ(screen().channel1List[2].text, "COM5  (/dev/ttyACM0, Pico)");
    EXPECT_EQ(screen().channel1List[3].text, "COM256  (loopback)");

    form->chooseMonitoring(true);
    EXPECT_TRUE(screen().monitoring);
    EXPECT_EQ(screen().channel1Caption, "Receive Channel 1 ");
    EXPECT_TRUE(screen().channel2Shown);
    EXPECT_EQ(names(screen().channel1List),
              (Strings{"--- Serial Ports ---", "COM1", "COM5", "COM256", "--- USB Taps ---", "TAP0"}));
    EXPECT_EQ(names(screen().channel2List),
              (Strings{"--- Serial Ports ---", "COM1", "COM5", "COM256", "--- USB Taps ---", "TAP1"}));
    EXPECT_EQ(screen().channel1List[5].text, "TAP0  (Dual RS232 A)");
    EXPECT_EQ(screen().channel2List[5].text, "TAP1  (Dual RS232 B)");
    // The fields keep their text.
    EXPECT_EQ(screen().channel1Text, "COM1");
    EXPECT_EQ(screen().channel2Text, "COM2");

    form->chooseMonitoring(false);
    EXPECT_EQ(screen().channel1List.size(), 4u);
    EXPECT_FALSE(screen().channel2Shown);
}

TEST_F(ProjectSettingsTest, AStoredModeOtherThanSendReceiveShowsAsMonitoringAndIsStoredAsOne) {
    settings.communicationMode = CommunicationMode::MonitorReceiveModify;
    settings.channelB = "COM5";
    open();
    EXPECT_TRUE(screen().monitoring);
    ASSERT_TRUE(form->ok());
    EXPECT_EQ(form->result().communicationMode, CommunicationMode::MonitorReceiveOnly);
}

TEST_F(ProjectSettingsTest, ChoosingAHeadingTakesTheEntryAfterItAndATapBringsItsPartner) {
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    settings.channelA = "COM5";
    settings.channelB = "COM256";
    open();
    form->chooseChannelEntry(0, 0);
    EXPECT_EQ(screen().channel1Text, "COM1");

    form->chooseChannelEntry(0, 5);
    EXPECT_EQ(screen().channel1Text, "TAP0");
    EXPECT_EQ(screen().channel2Text, "TAP1");
    // The USB taps heading chosen in channel 2 gives its tap too.
    form->chooseChannelEntry(1, 2);
    form->chooseChannelEntry(1, 4);
    EXPECT_EQ(screen().channel2Text, "TAP1");
    EXPECT_EQ(screen().channel1Text, "TAP0");
    EXPECT_TRUE(messages.shown.empty()) << messageTexts()[0];
    // Both taps monitor with line properties; OK takes them.
    ASSERT_TRUE(form->ok());
    EXPECT_EQ(form->result().channelA, "TAP0");
    EXPECT_EQ(form->result().channelB, "TAP1");
}

TEST_F(ProjectSettingsTest, LeavingAChannelFieldTakesTheCanonicalNameOrRefusesTheText) {
    open();
    form->editChannel(0, " com3 ");
    EXPECT_TRUE(form->checkChannel(0));
    EXPECT_EQ(screen().channel1Text, "COM3");
    form->editChannel(0, "7");
    EXPECT_TRUE(form->checkChannel(0));
    EXPECT_EQ(screen().channel1Text, "COM7");
    form->editChannel(0, "COM4:9600,NONE,8,1");
    EXPECT_TRUE(form->checkChannel(0));
    EXPECT_EQ(screen().channel1Text, "COM4");
    EXPECT_TRUE(messages.shown.empty());

    form->editChannel(0, "COM257");
    EXPECT_FALSE(form->checkChannel(0));
    EXPECT_EQ(screen().channel1Text, "COM257");
    form->editChannel(0, "10.0.0.1:3001");
    EXPECT_FALSE(form->checkChannel(0));
    form->editChannel(0, "SERVER:70000");
    EXPECT_FALSE(form->checkChannel(0));
    EXPECT_EQ(messageTexts(),
              (Strings{"Illegal settings for a local serial port (COM). Valid ports are COM1 to COM256.",
                       "Illegal communication port. Valid ports are COM1 to COM256.",
                       "Illegal settings for a TCP server. Specify a valid port number, e.g. SERVER:3001"}));
    for (const auto& message : messages.shown) {
        EXPECT_EQ(message.title, "Project Settings");
        EXPECT_EQ(message.icon, MessageIcon::Warning);
    }
    EXPECT_EQ(view.focused, std::vector<ProjectSettingsField>(3, ProjectSettingsField::Channel1));
}

TEST_F(ProjectSettingsTest, NoneAsBaudRateHidesTheLineFieldsAndTurnsFlowControlOff) {
    settings.flowControl = FlowControl::RtsCts;
    open();
    form->editBaudRate("none");
    EXPECT_TRUE(form->checkBaudRate());
    EXPECT_EQ(screen().baudRateText, "None");
    EXPECT_FALSE(screen().lineFieldsShown);
    EXPECT_TRUE(screen().noLinePropertiesShown);
    EXPECT_TRUE(screen().lineSettingsEnabled);
    EXPECT_EQ(screen().flowControl, FlowControl::None);
    EXPECT_FALSE(screen().flowControlEnabled);
    EXPECT_EQ(screen().flowControlNote, "No Flow Control options selectable when RS232/RS485/RS422 line "
                                        "properties are disabled. Click here to");
    EXPECT_TRUE(screen().flowControlLinkShown);
    ASSERT_TRUE(form->ok());
    EXPECT_EQ(form->result().baudRate, 0);
    EXPECT_EQ(form->result().flowControl, FlowControl::None);
    EXPECT_TRUE(messages.shown.empty());

    // The list's "None" and a rate bring the fields back.
    form->chooseBaudRateEntry(projectsettings::kNoneRateEntry);
    EXPECT_FALSE(screen().lineFieldsShown);
    form->chooseBaudRateEntry(8);
    EXPECT_EQ(screen().baudRateText, "19200");
    EXPECT_TRUE(screen().lineFieldsShown);
    EXPECT_TRUE(screen().flowControlEnabled);
    form->chooseBaudRateEntry(projectsettings::kCustomRateEntry);
    EXPECT_EQ(screen().baudRateText, "");
}

TEST_F(ProjectSettingsTest, FlowControlIsOnlyForSendReceiveWithLineProperties) {
    open();
    form->chooseFlowControl(FlowControl::ManualRtsDtr);
    EXPECT_EQ(screen().flowControl, FlowControl::ManualRtsDtr);
    EXPECT_EQ(screen().flowControlNote.rfind("Warning: The\"RS485 Transceiver Control\" option", 0), 0u);
    // Codes 4 and 5 have no choice of their own.
    form->chooseFlowControl(FlowControl::RtsCtsSingleByte);
    EXPECT_EQ(screen().flowControl, FlowControl::ManualRtsDtr);

    form->chooseMonitoring(true);
    EXPECT_FALSE(screen().flowControlEnabled);
    EXPECT_EQ(screen().flowControlNote, "Flow control support is only available for serial COM ports and "
                                        "communication mode Send/Receive. Click here to");
    EXPECT_TRUE(screen().flowControlLinkShown);
}

TEST_F(ProjectSettingsTest, ALumoTapShowsTheSignallingLevel) {
    open();
    EXPECT_FALSE(screen().signalLevelShown);
    form->editChannel(0, "VTP0");
    ASSERT_TRUE(form->checkChannel(0));
    EXPECT_TRUE(screen().signalLevelShown);
    form->chooseSignalLevel(2);
    form->chooseMonitoring(true);
    form->editChannel(0, "COM1");
    ASSERT_TRUE(form->checkChannel(0));
    EXPECT_FALSE(screen().signalLevelShown);
    form->editChannel(1, "VTP1");
    ASSERT_TRUE(form->checkChannel(1));
    EXPECT_TRUE(screen().signalLevelShown);
    EXPECT_EQ(screen().signalLevel, 2);
}

TEST_F(ProjectSettingsTest, CtrlTabGoesRoundTheThreeTabs) {
    EXPECT_EQ(ProjectSettingsForm::nextTab(0, false), 1);
    EXPECT_EQ(ProjectSettingsForm::nextTab(2, false), 0);
    EXPECT_EQ(ProjectSettingsForm::nextTab(0, true), 2);
    EXPECT_EQ(ProjectSettingsForm::nextTab(1, true), 0);
}

} // namespace
} // namespace corvane
