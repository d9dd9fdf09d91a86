// The project settings dialog in the real main window: typed fields, lists, questions and what OK
// applies.
#include "SettingsDialogFixture.h"

#include "app/gui/ClickableLabel.h"

#include <QLabel>
#include <QTextBrowser>

namespace corvane {
namespace {

using test::SettingsDialogFixture;
constexpr const char* kIllegal = "Illegal value. Please correct.";

class ProjectSettingsDialogTest : public SettingsDialogFixture {
protected:
    void SetUp() override {
        SettingsDialogFixture::SetUp();
        openPingPong();
    }
    CommunicationSettings& current() { return state().communicationSettings; }
};

TEST_F(ProjectSettingsDialogTest, OpeningStopsCommunicationAndTheKeyNamesTheTab) {
    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns());
    int tab = -1;
    ASSERT_TRUE(runProjectSettings("ProjectSettings2", [&](frmProjectSettings& dialog) {
        EXPECT_FALSE(window().communicationRuns());
        EXPECT_EQ(dialog.windowTitle(), "Project Settings");
        tab = dialog.tabs()->currentIndex();
        EXPECT_EQ(fieldText(dialog, "cboChannel1"), "COM256");
        EXPECT_EQ(fieldText(dialog, "cboBaudRate"), "1200");
        EXPECT_EQ(fieldText(dialog, "cboParityErrorChar"), "63 ('?')");
        EXPECT_EQ(child<QLabel>(dialog, "lblChannel1")->text(), "Send/Receive on Comm. Channel ");
        EXPECT_TRUE(combo(dialog, "cboChannel2")->isHidden());
        EXPECT_EQ(combo(dialog, "cboChannel1")->itemText(0), "--- Serial Ports ---");
        EXPECT_NE(combo(dialog, "cboChannel1")->findText("COM256  (loopback)"), -1);
        click(dialog, "cmdCancel");
    }));
    EXPECT_EQ(tab, 1);
    EXPECT_FALSE(window().projectModified());
    ASSERT_TRUE(runProjectSettings("ProjectSettings3", [&](frmProjectSettings& dialog) {
        tab = dialog.tabs()->currentIndex();
        // Ctrl+Tab goes round the tabs, Ctrl+Shift+Tab back.
        QTest::keyClick(&dialog, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(dialog.tabs()->currentIndex(), 0);
        QTest::keyClick(&dialog, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(dialog.tabs()->currentIndex(), 2);
        click(dialog, "cmdCancel");
    }));
    EXPECT_EQ(tab, 2);
    EXPECT_TRUE(messages.shown.empty()) << messageTexts()[0];
}

TEST_F(ProjectSettingsDialogTest, NoneHidesTheLineFieldsAndIsStoredAsZero) {
    ASSERT_TRUE(runProjectSettings("ProjectSettings", [&](frmProjectSettings& dialog) {
        type(dialog, "cboBaudRate", "none");
        EXPECT_EQ(fieldText(dialog, "cboBaudRate"), "None");
        EXPECT_TRUE(combo(dialog, "cboParity")->isHidden());
        EXPECT_TRUE(combo(dialog, "cboDataBits")->isHidden());
        EXPECT_FALSE(child(dialog, "lblNoLineProperties1")->isHidden());
        EXPECT_FALSE(child(dialog, "lblNoLineProperties2")->isHidden());
        EXPECT_FALSE(child(dialog, "fraFlowControl")->isEnabled());
        EXPECT_EQ(child<QLabel>(dialog, "lblFlowControlNote")->text(),
                  "No Flow Control options selectable when RS232/RS485/RS422 line properties are disabled. "
                  "Click here to");
        // The link goes back to the communication tab.
        dialog.tabs()->setCurrentIndex(1);
        emit child<ClickableLabel>(dialog, "lblChangeSettings")->clicked();
        EXPECT_EQ(dialog.tabs()->currentIndex(), 0);
        click(dialog, "cmdOK");
    }));
    EXPECT_TRUE(messages.shown.empty()) << messageTexts()[0];
    EXPECT_EQ(current().baudRate, 0);
    EXPECT_EQ(state().channel1->channelSettings(), "COM256:NONE");
    EXPECT_TRUE(window().projectModified());
}

TEST_F(ProjectSettingsDialogTest, TypedBaudRatesAreCorrectedAndUnusualOnesAsked) {
    ASSERT_TRUE(runProjectSettings("ProjectSettings", [&](frmProjectSettings& dialog) {
        type(dialog, "cboBaudRate", "abc");
        EXPECT_EQ(fieldText(dialog, "cboBaudRate"), "1");
        type(dialog, "cboBaudRate", "12000000");
        EXPECT_EQ(fieldText(dialog, "cboBaudRate"), "9999999");
        EXPECT_EQ(messageTexts(), (std::vector<std::string>{kIllegal, kIllegal}));
        messages.shown.clear();

        type(dialog, "cboBaudRate", "50");
        messages.answers = {MessageResult::Cancel};
        click(dialog, "cmdOK");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text.rfind("You are using an extremly low baud rate (50 baud). \r\n", 0),
                  0u);
        EXPECT_TRUE(dialog.isVisible());

        // "Custom Rate" empties the field for typing.
        choose(dialog, "cboBaudRate", 16);
        EXPECT_EQ(fieldText(dialog, "cboBaudRate"), "");
        type(dialog, "cboBaudRate", "250000");
        messages.answers = {MessageResult::OK};
        click(dialog, "cmdOK");
        ASSERT_EQ(messages.shown.size(), 2u);
        EXPECT_EQ(
            messages.shown[1].text.rfind("You are using a non-standard baud rate (250000 baud). \r\n", 0),
            0u);
    }));
    EXPECT_EQ(current().baudRate, 250000);
}

TEST_F(ProjectSettingsDialogTest, TheSamePortTwiceAndATapInSendReceiveAreRefused) {
    ASSERT_TRUE(runProjectSettings("ProjectSettings", [&](frmProjectSettings& dialog) {
        type(dialog, "cboChannel1", "tap0");
        EXPECT_EQ(fieldText(dialog, "cboChannel1"), "TAP0");
        click(dialog, "cmdOK");
        EXPECT_EQ(messageTexts(),
                  std::vector<std::string>{
                      "The TAP ports are for Monitoring Mode only. For Send/Receive, use a COM port."});
        messages.shown.clear();

        click(dialog, "optMonitoring");
        EXPECT_FALSE(combo(dialog, "cboChannel2")->isHidden());
        EXPECT_EQ(child<QLabel>(dialog, "lblChannel1")->text(), "Receive Channel 1 ");
        EXPECT_EQ(child<QLabel>(dialog, "lblChannel2")->text(), "Receive Channel 2");
        type(dialog, "cboChannel1", "COM3");
        type(dialog, "cboChannel2", "com3");
        click(dialog, "cmdOK");
        EXPECT_EQ(
            messageTexts(),
            std::vector<std::string>{
                "You cannot use the same communication port for channel 1 and channel 2. Please correct."});
        EXPECT_TRUE(dialog.isVisible());
        click(dialog, "cmdCancel");
    }));
    EXPECT_EQ(current().channelA, "COM256");
    EXPECT_EQ(current().communicationMode, CommunicationMode::SendReceive);
}

TEST_F(ProjectSettingsDialogTest, ListsAndTheParityErrorCharacterFillTheFields) {
    ASSERT_TRUE(runProjectSettings("ProjectSettings", [&](frmProjectSettings& dialog) {
        // The heading gives the first port after it.
        choose(dialog, "cboChannel1", 0);
        EXPECT_EQ(fieldText(dialog, "cboChannel1").left(3), "COM");
        EXPECT_EQ(fieldText(dialog, "cboChannel1").indexOf(' '), -1);
        choose(dialog, "cboChannel1", combo(dialog, "cboChannel1")->findText("COM256  (loopback)"));
        EXPECT_EQ(fieldText(dialog, "cboChannel1"), "COM256");

        type(dialog, "cboParityErrorChar", "A");
        EXPECT_EQ(fieldText(dialog, "cboParityErrorChar"), "65 ('A')");
        type(dialog, "cboParityErrorChar", "300");
        EXPECT_EQ(fieldText(dialog, "cboParityErrorChar"), "255 ('\xc3\xbf')");
        EXPECT_EQ(messageTexts(), std::vector<std::string>{kIllegal});
        // Enter in the field checks it without closing the dialog.
        QLineEdit* edit = combo(dialog, "cboParityErrorChar")->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, "B");
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(fieldText(dialog, "cboParityErrorChar"), "66 ('B')");
        EXPECT_TRUE(dialog.isVisible());

        choose(dialog, "cboParity", 0);
        choose(dialog, "cboDataBits", 2);
        choose(dialog, "cboStopBits", 2);
        click(dialog, "optFlowControl2");
        click(dialog, "optFilter2");
        click(dialog, "cmdOK");
    }));
    EXPECT_EQ(current().parityErrorCharacter, 66);
    EXPECT_EQ(current().parity, Parity::Even);
    EXPECT_EQ(current().dataBits, DataBits::Seven);
    EXPECT_EQ(current().stopBits, StopBits::Two);
    EXPECT_EQ(current().flowControl, FlowControl::RtsCts);
    EXPECT_EQ(current().contentFilter, ContentFilter::Channel2Only);
    // The filter's label in the main window opens the filter tab.
    auto* filterLabel = window().findChild<ClickableLabel*>("lblContentsFilter");
    ASSERT_NE(filterLabel, nullptr);
    EXPECT_EQ(filterLabel->text(), "[RX] only");
    // The program settings remember the new defaults.
    const std::string settingsText = test::readFile(settingsFile);
    EXPECT_NE(settingsText.find("CommParErrChar=66"), std::string::npos) << settingsText;
}

TEST_F(ProjectSettingsDialogTest, Rs485ControlAsksAndCancelShowsTheFlowControlTab) {
    ASSERT_TRUE(runProjectSettings("ProjectSettings", [&](frmProjectSettings& dialog) {
        click(dialog, "optFlowControl6");
        dialog.tabs()->setCurrentIndex(2);
        messages.answers = {MessageResult::Cancel};
        click(dialog, "cmdOK");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text.rfind("You are using Flow Control: RS485 Transceiver Control. ", 0),
                  0u);
        EXPECT_EQ(dialog.tabs()->currentIndex(), 1);
        click(dialog, "cmdCancel");
    }));
    EXPECT_EQ(current().flowControl, FlowControl::None);
}

TEST_F(ProjectSettingsDialogTest, TheHelpButtonShowsTheDialogsHelpPage) {
    ASSERT_TRUE(runProjectSettings("ProjectSettings", [&](frmProjectSettings& dialog) {
        click(dialog, "cmdHelp");
        click(dialog, "cmdCancel");
    }));
    ASSERT_NE(program->help().viewer(), nullptr);
    EXPECT_TRUE(program->help().viewer()->isVisible());
    EXPECT_TRUE(program->help().browser()->toPlainText().contains("Project settings"));
    EXPECT_TRUE(messages.shown.empty()) << messageTexts()[0];
}

} // namespace
} // namespace corvane
