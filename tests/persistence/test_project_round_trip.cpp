// Project files of version 8 in the form this version writes read back and save again byte for
// byte: every stored number of the communication settings is written as it was read, also the
// numbers that name no code (unnamed_codes.ptp).
#include "ProjectFixture.h"

#include <filesystem>

using namespace corvane;

namespace {

class ProjectRoundTripTest : public ProjectTest {
protected:
    static std::string fileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

TEST_F(ProjectRoundTripTest, SavedAgainByteForByte) {
    const std::filesystem::path here = std::filesystem::path(CORVANE_TESTS_DIR) / "persistence";
    const std::filesystem::path samples = here.parent_path().parent_path() / "samples";
    for (const std::filesystem::path& file :
         {samples / "PingPong.ptp", samples / "ModemDiagnostics.ptp", here / "data" / "unnamed_codes.ptp"}) {
        const std::string original = fileBytes(file.string());
        writeFile("copy.ptp", original);
        lists.resetSendList();
        lists.resetReceiveList();
        ASSERT_TRUE(loadHere("copy")) << file;
        EXPECT_TRUE(messages.shown.empty()) << file;
        ASSERT_TRUE(saveProject(env, directory, "saved", 8)) << file;
        EXPECT_EQ(readFile("saved.ptp"), original) << file;
    }
}

} // namespace
