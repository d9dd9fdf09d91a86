// The work time of the main loop passes: count, longest pass and passes above 50 ms.
#include "MainWindowFixture.h"

#include "app/control/CommunicationPass.h"

#include <chrono>
#include <cstdint>
#include <memory>

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
    // Nothing arrived: the counts a benchmark reads lost bytes from.
    EXPECT_NE(text.find("; 0 data bytes received, 0 receive queue overflows"), std::string::npos) << text;
}

// A pass that never finds data and whose idle wait takes 60 ms.
class SlowIdlePass : public CommunicationPass {
public:
    bool runPass() override { return true; }
    void idleWait(int) override {
        QThread::msleep(60);
        ++waits;
    }
    void sendSequence(int, SendKind) override {}
    void sendTyped(const ClSequence&) override {}
    void enqueue(const ClSequence&) override {}
    void takeActivity(bool& direction0, bool& direction1) override { direction0 = direction1 = false; }
    std::uint16_t lastStatusFlags() const override { return 0; }
    void setManualRtsDtr(bool, bool) override {}
    int waits = 0;
};

TEST_F(MainLoopPassStatsTest, TheIdleWaitIsNotWorkTime) {
    openPingPong();
    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns());
    auto pass = std::make_unique<SlowIdlePass>();
    SlowIdlePass& fake = *pass;
    window().replaceCommunicationPass(std::move(pass));
    const auto before = window().passStats();
    for (int i = 0; i < 3; ++i) {
        window().MainProcess(false, true);
    }
    // Three passes that each waited 60 ms while idle, and none of them was slow.
    EXPECT_EQ(fake.waits, 3);
    EXPECT_EQ(window().passStats().passes, before.passes + 3);
    EXPECT_EQ(window().passStats().slowPasses, before.slowPasses);
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
