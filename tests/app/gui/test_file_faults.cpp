// The window program when its files fail it: a project saved onto a full disk, settings on a full
// disk, and a settings file that is damaged or can't be read.
#include "StartupFixture.h"

#include "app/gui/frmRTFNotepad.h"
#include "support/SmallFileSystem.h"

namespace corvane {
namespace {

class FileFaultsTest : public test::StartupFixture {
protected:
    bool shown(const std::string& text, MessageIcon icon) const {
        for (const auto& message : messages.shown) {
            if (message.text == text && message.icon == icon) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(FileFaultsTest, ASaveOntoAFullDiskKeepsTheOldProjectAndNotepadByteForByte) {
    test::SmallFileSystem disk(root + "disk", 128 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.reason();
    }
    const std::string project = root + "disk/Device.ptp";
    const std::string notes = root + "disk/Device.ptn";
    ASSERT_TRUE(test::copyFile(root + "bin/Samples/PingPong.ptp", project));
    test::writeFile(notes, "{\\rtf1\\ansi the notes of the device}");
    const std::string oldProject = test::readFile(project);
    const std::string oldNotes = test::readFile(notes);
    ASSERT_TRUE(start({project}));
    ASSERT_TRUE(messages.shown.empty()) << messageTexts()[0];
    ASSERT_NE(window().notepad().plainText().find("the notes of the device"), std::string::npos);

    state().communicationSettings.baudRate = 19200;
    window().EnableSave();
    ASSERT_TRUE(disk.fill());
    EXPECT_FALSE(window().execSaveProject());
    EXPECT_TRUE(shown("Error while saving the project", MessageIcon::Error)) << messageTexts().size();
    EXPECT_EQ(test::readFile(project), oldProject);
    EXPECT_EQ(test::readFile(notes), oldNotes);
    EXPECT_EQ(disk.entries(), (std::vector<std::string>{"Device.ptn", "Device.ptp"}))
        << "nothing left behind";
    EXPECT_TRUE(window().projectModified()) << "the changes are still to be saved";

    // With room again the same command saves.
    disk.release();
    EXPECT_TRUE(window().execSaveProject());
    EXPECT_FALSE(window().projectModified());
    EXPECT_NE(test::readFile(project), oldProject);
    EXPECT_NE(test::readFile(project).find("\r\n19200\r\n"), std::string::npos);
    // The notepad is written again, in this program's Rich Text Format, with the same text.
    EXPECT_NE(test::readFile(notes).find("the notes of the device"), std::string::npos);
}

TEST_F(FileFaultsTest, SettingsThatCannotBeWrittenAtExitKeepTheOldFile) {
    test::SmallFileSystem disk(root + "settings", 64 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.reason();
    }
    const std::string old = "[Settings]\nSkipWelcomeScreen=false\n";
    test::writeFile(settingsFile, old);
    ASSERT_TRUE(disk.fill());
    ASSERT_TRUE(start({}, frmWelcome::BlankProject, true));
    EXPECT_TRUE(state().settings.skipWelcomeScreen);
    window().close();
    program.reset();
    EXPECT_EQ(test::readFile(settingsFile), old);
    EXPECT_EQ(disk.entries(), std::vector<std::string>{"Corvane.conf"});
}

TEST_F(FileFaultsTest, ADamagedSettingsFileGivesAWarningTheDefaultsAndACopy) {
    std::filesystem::create_directories(root + "settings");
    const char bytes[] = "[TextSetup]\nDispFontSize=12\n[Colors\n\0\xff junk\nDispBack=x\n";
    const std::string damaged(bytes, sizeof bytes - 1);
    test::writeFile(settingsFile, damaged);
    ASSERT_TRUE(start({}, frmWelcome::BlankProject, true));
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(messages.shown[0].text,
              "The program settings file " + settingsFile +
                  " is damaged. Corvane uses the settings it can still read and the "
                  "default settings for the others. A copy of the damaged file is kept as " +
                  settingsFile + ".corrupt.");
    EXPECT_EQ(state().settings.dispFontSize, 12);
    EXPECT_EQ(state().settings.dispBack, 16777215);
    window().close();
    program.reset();
    EXPECT_EQ(test::readFile(settingsFile + ".corrupt"), damaged);
    QtSettingsStore written(settingsFile);
    EXPECT_EQ(written.loadWarning(), "") << "written whole at exit";
    EXPECT_EQ(written.value("Settings", "SkipWelcomeScreen").value_or(""), "true");
}

TEST_F(FileFaultsTest, ASettingsFileThatCannotBeReadGivesAWarningAndTheDefaults) {
    std::filesystem::create_directories(settingsFile);
    ASSERT_TRUE(start({}, frmWelcome::BlankProject));
    EXPECT_EQ(welcomeShown, 1) << "the defaults: the welcome dialog is shown";
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(messages.shown[0].text, "The program settings file " + settingsFile +
                                          " cannot be read (it is a folder). Corvane starts with the default "
                                          "settings, and changed settings cannot be saved.");
    EXPECT_EQ(state().settings.dispFontSize, 10);
    window().close();
    program.reset();
    EXPECT_TRUE(std::filesystem::is_directory(settingsFile));
}

} // namespace
} // namespace corvane
