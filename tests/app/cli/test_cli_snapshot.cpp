// corvane-cli --snapshot: the option. The run itself is tested end to end (e2e_snapshot.py).
#include "CliOptions.h"
#include "CliSnapshot.h"

#include <gtest/gtest.h>

namespace corvane::cli {
namespace {

TEST(CliSnapshotOption, IsTakenWithAViewAndRefusedWithQuiet) {
    CliOptions options;
    std::string error;
    ASSERT_TRUE(
        parseCliOptions({"--snapshot", "--view", "hex", "--duration", "60", "rig.ptp"}, options, error))
        << error;
    EXPECT_TRUE(options.snapshot);
    EXPECT_EQ(options.view, 1);

    CliOptions quiet;
    EXPECT_FALSE(parseCliOptions({"--snapshot", "--quiet", "rig.ptp"}, quiet, error));
    EXPECT_NE(error.find("--quiet"), std::string::npos);
    EXPECT_NE(usageText().find("--snapshot"), std::string::npos);
    // Its own exit status, apart from those of the other runs (0 to 4).
    EXPECT_EQ(kExitNoSnapshot, 5);
}

} // namespace
} // namespace corvane::cli
