// The main window around its settings dialogs, and the expert options dialog's logic.
#include "ControlFixture.h"

#include "app/control/ExpertOptionsForm.h"

#include <optional>

namespace corvane {
namespace {

class SettingsDialogCommandsTest : public test::ControlTest {
protected:
    SettingsDialogCommands& dialogs() { return controller.settingsDialogs(); }
};

TEST_F(SettingsDialogCommandsTest, OkReplacesNormalisesAndStoresTheCommunicationSettings) {
    start();
    int shownTab = 0;
    dialogs().showProjectSettings(2, [&](int tab) -> std::optional<CommunicationSettings> {
        shownTab = tab;
        // Communication stopped before the dialog opened.
        EXPECT_FALSE(controller.communication().communicationRuns());
        CommunicationSettings chosen = communicationSettings;
        chosen.channelA = "COM5";
        chosen.baudRate = 19200;
        chosen.dataBits = DataBits::Seven;
        chosen.parity = Parity::Even;
        chosen.tapSignallingLevel = 7;
        return chosen;
    });
    EXPECT_EQ(shownTab, 2);
    EXPECT_EQ(communicationSettings.channelA, "COM5");
    EXPECT_EQ(communicationSettings.tapSignallingLevel, 0);
    EXPECT_TRUE(controller.project().projectModified());
    EXPECT_EQ(store.value("Communication", "CommChannelA"), "COM5");
    EXPECT_EQ(store.value("Communication", "CommSpeedStr"), "19200");
    EXPECT_EQ(store.value("Communication", "CommDataBits"), "3");
    EXPECT_EQ(channel1.channelSettings(), "COM5:19200,EVEN,7,1,OFF,63");
    EXPECT_FALSE(controller.communication().communicationRuns());
}

TEST_F(SettingsDialogCommandsTest, CancelChangesNothingAndAFilterLabelFollowsOk) {
    const CommunicationSettings before = communicationSettings;
    dialogs().showProjectSettings(1, [](int) { return std::optional<CommunicationSettings>(); });
    EXPECT_EQ(communicationSettings, before);
    EXPECT_FALSE(controller.project().projectModified());
    EXPECT_FALSE(store.value("Communication", "CommChannelA").has_value());

    dialogs().showProjectSettings(3, [&](int) {
        CommunicationSettings chosen = communicationSettings;
        chosen.contentFilter = ContentFilter::CommentsOnly;
        return std::optional<CommunicationSettings>(chosen);
    });
    EXPECT_EQ(window.labels.filterText, "comments only");
}

TEST_F(SettingsDialogCommandsTest, TheExpertOptionsAreStoredAndShownByTheMainWindow) {
    start();
    const bool stored = dialogs().showExpertOptions([&] {
        EXPECT_FALSE(controller.communication().communicationRuns());
        ExpertOptions chosen;
        chosen.communicationDriverMode = 1;
        chosen.dataForwarding = 1;
        return std::optional<ExpertOptions>(chosen);
    });
    EXPECT_TRUE(stored);
    EXPECT_EQ(settings.expertOptions.communicationDriverMode, 1);
    EXPECT_EQ(store.value(kExpertOptionsSection, kDriverModeKey), "1");
    EXPECT_EQ(store.value(kExpertOptionsSection, kDataForwardingKey), "1");
    // "no data forwarding" only counts when monitoring receive-only.
    EXPECT_EQ(window.labels.expertText, "Expert option: high priority mode");

    // Without an external process a start in high priority mode fails.
    controller.communication().execUserStart();
    EXPECT_FALSE(controller.communication().communicationRuns());
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text, "Could not start external high priority process.");

    EXPECT_FALSE(dialogs().showExpertOptions([] { return std::optional<ExpertOptions>(); }));
    EXPECT_EQ(settings.expertOptions.communicationDriverMode, 1);
}

TEST(ExpertOptionsFormTest, HighPriorityModeIsAskedForWithItsHelpTopic) {
    FakeMessageService messages;
    ExpertOptions current;
    current.dataForwarding = 5;
    ExpertOptionsForm form(messages, current);
    EXPECT_EQ(form.choices().dataForwarding, 0);
    std::vector<int> tabs;
    form.setTabRequest([&](int tab) { tabs.push_back(tab); });

    form.chooseDataForwarding(1);
    ASSERT_TRUE(form.ok());
    EXPECT_TRUE(messages.shown.empty());

    form.chooseDriverMode(1);
    EXPECT_FALSE(form.ok());
    EXPECT_FALSE(form.accepted());
    EXPECT_EQ(tabs, std::vector<int>{0});
    ASSERT_EQ(messages.shown.size(), 1u);
    const MessageRequest& question = messages.shown[0];
    EXPECT_EQ(
        question.text,
        "You have choosen Expert Options: High Priority Mode. This can influence other applications and "
        "basic Windows operations, or even freeze / block your computer completely. \r\nAre you sure you "
        "want use this settings?");
    EXPECT_EQ(question.title, "Expert Options");
    EXPECT_EQ(question.icon, MessageIcon::Warning);
    EXPECT_EQ(question.buttons, MessageButtons::OKCancel);
    EXPECT_EQ(question.defaultButton, 1);
    EXPECT_EQ(question.helpTopic, 80);

    messages.answers = {MessageResult::OK};
    ASSERT_TRUE(form.ok());
    EXPECT_EQ(form.choices().communicationDriverMode, 1);
    EXPECT_EQ(form.choices().dataForwarding, 1);
    EXPECT_EQ(ExpertOptionsForm::helpTopicOf(0), 80);
    EXPECT_EQ(ExpertOptionsForm::helpTopicOf(1), 81);
}

} // namespace
} // namespace corvane
