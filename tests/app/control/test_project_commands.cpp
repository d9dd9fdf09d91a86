// The project commands over real files: the save question, Save As with its version questions,
// Open and Import, the recent projects, swapping the lists and dropped files.
#include "ControlFixture.h"

#include "persistence/ProjectFiles.h"

namespace corvane {
namespace {

using ProjectCommandsTest = test::ControlTest;

TEST_F(ProjectCommandsTest, CancelToTheSaveQuestionKeepsProjectListsAndCommunication) {
    addSend("Ping", "ping");
    controller.project().EnableSave();
    start();
    for (auto command : {+[](ProjectCommands& p) { p.execProjectNew(); },
                         +[](ProjectCommands& p) { p.execLoadProject("", false); },
                         +[](ProjectCommands& p) { p.execSwapSequenceList(); },
                         +[](ProjectCommands& p) { p.openRecentProject("/nowhere/x.ptp"); }}) {
        messages.answers.push_back(MessageResult::Cancel);
        command(controller.project());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "Save changes for this project?");
        EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
        messages.shown.clear();
    }
    EXPECT_TRUE(controller.project().projectModified());
    EXPECT_TRUE(controller.communication().communicationRuns());
    EXPECT_EQ(lists.sendList().sequenceCount(), 1);
    EXPECT_TRUE(fileDialog.requests.empty());
    // The close of the window likewise: the program keeps running.
    messages.answers.push_back(MessageResult::Cancel);
    EXPECT_FALSE(controller.closeRequested());
    EXPECT_FALSE(stopRequested);
}

TEST_F(ProjectCommandsTest, NoToTheSaveQuestionGoesOnWithoutSavingYesSavesFirst) {
    addSend("Ping", "ping");
    controller.project().EnableSave();
    messages.answers.push_back(MessageResult::No);
    controller.project().execProjectNew();
    EXPECT_EQ(lists.sendList().sequenceCount(), 0);
    EXPECT_FALSE(controller.project().projectModified());
    EXPECT_TRUE(fileDialog.requests.empty());

    // Yes on a project never saved asks for a file; a cancelled dialog stops the command.
    addSend("Ping", "ping");
    controller.project().EnableSave();
    messages.answers.push_back(MessageResult::Yes);
    controller.project().execProjectNew();
    ASSERT_EQ(fileDialog.requests.size(), 1u);
    EXPECT_EQ(fileDialog.requests[0].title, "Save Project");
    EXPECT_TRUE(fileDialog.requests[0].save);
    EXPECT_EQ(lists.sendList().sequenceCount(), 1);
    EXPECT_TRUE(controller.project().projectModified());

    // Yes with a file chosen saves it, then goes on.
    messages.answers.push_back(MessageResult::Yes);
    fileDialog.choices.push_back({directory + "Kept.ptp", 0});
    controller.project().execProjectNew();
    EXPECT_NE(test::readFile(directory + "Kept.ptp").find("Ping"), std::string::npos);
    EXPECT_EQ(lists.sendList().sequenceCount(), 0);
    EXPECT_TRUE(current.baseName.empty());
}

TEST_F(ProjectCommandsTest, SaveAsAsksBeforeAnOlderVersionAndNoShowsTheDialogAgain) {
    addSend("Ping", "ping");
    controller.project().EnableSave();
    // Version 7 chosen; No: the dialog again; version 6 chosen; Cancel: nothing saved.
    fileDialog.choices.push_back({directory + "Old.ptp", 1});
    fileDialog.choices.push_back({directory + "Old.ptp", 2});
    messages.answers = {MessageResult::No, MessageResult::Cancel};
    EXPECT_FALSE(controller.project().execSaveProjectAs());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].title, "Save As Corvane V1.6 Project File");
    EXPECT_EQ(messages.shown[1].title, "Save As Corvane V1.3-V1.5 Project File");
    EXPECT_EQ(fileDialog.requests.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(directory + "Old.ptp"));
    EXPECT_TRUE(controller.project().projectModified());

    // Yes writes the chosen version under the chosen name.
    fileDialog.choices.push_back({directory + "Old.ptp", 1});
    messages.answers = {MessageResult::Yes};
    EXPECT_TRUE(controller.project().execSaveProjectAs());
    EXPECT_EQ(test::readFile(directory + "Old.ptp").substr(0, 12), "VERSION\r\n7\r\n");
    EXPECT_EQ(current.baseName, "Old");
    EXPECT_FALSE(controller.project().projectModified());
    EXPECT_EQ(window.caption(), windowCaptionOf("Old"));

    // Save writes the current version under the same name, without a dialog.
    controller.project().EnableSave();
    EXPECT_TRUE(controller.project().execSaveProject());
    EXPECT_EQ(test::readFile(directory + "Old.ptp").substr(0, 12), "VERSION\r\n8\r\n");
    EXPECT_EQ(fileDialog.requests.size(), 3u);
}

