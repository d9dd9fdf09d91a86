// The work time of the main loop passes: count, longest pass and passes above 50 ms.
#include "MainWindowFixture.h"

#include <chrono>

namespace corvane {
namespace {

using MainLoopPassStatsTest = test::MainWindowFixture;

TEST_F(MainLoopPassStatsTest, PassesAreCountedAndASlowOneIsRemembered) {
    openPingPong();
    const auto before = window().passStats();
    for (int i = 0; i < 5; ++i) {
        window().MainProcess(false, true);
    }
    EXPECT_EQ(window().passStats().passes, before.passes + 5);
    EXPECT_GT(window().passStats().longest.count(), 0);

    // A deferred command that takes 60 ms makes its pass a slow one.
    window().setDialogCommand("Find", [] { QThread::msleep(60); });
    const auto slowBefore = window().passStats().slowPasses;
    window().setPendingCommand("Find");
    window().MainProcess(false, true);
    EXPECT_EQ(window().passStats().slowPasses, slowBefore + 1);
    EXPECT_GE(window().passStats().longest, std::chrono::milliseconds(60));
    const std::string text = window().passStatsText();
    EXPECT_NE(text.find(std::to_string(window().passStats().passes) + " main loop passes"), std::string::npos)
        << text;
    EXPECT_NE(text.find(std::to_string(window().passStats().slowPasses) + " above 50 ms"), std::string::npos)
        << text;
}

TEST_F(MainLoopPassStatsTest, TheIdleWaitIsNotWorkTime) {
    openPingPong();
    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns());
    const auto slowBefore = window().passStats().slowPasses;
    // Idle passes with communication running wait for data; none of that wait counts as work.
    for (int i = 0; i < 20; ++i) {
        window().MainProcess(false, true);
    }
    EXPECT_EQ(window().passStats().slowPasses, slowBefore);
    window().execUserStop();
}

TEST_F(MainLoopPassStatsTest, TheFiguresGoToStderrAtTheEndOnlyWhenAskedFor) {
    openPingPong();
    window().MainProcess(false, true);
    state().stopRequested = true;
    unsetenv("CORVANE_PASS_STATS");
    testing::internal::CaptureStderr();
    window().MainLoop();
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("main loop passes"), std::string::npos);

    setenv("CORVANE_PASS_STATS", "1", 1);
    testing::internal::CaptureStderr();
    window().MainLoop();
    const std::string printed = testing::internal::GetCapturedStderr();
    unsetenv("CORVANE_PASS_STATS");
    EXPECT_NE(printed.find(window().passStatsText()), std::string::npos) << printed;
}

} // namespace
} // namespace corvane
