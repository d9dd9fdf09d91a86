// Status bar texts, panels, the activity icon and the line states.
#include "app/control/StatusTexts.h"
#include "communication/ClCommChannel.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

constexpr auto kSendReceive = CommunicationMode::SendReceive;
constexpr auto kReceiveOnly = CommunicationMode::MonitorReceiveOnly;
constexpr auto kReceiveModify = CommunicationMode::MonitorReceiveModify;

constexpr auto kClosed = ChannelStatus::Closed;
constexpr auto kOpen = ChannelStatus::Open;
constexpr auto kIllegal = ChannelStatus::IllegalSettings;
constexpr auto kError = ChannelStatus::Error;

ChannelStatusView channel(ChannelStatus status, ChannelType type = ChannelType::Com, bool ready = true,
                          std::string shortName = "COM1") {
    ChannelStatusView v;
    v.status = status;
    v.type = type;
    v.readyForTransmission = ready;
    v.shortName = std::move(shortName);
    return v;
}

TEST(StatusText, SendReceiveFollowsChannelOne) {
    const SnapshotStatusView none;
    EXPECT_EQ(communicationStatusText(kSendReceive, channel(kClosed), channel(kClosed), none),
              "Commmunication port closed");
    EXPECT_EQ(communicationStatusText(kSendReceive, channel(kOpen), channel(kClosed), none),
              "Commmunication port open");
    EXPECT_EQ(communicationStatusText(kSendReceive, channel(kError), channel(kClosed), none),
              "Error while accessing the communication port(s)");
    EXPECT_EQ(communicationStatusText(kSendReceive, channel(kIllegal), channel(kOpen), none),
              "Error while accessing the communication port(s)");
    EXPECT_EQ(communicationStatusText(kSendReceive, channel(kOpen, ChannelType::Com, false), channel(kClosed),
                                      none),
              "Commmunication port open (waiting for handshake) ");
    EXPECT_EQ(communicationStatusText(kSendReceive, channel(kOpen, ChannelType::TcpClient, true),
                                      channel(kClosed), none),
              "Commmunication port open (connected) ");
    EXPECT_EQ(communicationStatusText(kSendReceive, channel(kOpen, ChannelType::TcpServer, false),
                                      channel(kClosed), none),
              "Commmunication port open (no connection) ");
    // A closed channel has no detail, whatever its readiness.
    EXPECT_EQ(communicationStatusText(kSendReceive, channel(kClosed, ChannelType::TcpClient, false),
                                      channel(kClosed), none),
              "Commmunication port closed");
}

TEST(StatusText, MonitoringNamesBothPortsAndTheirDetails) {
    const SnapshotStatusView none;
    EXPECT_EQ(communicationStatusText(kReceiveOnly, channel(kClosed), channel(kClosed), none),
              "Commmunication ports closed");
    EXPECT_EQ(communicationStatusText(kReceiveOnly, channel(kOpen),
                                      channel(kOpen, ChannelType::Com, true, "COM2"), none),
              "Commmunication ports open");
    EXPECT_EQ(communicationStatusText(kReceiveModify, channel(kOpen), channel(kError), none),
              "Error while accessing the communication port(s)");
    // Channel 1 in error keeps its own text.
    EXPECT_EQ(communicationStatusText(kReceiveOnly, channel(kError), channel(kOpen), none),
              "Error while accessing the communication port(s)");
    EXPECT_EQ(communicationStatusText(kReceiveOnly, channel(kOpen, ChannelType::Com, false, "COM1"),
                                      channel(kOpen, ChannelType::Com, false, "COM2"), none),
              "Commmunication ports open (COM1: waiting for handshake / COM2: waiting for handshake) ");
    EXPECT_EQ(communicationStatusText(kReceiveOnly, channel(kOpen, ChannelType::Com, true, "COM1"),
                                      channel(kOpen, ChannelType::Com, false, "COM2"), none),
              "Commmunication ports open (COM2: waiting for handshake) ");
    EXPECT_EQ(communicationStatusText(kReceiveOnly, channel(kOpen, ChannelType::Com, false, "COM1"),
                                      channel(kOpen, ChannelType::Com, true, "COM2"), none),
              "Commmunication ports open (COM1: waiting for handshake) ");
}

TEST(StatusText, SnapshotTextsWinOnceTriggered) {
    SnapshotStatusView snapshot{true, false};
    EXPECT_EQ(communicationStatusText(kSendReceive, channel(kOpen), channel(kClosed), snapshot),
              "Commmunication port open");
    snapshot.triggered = true;
    EXPECT_EQ(communicationStatusText(kSendReceive, channel(kOpen), channel(kClosed), snapshot),
              "Taking snapshot ...");
    snapshot.modeOn = false;
    EXPECT_EQ(communicationStatusText(kSendReceive, channel(kClosed), channel(kClosed), snapshot),
              "Snapshot complete");
}