TEST_F(ProjectCommandsTest, OpenStartsInTheProjectFolderAndPutsTheProjectAtTheTopOfTheRecentList) {
    const std::string pingPong = copySample("PingPong.ptp");
    // Cancelled: nothing happens, and the dialog started in the documents folder.
    controller.project().execLoadProject("", false);
    ASSERT_EQ(fileDialog.requests.size(), 1u);
    EXPECT_EQ(fileDialog.requests[0].title, "Open Project");
    EXPECT_EQ(fileDialog.requests[0].startPath, directory);
    EXPECT_EQ(lists.sendList().sequenceCount(), 0);

    fileDialog.choices.push_back({pingPong, 0});
    controller.project().execLoadProject("", false);
    EXPECT_EQ(current.baseName, "PingPong");
    EXPECT_GT(lists.sendList().sequenceCount(), 0);
    EXPECT_EQ(settings.recent[kRecentProjects][0], directory + "PingPong");
    EXPECT_FALSE(controller.project().projectModified());

    // Import appends the lists and keeps the project's name.
    const int sends = lists.sendList().sequenceCount();
    fileDialog.choices.push_back({pingPong, 0});
    controller.project().execLoadProject("/start/here/", true);
    EXPECT_EQ(fileDialog.requests.back().title, "Import Sequence List");
    EXPECT_EQ(fileDialog.requests.back().startPath, "/start/here/");
    EXPECT_EQ(lists.sendList().sequenceCount(), 2 * sends);
    EXPECT_EQ(current.baseName, "PingPong");
}

TEST_F(ProjectCommandsTest, MissingFilesAreReportedAndLeaveTheProjectAlone) {
    addSend("Ping", "ping");
    EXPECT_FALSE(controller.project().OpenExistingProject(directory + "Missing.ptp"));
    EXPECT_FALSE(controller.project().OpenExistingNotepad(directory + "Missing.ptn"));
    EXPECT_EQ(messageTexts(),
              (std::vector<std::string>{"Could not find project file " + directory + "Missing.ptp",
                                        "Could not find notepad file " + directory + "Missing.ptn"}));
    EXPECT_EQ(lists.sendList().sequenceCount(), 1);

    // A notepad without a project opens in a new project that carries its name.
    test::writeFile(directory + "Notes.ptn", "remember");
    EXPECT_TRUE(controller.project().OpenExistingNotepad(directory + "Notes.ptn"));
    EXPECT_EQ(notepad.text, "remember");
    EXPECT_TRUE(notepad.visible);
    EXPECT_EQ(current.baseName, "Notes");
    EXPECT_EQ(lists.sendList().sequenceCount(), 0);
}

TEST_F(ProjectCommandsTest, OfTheDroppedFilesTheFirstProjectOrNotepadIsOpened) {
    copySample("PingPong.ptp");
    EXPECT_FALSE(controller.project().openDroppedFiles({directory + "a.txt", directory + "b.ptpx"}));
    EXPECT_TRUE(controller.project().openDroppedFiles(
        {directory + "a.txt", directory + "PingPong.PTP", directory + "Other.ptp"}));
    EXPECT_EQ(current.baseName, "PingPong");
    EXPECT_TRUE(messages.shown.empty()) << messageTexts()[0];

    // Modified: the save question comes first, and Cancel keeps the project.
    controller.project().EnableSave();
    messages.answers.push_back(MessageResult::Cancel);
    EXPECT_TRUE(controller.project().openDroppedFiles({directory + "Missing.ptn"}));
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Save changes for this project?"});
    EXPECT_EQ(current.baseName, "PingPong");
}

TEST_F(ProjectCommandsTest, SwappingTheListsAsksWithCancelPreselected) {
    addSend("Ping", "ping");
    addReceive("Pong", "pong");
    start();
    messages.answers.push_back(MessageResult::Cancel);
    controller.project().execSwapSequenceList();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Swap Send and Receive Sequence List");
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::OKCancel);
    EXPECT_EQ(messages.shown[0].defaultButton, 1);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_FALSE(controller.communication().communicationRuns());
    EXPECT_EQ(lists.sendList()[0].name, "Ping");

    messages.answers.push_back(MessageResult::OK);
    controller.project().execSwapSequenceList();
    EXPECT_EQ(lists.sendList()[0].name, "Pong");
    EXPECT_EQ(lists.receiveList()[0].name, "Ping");
}

} // namespace
} // namespace corvane
