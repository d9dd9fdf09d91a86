// The settings file when it can't be read or written: a damaged file, a full disk. The program
// goes on with what it can read, the user is told, and no file is lost.
#include "persistence/ProgramSettings.h"
#include "platform/qt/QtSettingsStore.h"
#include "support/FileContents.h"
#include "support/SmallFileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

class SettingsFileFaultsTest : public ::testing::Test {
protected:
    std::string filePath() const { return folder.file("Corvane.conf"); }

    test::TempFolder folder;
};

TEST_F(SettingsFileFaultsTest, ADamagedFileIsKeptAsideAndWhatCanBeReadIsUsed) {
    const char bytes[] =
        "[TextSetup]\nDispFontSize=11\n[Stamp\nDate=false\n\0\xff\xfe junk\n[Colors]\nDispBack=red\n";
    const std::string damaged(bytes, sizeof bytes - 1);
    test::writeFile(filePath(), damaged);
    {
        QtSettingsStore store(filePath());
        EXPECT_EQ(store.loadWarning(),
                  "The program settings file " + filePath() +
                      " is damaged. Corvane uses the settings it can still read and the "
                      "default settings for the others. A copy of the damaged file is kept "
                      "as " +
                      filePath() + ".corrupt.");
        EXPECT_EQ(test::readFile(filePath() + ".corrupt"), damaged);
        ProgramSettingsData settings;
        readColorSettings(store, settings);
        readTextSetupSettings(store, settings);
        EXPECT_EQ(settings.dispFontSize, 11) << "a key that reads is used";
        EXPECT_EQ(settings.dispBack, 16777215) << "one that doesn't gets its default";
        store.setValue("TextSetup", "DispFontSize", "12");
        EXPECT_TRUE(store.sync());
    }
    EXPECT_EQ(test::readFile(filePath() + ".corrupt"), damaged) << "the copy outlives the rewrite";
    QtSettingsStore again(filePath());
    EXPECT_EQ(again.loadWarning(), "") << "the rewritten file reads";
    EXPECT_EQ(again.value("TextSetup", "DispFontSize").value_or(""), "12");
}

TEST_F(SettingsFileFaultsTest, AGoodFileGivesNoWarning) {
    test::writeFile(filePath(), "[TextSetup]\nDispFontSize=9\n");
    EXPECT_EQ(QtSettingsStore(filePath()).loadWarning(), "");
    EXPECT_EQ(QtSettingsStore(folder.file("new.conf")).loadWarning(), "") << "no file yet is a fresh user";
}

TEST_F(SettingsFileFaultsTest, AWriteOntoAFullDiskKeepsTheOldFileByteForByte) {
    test::SmallFileSystem disk(folder.file("disk"), 64 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.reason();
    }
    const std::string path = disk.folder() + "/Corvane.conf";
    const std::string old = "[TextSetup]\nDispFontSize=9\n";
    test::writeFile(path, old);
    ASSERT_TRUE(disk.fill());
    {
        QtSettingsStore store(path);
        store.setValue("Recent", "RecentProject1", std::string(8000, 'p'));
        EXPECT_FALSE(store.sync());
    }
    EXPECT_EQ(test::readFile(path), old);
    EXPECT_EQ(disk.entries(), std::vector<std::string>{"Corvane.conf"}) << "no new file left behind";
    disk.release();
    {
        QtSettingsStore store(path);
        store.setValue("Recent", "RecentProject1", "/p/a");
        EXPECT_TRUE(store.sync()) << "with room again the settings are written";
    }
    EXPECT_NE(test::readFile(path).find("RecentProject1=/p/a"), std::string::npos);
}

} // namespace
