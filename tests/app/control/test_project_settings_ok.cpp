// The project settings dialog's logic: the checks of the typed fields and of OK.
#include "ProjectSettingsFixture.h"

#include "app/control/ProjectSettingsFields.h"

namespace corvane {
namespace {

using test::ProjectSettingsTest;
using Strings = std::vector<std::string>;
namespace ps = projectsettings;

constexpr const char* kIllegal = "Illegal value. Please correct.";

TEST(ProjectSettingsFields, TheBaudRateFieldIsLimitedAndCorrected) {
    struct Case {
        const char* typed;
        const char* shown;
        bool passed;
    };
    const Case cases[] = {{"none", "None", true},     {"NONE", "None", true}, {"0", "None", true},
                          {"abc", "1", false},        {"", "1", false},       {"12000000", "9999999", false},
                          {"0.5", "1", false},        {"-300", "1", false},   {" 19200 ", "19200", true},
                          {"19200.5", "19200", true}, {"1.5", "2", true},     {"9999999", "9999999", true}};
    for (const Case& c : cases) {
        const ps::FieldCheck check = ps::checkBaudRateText(c.typed);
        EXPECT_EQ(check.text, c.shown) << c.typed;
        EXPECT_EQ(check.passed, c.passed) << c.typed;
    }
}

TEST(ProjectSettingsFields, TheParityErrorCharacterReadsCharactersAndNumbers) {
    struct Case {
        const char* typed;
        int value;
        const char* shown;
        bool passed;
    };
    const Case cases[] = {{"A", 65, "65 ('A')", true},
                          {"(ignore)", 0, "(ignore)", true},
                          {"300", 255, "255 ('\xc3\xbf')", false},
                          {"-4", 0, "(ignore)", false},
                          {"63 ('?')", 63, "63 ('?')", true},
                          {"7", 55, "55 ('7')", true},
                          {"07", 7, "07", true},
                          {"31", 31, "31", true},
                          {"xyz", 42, "42 ('*')", false},
                          {"\xc3\xb8", 248, "248 ('\xc3\xb8')", true}};
    for (const Case& c : cases) {
        const ps::FieldCheck check = ps::checkParityErrorText(c.typed, 42);
        EXPECT_EQ(check.value, c.value) << c.typed;
        EXPECT_EQ(check.text, c.shown) << c.typed;
        EXPECT_EQ(check.passed, c.passed) << c.typed;
    }
    EXPECT_EQ(ps::parityErrorChoices(),
              (Strings{"(ignore)", "35 ('#')", "42 ('*')", "63 ('?')", "248 ('\xc3\xb8')"}));
}

TEST_F(ProjectSettingsTest, AFailedFieldCheckWarnsAndKeepsTheFocusInTheField) {
    open();
    form->editBaudRate("abc");
    EXPECT_FALSE(form->checkBaudRate());
    EXPECT_EQ(screen().baudRateText, "1");
    form->editParityErrorCharacter("A");
    EXPECT_TRUE(form->checkParityErrorCharacter());
    EXPECT_EQ(screen().parityErrorText, "65 ('A')");
    form->editParityErrorCharacter("300");
    EXPECT_FALSE(form->checkParityErrorCharacter());
    EXPECT_EQ(messageTexts(), (Strings{kIllegal, kIllegal}));
    EXPECT_EQ(messages.shown[0].title, "Project Settings");
    EXPECT_EQ(view.focused, (std::vector<ProjectSettingsField>{ProjectSettingsField::BaudRate,
                                                               ProjectSettingsField::ParityErrorCharacter}));
    // "1" baud is no standard rate: OK asks, and 255 is taken.
    messages.answers = {MessageResult::OK};
    ASSERT_TRUE(form->ok());
    EXPECT_EQ(form->result().baudRate, 1);
    EXPECT_EQ(form->result().parityErrorCharacter, 255);
}

TEST_F(ProjectSettingsTest, ParityErrorCharactersAreStoredAsTheirCode) {
    open();
    form->editParityErrorCharacter("A");
    ASSERT_TRUE(form->ok());
    EXPECT_EQ(form->result().parityErrorCharacter, 65);
    EXPECT_EQ(screen().parityErrorText, "65 ('A')");
    form->editParityErrorCharacter("(ignore)");
    ASSERT_TRUE(form->ok());
    EXPECT_EQ(form->result().parityErrorCharacter, 0);
}

TEST_F(ProjectSettingsTest, AnExtremelyLowRateAsksItsQuestionAndCancelKeepsTheDialogOpen) {
    open();
    form->editBaudRate("50");
    ASSERT_TRUE(form->checkBaudRate());
    messages.answers = {MessageResult::Cancel};
    EXPECT_FALSE(form->ok());
    EXPECT_FALSE(form->accepted());
    ASSERT_EQ(messages.shown.size(), 1u);
    const MessageRequest& question = messages.shown[0];
    EXPECT_EQ(
        question.text,
        "You are using an extremly low baud rate (50 baud). \r\nPlease make sure this baud rate is really "
        "supported by your COM port device. Please also note that very large delays (> 10 second) may "
        "occur when closing the COM port, and Corvane may appear frozen. Are you sure you want to apply "
        "the new settings?");
    EXPECT_EQ(question.buttons, MessageButtons::OKCancel);
    EXPECT_EQ(question.defaultButton, 1);
    EXPECT_EQ(question.icon, MessageIcon::Warning);
    EXPECT_EQ(question.title, "Project Settings");
    EXPECT_EQ(view.tabs.back(), ProjectSettingsTab::Communication);
    EXPECT_EQ(view.focused.back(), ProjectSettingsField::BaudRate);
    EXPECT_EQ(screen().baudRateText, "50");

    messages.answers = {MessageResult::OK};
    ASSERT_TRUE(form->ok());
    EXPECT_EQ(form->result().baudRate, 50);
}

TEST_F(ProjectSettingsTest, ANonStandardRateAsksItsQuestionAndAStandardOneNothing) {
    open();
    form->editBaudRate("250000");
    messages.answers = {MessageResult::OK};
    ASSERT_TRUE(form->ok());
    EXPECT_EQ(form->result().baudRate, 250000);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(
        messages.shown[0].text,
        "You are using a non-standard baud rate (250000 baud). \r\nPlease note that the actual baud rate "
        "on the serial line depends on the capabilities of your COM port's UART chip. You will receive "
        "no warning, if the baud rate setting cannot be applied correctly. Are you sure you want to "
        "apply the new settings?");
    // The default button (Cancel) refuses.
    form->editBaudRate("110");
    EXPECT_TRUE(form->ok());
    form->editBaudRate("109");
    EXPECT_FALSE(form->ok());
    EXPECT_EQ(messages.shown.back().text.rfind("You are using an extremly low baud rate (109 baud). ", 0),
              0u);
    messages.shown.clear();
    form->editBaudRate("115200");
    ASSERT_TRUE(form->ok());
    EXPECT_EQ(form->result().baudRate, 115200);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProjectSettingsTest, TheSamePortOnBothChannelsFailsInMonitoring) {
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    settings.channelA = "COM3";
    settings.channelB = "COM3";
    open();
    EXPECT_FALSE(form->ok());
    EXPECT_EQ(
        messageTexts(),
        Strings{"You cannot use the same communication port for channel 1 and channel 2. Please correct."});
    EXPECT_EQ(view.tabs.back(), ProjectSettingsTab::Communication);
    EXPECT_EQ(view.focused.back(), ProjectSettingsField::Channel2);
    // In Send/Receive channel 2 doesn't count.
    form->chooseMonitoring(false);
    EXPECT_TRUE(form->ok());
}

TEST_F(ProjectSettingsTest, ATapIsForMonitoringOnly) {
    open();
    form->editChannel(0, "TAP0");
    ASSERT_TRUE(form->checkChannel(0));
    EXPECT_FALSE(form->ok());
    EXPECT_EQ(messageTexts(),
              Strings{"The TAP ports are for Monitoring Mode only. For Send/Receive, use a COM port."});
    EXPECT_EQ(view.tabs.back(), ProjectSettingsTab::Communication);
}

TEST_F(ProjectSettingsTest, OneOkCanShowSeveralMessagesAndAppliesNothing) {
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    settings.channelA = "VTP0";
    settings.channelB = "COM1";
    settings.baudRate = 0;
    open();
    EXPECT_TRUE(screen().signalLevelShown);
    EXPECT_FALSE(form->ok());
    EXPECT_EQ(
        messageTexts(),
        (Strings{"Lumo-Tap and Kito-Tap Pro support is only available in Corvane Studio. Please correct.",
                 "For a TAP or VTP port you always need to specify serial communication parameters (baud "
                 "rate, ...). Please correct."}));
    EXPECT_EQ(view.focused.back(), ProjectSettingsField::BaudRate);

    // A tap without line properties fails too; after an earlier failure no question is asked.
    messages.shown.clear();
    form->editChannel(0, "TAP0");
    ASSERT_TRUE(form->checkChannel(0));
    form->editBaudRate("50");
    ASSERT_TRUE(form->checkBaudRate());
    form->editChannel(1, "TAP0");
    ASSERT_TRUE(form->checkChannel(1));
    EXPECT_FALSE(form->ok());
    EXPECT_EQ(
        messageTexts(),
        Strings{"You cannot use the same communication port for channel 1 and channel 2. Please correct."});
}

TEST_F(ProjectSettingsTest, Rs485ControlIsAskedForAndCancelShowsItsChoice) {
    open();
    form->chooseFlowControl(FlowControl::RtsHighWhileSending);
    messages.answers = {MessageResult::Cancel};
    EXPECT_FALSE(form->ok());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(
        messages.shown[0].text,
        "You are using Flow Control: RS485 Transceiver Control. This option can cause problems with many "
        "USB-to-Serial or Virtual COM devices. Are you sure you want to apply the new settings?");
    EXPECT_EQ(messages.shown[0].defaultButton, 1);
    EXPECT_EQ(view.tabs.back(), ProjectSettingsTab::FlowControl);
    EXPECT_EQ(view.focused.back(), ProjectSettingsField::Rs485Choice);

    messages.answers = {MessageResult::OK};
    ASSERT_TRUE(form->ok());
    EXPECT_EQ(form->result().flowControl, FlowControl::RtsHighWhileSending);
}

TEST_F(ProjectSettingsTest, OkTakesEveryFieldAndChecksWhatWasTypedButNotLeft) {
    open();
    form->chooseParity(0);
    form->chooseDataBits(2);
    form->chooseStopBits(1);
    form->chooseFlowControl(FlowControl::RtsCts);
    form->chooseContentFilter(ContentFilter::CommentsOnly);
    form->editBaudRate("19200");
    // Typed and confirmed with Enter: OK checks the field first.
    form->editChannel(0, "com5");
    ASSERT_TRUE(form->ok());
    const CommunicationSettings& result = form->result();
    EXPECT_EQ(result.channelA, "COM5");
    EXPECT_EQ(screen().channel1Text, "COM5");
    EXPECT_EQ(result.baudRate, 19200);
    EXPECT_EQ(result.parity, Parity::Even);
    EXPECT_EQ(result.dataBits, DataBits::Seven);
    EXPECT_EQ(result.stopBits, StopBits::OneAndHalf);
    EXPECT_EQ(result.flowControl, FlowControl::RtsCts);
    EXPECT_EQ(result.contentFilter, ContentFilter::CommentsOnly);
    EXPECT_EQ(result.communicationMode, CommunicationMode::SendReceive);

    // A typed field that fails its check fails OK with the field's own message.
    form->editChannel(0, "COM0");
    EXPECT_FALSE(form->ok());
    EXPECT_FALSE(form->accepted());
    EXPECT_EQ(messageTexts(),
              Strings{"Illegal settings for a local serial port (COM). Valid ports are COM1 to COM256."});
}

} // namespace
} // namespace corvane
