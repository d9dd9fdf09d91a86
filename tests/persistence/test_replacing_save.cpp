// A save that fails on the way keeps the old files: the new file is written beside the old one
// and put in its place only when it is complete.
#include "ProjectFixture.h"

#include "platform/ReplacingFile.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace corvane;

namespace {

class ReplacingSaveTest : public ProjectTest {
protected:
    // The names in the test folder: a failed save must leave no new file behind.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Sequences enough for a project file of some 40 kB.
    void fillLists() {
        for (int i = 0; i < 400; ++i) {
            addSend("Send sequence number " + std::to_string(i), "41 42 43 44 45 46 47 48 49 4A 0D 0A");
        }
    }

    static mode_t modeOf(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }

    const std::string oldProject = "VERSION\r\n8\r\n\r\nthe old project, byte for byte\r\n";
    const std::string oldNotes = "{\\rtf1 the old notes}";
};

TEST_F(ReplacingSaveTest, TheNewFileTakesThePlaceAndPermissionsOfTheOld) {
    writeFile("a.txt", "old");
    ASSERT_EQ(::chmod((directory + "a.txt").c_str(), 0640), 0);
    std::string error;
    ASSERT_TRUE(ReplacingFile::replaceContents(directory + "a.txt", "new contents", &error)) << error;
    EXPECT_EQ(readFile("a.txt"), "new contents");
    EXPECT_EQ(modeOf(directory + "a.txt"), 0640u);
    EXPECT_EQ(entries(), std::vector<std::string>{"a.txt"});

    // A link stays a link; the file it names is replaced.
    writeFile("target.txt", "old");
    std::filesystem::create_symlink(directory + "target.txt", directory + "link.txt");
    ASSERT_TRUE(ReplacingFile::replaceContents(directory + "link.txt", "through the link"));
    EXPECT_TRUE(std::filesystem::is_symlink(directory + "link.txt"));
    EXPECT_EQ(readFile("target.txt"), "through the link");
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.txt", "link.txt", "target.txt"}));
}

TEST_F(ReplacingSaveTest, AFileNeverCommittedLeavesTheOldOneAndNothingElse) {
    writeFile("a.txt", "old");
    {
        ReplacingFile file;
        ASSERT_TRUE(file.open(directory + "a.txt"));
        ASSERT_TRUE(file.write("abandoned"));
        ASSERT_TRUE(file.finish()) << "on the disk, not yet in place";
        EXPECT_EQ(readFile("a.txt"), "old");
        EXPECT_EQ(entries().size(), 2u);
    }
    EXPECT_EQ(readFile("a.txt"), "old");
    EXPECT_EQ(entries(), std::vector<std::string>{"a.txt"});

    ReplacingFile discarded;
    ASSERT_TRUE(discarded.open(directory + "a.txt"));
    ASSERT_TRUE(discarded.write("dropped"));
    discarded.discard();
    EXPECT_FALSE(discarded.commit());
    EXPECT_EQ(readFile("a.txt"), "old");
    EXPECT_EQ(entries(), std::vector<std::string>{"a.txt"});
}

TEST_F(ReplacingSaveTest, WhereNoFileCanBeMadeTheFailureSaysWhy) {
    ReplacingFile file;
    EXPECT_FALSE(file.open(directory + "missing/a.txt"));
    EXPECT_NE(file.lastError().find("No such file or directory"), std::string::npos) << file.lastError();
    EXPECT_FALSE(file.write("x"));
    std::filesystem::create_directory(directory + "folder.ptp");
    EXPECT_FALSE(file.open(directory + "folder.ptp")) << "a folder is not replaced";
    EXPECT_TRUE(std::filesystem::is_directory(directory + "folder.ptp"));
}

TEST_F(ReplacingSaveTest, ASaveThatRunsOutOfRoomKeepsTheOldProjectAndNotepadByteForByte) {
    writeFile("Old.ptp", oldProject);
    writeFile("Old.ptn", oldNotes);
    fillLists();
    notepad.text = "{\\rtf1 new notes}";
    // The child process may write no file beyond 4 kB: the write fails as on a full disk.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        bool saved = saveProject(env, directory, "Old", 8);
        bool told = messages.shown.size() == 1 && messages.shown[0].text == "Error while saving the project";
        ::_exit(!saved && told && current.baseName.empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save failed and said so";
    EXPECT_EQ(readFile("Old.ptp"), oldProject);
    EXPECT_EQ(readFile("Old.ptn"), oldNotes);
    EXPECT_EQ(entries(), (std::vector<std::string>{"Old.ptn", "Old.ptp"}));

    // With room again the same save goes through.
    ASSERT_TRUE(saveProject(env, directory, "Old", 8));
    EXPECT_NE(readFile("Old.ptp"), oldProject);
    EXPECT_EQ(readFile("Old.ptn"), notepad.text);
}

TEST_F(ReplacingSaveTest, ANotepadThatCannotBeSavedKeepsTheOldProjectFile) {
    writeFile("Old.ptp", oldProject);
    addSend("New", "41");
    notepad.text = "notes";
    notepad.failSave = true;
    EXPECT_FALSE(saveProject(env, directory, "Old", 8));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error while saving the project");
    EXPECT_EQ(readFile("Old.ptp"), oldProject) << "the project file is put in place only after the notepad";
    EXPECT_EQ(entries(), std::vector<std::string>{"Old.ptp"});
}

} // namespace