TEST(StatusPanels, FormatChannelAndSerialPanels) {
    EXPECT_EQ(windowFormatPanelText(CommWindowFormat::Plain), "Plain Text Mode");
    EXPECT_EQ(windowFormatPanelText(CommWindowFormat::Formatted), "Colors&Fonts Mode");
    EXPECT_EQ(channelPanelText(kSendReceive, "COM1", "COM2"), "  COM1  ");
    EXPECT_EQ(channelPanelText(kReceiveOnly, "COM1", "COM2"), "  COM1 / COM2  ");
    EXPECT_EQ(channelPanelText(kReceiveModify, "COM1", "COM2"), "    ");
    EXPECT_EQ(serialPanelText(true, 9600, Parity::None, DataBits::Eight, StopBits::One), "9600, None, 8, 1");
    EXPECT_EQ(serialPanelText(true, 115200, Parity::Even, DataBits::Seven, StopBits::Two),
              "115200, Even, 7, 2");
    EXPECT_EQ(serialPanelText(false, 9600, Parity::None, DataBits::Eight, StopBits::One),
              "No Serial Settings");
}

TEST(StatusPanels, FlowPanelAndIndicators) {
    FlowPanel none = flowControlPanel(kSendReceive, FlowControl::None, ChannelType::Com, true);
    EXPECT_FALSE(none.visible);
    EXPECT_FALSE(none.indicatorsVisible);
    FlowPanel manual = flowControlPanel(kSendReceive, FlowControl::ManualRtsDtr, ChannelType::Com, true);
    EXPECT_TRUE(manual.visible);
    EXPECT_TRUE(manual.indicatorsVisible);
    EXPECT_EQ(manual.text, "Manual RTS/DTR Control");
    EXPECT_EQ(manual.rtsToolTip, "Request To Send - Double click to change");
    FlowPanel rtscts = flowControlPanel(kSendReceive, FlowControl::RtsCts, ChannelType::Com, true);
    EXPECT_TRUE(rtscts.visible);
    EXPECT_FALSE(rtscts.indicatorsVisible);
    EXPECT_FALSE(flowControlPanel(kSendReceive, FlowControl::RtsCts, ChannelType::TcpClient, false).visible);
    EXPECT_FALSE(flowControlPanel(kReceiveOnly, FlowControl::ManualRtsDtr, ChannelType::Com, true).visible);
    FlowPanel tap = flowControlPanel(kReceiveOnly, FlowControl::None, ChannelType::Vtp, true);
    EXPECT_TRUE(tap.tapDeviceMode);
    EXPECT_TRUE(tap.indicatorsVisible);
    EXPECT_EQ(tap.text, "Kito-Tap Pro / Lumo-Tap mode");
    EXPECT_EQ(tap.dtrToolTip, "Data Terminal Ready (DTE side / Channel 2)");
    EXPECT_EQ(panelDoubleClickCommand(1, false), "");
    EXPECT_EQ(panelDoubleClickCommand(2, false), "Options");
    EXPECT_EQ(panelDoubleClickCommand(4, false), "ProjectSettings");
    EXPECT_EQ(panelDoubleClickCommand(5, false), "ProjectSettings2");
    EXPECT_EQ(panelDoubleClickCommand(5, true), "ProjectSettings");
}

TEST(ActivityIcon, SteadyTrafficAlternatesWithIdle) {
    ActivityIcon icon;
    bool f0 = false;
    bool f1 = false;
    EXPECT_EQ(icon.tick(true, false, f0, f1), 5);
    EXPECT_EQ(icon.tick(false, false, f0, f1), 4);
    std::vector<int> shown;
    for (int i = 0; i < 6; ++i) {
        f0 = true;
        f1 = true;
        shown.push_back(icon.tick(false, false, f0, f1));
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 4, 1, 4, 1, 4}));
}

TEST(ActivityIcon, SingleDirectionsAndTheFlagsTheyClear) {
    ActivityIcon icon;
    bool f0 = true;
    bool f1 = false;
    icon.tick(false, false, f0, f1);
    EXPECT_EQ(icon.current(), 2);
    EXPECT_FALSE(f0);
    // After an activity icon at least one idle tick, and the flag waits for the next one.
    f1 = true;
    EXPECT_EQ(icon.tick(false, false, f0, f1), 4);
    EXPECT_TRUE(f1);
    EXPECT_EQ(icon.tick(false, false, f0, f1), 3);
    EXPECT_FALSE(f1);
}

TEST(ActivityIcon, ReceiveOnlyMonitoringUsesIconsSixToTen) {
    ActivityIcon icon;
    bool f0 = true;
    bool f1 = true;
    EXPECT_EQ(icon.tick(false, true, f0, f1), 6);
    EXPECT_EQ(icon.tick(false, true, f0, f1), 9);
    f0 = true;
    EXPECT_EQ(icon.tick(false, true, f0, f1), 7);
    EXPECT_EQ(icon.tick(true, true, f0, f1), 10);
}

TEST(LineStates, BitsOfTheStatusWord) {
    LineStates all = lineStatesOf(0x7E00, false, false, true);
    EXPECT_TRUE(all.cts && all.dsr && all.dcd && all.ri);
    EXPECT_FALSE(all.rts);
    EXPECT_TRUE(all.dtr);
    LineStates tap = lineStatesOf(0x2000 | 0x0200 | 0x0001, true, false, false);
    EXPECT_TRUE(tap.rts);
    EXPECT_FALSE(tap.dtr);
    EXPECT_TRUE(tap.cts);
    EXPECT_FALSE(tap.dsr);
    EXPECT_EQ(lineStatesOf(0x81FF, false, false, false), LineStates{});
}

} // namespace
} // namespace corvane
