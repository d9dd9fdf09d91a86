// Project commands of the main window over real files, and the help topics.
#include "StartupFixture.h"

#include "app/gui/SequenceListTable.h"

#include <QAction>
#include <QTableWidget>
#include <QTextBrowser>

namespace corvane {
namespace {

class ProjectCommandsTest : public test::StartupFixture {
protected:
    void SetUp() override {
        StartupFixture::SetUp();
        ASSERT_TRUE(start({root + "bin/Samples/PingPong.ptp"}));
        window().setFileDialog(
            [this](const std::string& title, const std::string& directory, bool save, int& filter) {
                dialogs.push_back(title + "|" + directory + "|" + (save ? "save" : "open"));
                filter = chosenFilter;
                return chosenPath;
            });
    }

    std::vector<std::string> dialogs;
    std::string chosenPath;
    int chosenFilter = 0;
};

TEST_F(ProjectCommandsTest, SaveAsWritesTheProjectAndNamesTheWindow) {
    chosenPath = root + "work/Copy.ptp";
    window().EnableSave();
    ASSERT_TRUE(window().execSaveProjectAs());
    EXPECT_TRUE(std::filesystem::exists(root + "work/Copy.ptp"));
    EXPECT_EQ(state().current.baseName, "Copy");
    EXPECT_FALSE(window().projectModified());
    EXPECT_FALSE(window().action("Save")->isEnabled());
    EXPECT_TRUE(window().windowTitle().endsWith(" - Project: Copy"));
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], "Save Project|" + root + "bin/Samples/PingPong|save");
    // The saved file opens again with the same lists.
    int sends = state().lists.sendList().sequenceCount();
    ASSERT_TRUE(window().OpenExistingProject(root + "work/Copy.ptp"));
    EXPECT_EQ(state().lists.sendList().sequenceCount(), sends);
}

TEST_F(ProjectCommandsTest, CancelledSaveAsSavesNothing) {
    chosenPath.clear();
    window().EnableSave();
    EXPECT_FALSE(window().execSaveProjectAs());
    EXPECT_TRUE(window().projectModified());
}

TEST_F(ProjectCommandsTest, NewAsksToSaveAChangedProject) {
    window().EnableSave();
    messages.answers.push_back(MessageResult::Cancel);
    window().execProjectNew();
    EXPECT_EQ(state().current.baseName, "PingPong");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Save changes for this project?");
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
    messages.answers.push_back(MessageResult::No);
    window().execProjectNew();
    EXPECT_TRUE(state().current.baseName.empty());
    EXPECT_EQ(state().lists.sendList().sequenceCount(), 0);
    EXPECT_EQ(window().sendListWidget()->rowCount(), 0);
    EXPECT_FALSE(window().projectModified());
}

TEST_F(ProjectCommandsTest, OpenStartsInTheProjectsFolderAndCancelKeepsTheProject) {
    chosenPath.clear();
    window().execLoadProject(std::string(), false);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], "Open Project|" + root + "bin/Samples/|open");
    EXPECT_EQ(state().current.baseName, "PingPong");
}

TEST_F(ProjectCommandsTest, ImportAppendsTheSequencesAndKeepsTheProjectAndItsAnswers) {
    const int sends = state().lists.sendList().sequenceCount();
    const int receives = state().lists.receiveList().sequenceCount();
    chosenPath = root + "bin/Samples/ModemDiagnostics.ptp";
    window().action("Import")->trigger();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], "Import Sequence List|" + root + "bin/Samples/|open");
    EXPECT_EQ(state().current.baseName, "PingPong");
    EXPECT_TRUE(window().projectModified());
    EXPECT_TRUE(window().action("Save")->isEnabled());
    EXPECT_GT(state().lists.sendList().sequenceCount(), sends);
    EXPECT_GT(state().lists.receiveList().sequenceCount(), receives);
    EXPECT_EQ(window().sendListWidget()->rowCount(), state().lists.sendList().sequenceCount());
    EXPECT_EQ(window().receiveListWidget()->rowCount(), state().lists.receiveList().sequenceCount());
    // The project's own answers still point at their sequences; imported answers point past them.
    const auto& sendList = state().lists.sendList();
    const auto& receiveList = state().lists.receiveList();
    for (int i = 0; i < receiveList.sequenceCount(); ++i) {
        const int answer = receiveList[i].answerIndex;
        if (answer < 0) {
            continue;
        }
        ASSERT_LT(answer, sendList.sequenceCount()) << i;
        EXPECT_EQ(receiveList[i].answerName, sendList[answer].name) << i;
        EXPECT_EQ(i < receives, answer < sends) << i;
    }
}

TEST_F(ProjectCommandsTest, OpenedProjectsAppearInTheRecentMenu) {
    ASSERT_TRUE(window().OpenExistingProject(root + "bin/Samples/ModemDiagnostics.ptp"));
    auto* recent = window().findChild<QAction*>("mnuRecentProject0");
    ASSERT_NE(recent, nullptr);
    EXPECT_TRUE(recent->isVisible());
    EXPECT_EQ(recent->data().toString().toStdString(), root + "bin/Samples/ModemDiagnostics.ptp");
    recent = window().findChild<QAction*>("mnuRecentProject1");
    EXPECT_EQ(recent->data().toString().toStdString(), root + "bin/Samples/PingPong.ptp");
    // A click opens it again.
    recent->trigger();
    EXPECT_EQ(state().current.baseName, "PingPong");
}

TEST_F(ProjectCommandsTest, ABrokenProjectFileIsReportedAndLeavesAnEmptyProject) {
    test::writeFile(root + "work/Broken.ptp", "VERSION\r\n99\r\n");
    EXPECT_FALSE(window().OpenExistingProject(root + "work/Broken.ptp"));
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().icon, MessageIcon::Error);
    EXPECT_TRUE(state().current.baseName.empty());
}

TEST_F(ProjectCommandsTest, HelpTopicsOpenTheirPagesAndMissingOnesAreReported) {
    EXPECT_TRUE(program->help().showHelpTopic(kHelpDisplayTopic, kHelpContents));
    ASSERT_NE(program->help().browser(), nullptr);
    EXPECT_TRUE(program->help().browser()->toPlainText().contains("Getting started"));
    EXPECT_FALSE(program->help().showHelpTopic(kHelpContext, 4711));
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text, "Missing to Help Topic No.4711");
    EXPECT_EQ(messages.shown.back().title, window().windowTitle().toStdString());
    program->help().setHelpFile(QString());
    EXPECT_FALSE(program->help().showHelpTopic(kHelpDisplayTopic, kHelpContents));
    EXPECT_EQ(messages.shown.back().text,
              "Unable to display Help Contents. There is no Help associated with this project.");
    program->help().closeAll();
    EXPECT_EQ(program->help().browser(), nullptr);
}

} // namespace
} // namespace corvane
