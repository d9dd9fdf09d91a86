// Where the program finds its sample projects: in the build tree and in an installed tree.
#include "app/control/ProgramFolders.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace corvane {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolders, SamplesBesideTheExecutableComeFirst) {
    test::TempFolder tree;
    fs::create_directories(tree.path() / "bin" / "Samples");
    fs::create_directories(tree.path() / "share" / "corvane" / "Samples");
    EXPECT_EQ(ProgramFolders::samplesFolder(tree.file("bin")), tree.file("bin") + "/Samples/");
    EXPECT_EQ(ProgramFolders::samplesFolder(tree.file("bin") + "/"), tree.file("bin") + "/Samples/");
}

TEST(ProgramFolders, AnInstalledProgramFindsTheSamplesUnderShare) {
    test::TempFolder tree;
    fs::create_directories(tree.path() / "bin");
    fs::create_directories(tree.path() / "share" / "corvane" / "Samples");
    const std::string expected = fs::canonical(tree.path()).string() + "/share/corvane/Samples/";
    EXPECT_EQ(ProgramFolders::samplesFolder(tree.file("bin")), expected);
}

TEST(ProgramFolders, WithoutEitherFolderTheMessageNamesThePlaceBesideTheExecutable) {
    test::TempFolder tree;
    fs::create_directories(tree.path() / "bin");
    // A file of that name is no folder.
    fs::create_directories(tree.path() / "share" / "corvane");
    std::FILE* file = std::fopen((tree.path() / "share" / "corvane" / "Samples").c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(ProgramFolders::samplesFolder(tree.file("bin")), tree.file("bin") + "/Samples/");
}

} // namespace
} // namespace corvane
