// The expert options dialog in the real main window: the high priority question, what OK stores
// and the main window's note.
#include "SettingsDialogFixture.h"

#include "app/gui/ClickableLabel.h"

namespace corvane {
namespace {

class ExpertOptionsDialogTest : public test::SettingsDialogFixture {
protected:
    void SetUp() override {
        SettingsDialogFixture::SetUp();
        openPingPong();
    }
    ClickableLabel* expertLabel() { return window().findChild<ClickableLabel*>("lblExpertOptions"); }
};

TEST_F(ExpertOptionsDialogTest, HighPriorityModeIsAskedForStoredAndNoted) {
    ASSERT_NE(expertLabel(), nullptr);
    EXPECT_TRUE(expertLabel()->isHidden());
    window().execUserStart();
    ASSERT_TRUE(runExpertOptions([&](frmExpertOptions& dialog) {
        EXPECT_FALSE(window().communicationRuns());
        EXPECT_EQ(dialog.windowTitle(), "Expert Options");
        EXPECT_TRUE(child<QRadioButton>(dialog, "optDriverMode0")->isChecked());
        EXPECT_TRUE(child<QRadioButton>(dialog, "optDataForwarding0")->isChecked());
        click(dialog, "optDriverMode1");
        click(dialog, "optDataForwarding1");
        dialog.tabs()->setCurrentIndex(1);
        // Cancel to the question: the first tab, the dialog stays open, nothing stored.
        messages.answers = {MessageResult::Cancel};
        click(dialog, "cmdOK");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.tabs()->currentIndex(), 0);
        EXPECT_EQ(state().settings.expertOptions.communicationDriverMode, 0);
        messages.answers = {MessageResult::OK};
        click(dialog, "cmdOK");
    }));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].helpTopic, 80);
    EXPECT_EQ(messages.shown[0].title, "Expert Options");
    EXPECT_EQ(state().settings.expertOptions.communicationDriverMode, 1);
    EXPECT_EQ(state().settings.expertOptions.dataForwarding, 1);
    const std::string settingsText = test::readFile(settingsFile);
    EXPECT_NE(settingsText.find("CommDriverMode=1"), std::string::npos) << settingsText;
    EXPECT_NE(settingsText.find("DataForwarding=1"), std::string::npos) << settingsText;
    EXPECT_FALSE(expertLabel()->isHidden());
    EXPECT_EQ(expertLabel()->text(), "Expert option: high priority mode");

    // No external process in this build: the start fails with its message.
    messages.shown.clear();
    window().execUserStart();
    EXPECT_FALSE(window().communicationRuns());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Could not start external high priority process.");

    // Clicking the note opens the dialog again; Cancel keeps the options.
    emit expertLabel()->clicked();
    EXPECT_EQ(window().pendingCommand(), "ExpOptions");
    ASSERT_TRUE(runExpertOptions([&](frmExpertOptions& dialog) {
        EXPECT_TRUE(child<QRadioButton>(dialog, "optDriverMode1")->isChecked());
        click(dialog, "optDriverMode0");
        click(dialog, "cmdCancel");
    }));
    EXPECT_EQ(state().settings.expertOptions.communicationDriverMode, 1);
}

TEST_F(ExpertOptionsDialogTest, TheInternalDriverNeedsNoQuestionAndHelpFollowsTheTab) {
    ASSERT_TRUE(runExpertOptions([&](frmExpertOptions& dialog) {
        dialog.tabs()->setCurrentIndex(1);
        click(dialog, "cmdHelp");
        // The text of a choice chooses it too.
        emit child<ClickableLabel>(dialog, "lblDataForwarding1")->clicked();
        EXPECT_TRUE(child<QRadioButton>(dialog, "optDataForwarding1")->isChecked());
        click(dialog, "cmdOK");
    }));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(program->help().viewer()->isVisible());
    EXPECT_EQ(state().settings.expertOptions.dataForwarding, 1);
    // "no data forwarding" is noted only when monitoring receive-only.
    EXPECT_TRUE(expertLabel()->isHidden());
    ASSERT_TRUE(runProjectSettings("ProjectSettings", [&](frmProjectSettings& dialog) {
        click(dialog, "optMonitoring");
        type(dialog, "cboChannel2", "COM1");
        click(dialog, "cmdOK");
    }));
    EXPECT_EQ(expertLabel()->text(), "Expert option: no data forwarding");
}

} // namespace
} // namespace corvane
