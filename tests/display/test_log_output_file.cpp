#include "display/ClPeriodicOutputFile.h"
#include "platform/PolledTimerService.h"
#include "platform/fakes/FakeSystemClock.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace corvane;
using corvane::test::readFile;
using corvane::test::TempFolder;
using corvane::test::writeFile;

namespace {

class PeriodicOutputFileTest : public ::testing::Test {
protected:
    void advance(int ms) {
        clock.nowMs = (clock.nowMs + ms) % 86400000;
        timers.processDueTimers();
    }

    TempFolder folder;
    FakeSystemClock clock;
    PolledTimerService timers{clock};
    ClPeriodicOutputFile file{timers, clock};
};

TEST_F(PeriodicOutputFileTest, WriteReplacesAndAppendKeeps) {
    const std::string path = folder.file("a.txt");
    writeFile(path, "old\r\n");
    ASSERT_TRUE(file.OpenFile(path, 4));
    EXPECT_TRUE(file.WriteInFile("more"));
    EXPECT_TRUE(file.NextLine());
    EXPECT_TRUE(file.CloseFile());
    EXPECT_EQ(readFile(path), "old\r\nmore\r\n");

    for (int mode : {1, 2, 3, 7}) {
        writeFile(path, "old\r\n");
        ASSERT_TRUE(file.OpenFile(path, mode));
        EXPECT_TRUE(file.WriteInFile("new \xE2\x82\xAC"));
        EXPECT_TRUE(file.CloseFile());
        EXPECT_EQ(readFile(path), "new \x80") << "mode " << mode << ", written as Windows-1252";
    }
    EXPECT_FALSE(file.isOpen());
}

TEST_F(PeriodicOutputFileTest, WrittenDataReachesTheFileWithinASecondAndTheFileIsReopened) {
    const std::string path = folder.file("p.txt");
    ASSERT_TRUE(file.OpenFile(path, 7));
    EXPECT_TRUE(file.periodicClose());
    EXPECT_TRUE(file.WriteInFile("first"));
    EXPECT_TRUE(file.timerActive()) << "a write right after opening still starts the timer";
    EXPECT_TRUE(file.flushPending());
    EXPECT_EQ(readFile(path), "") << "still in the stream's buffer";
    advance(999);
    EXPECT_EQ(readFile(path), "");
    advance(1);
    EXPECT_EQ(readFile(path), "first") << "flushed a second after the write";
    EXPECT_FALSE(file.flushPending());
    EXPECT_TRUE(file.timerActive()) << "the close and reopen still waits";
    advance(4000);
    EXPECT_FALSE(file.timerActive());
    EXPECT_TRUE(file.isOpen()) << "reopened for appending";
    EXPECT_TRUE(file.WriteInFile(" second"));
    advance(1000);
    EXPECT_EQ(readFile(path), "first second");
    EXPECT_TRUE(file.CloseFile());
    EXPECT_EQ(timers.activeTimerCount(), 0);
}

// A line every 0.8 s keeps postponing the close and reopen, yet every line is in the file within
// a second of its write.
TEST_F(PeriodicOutputFileTest, TrickleOfWritesReachesTheFileWhileTheReopenIsPostponed) {
    const std::string path = folder.file("c.txt");
    ASSERT_TRUE(file.OpenFile(path, 4));
    const std::string line = "0123456789012345678901\r\n";
    std::string written;
    std::string writtenASecondAgo;
    for (int i = 0; i < 20; ++i) {
        file.WriteInFile(line);
        written += line;
        advance(800);
        EXPECT_GE(readFile(path).size(), writtenASecondAgo.size()) << "after line " << i;
        writtenASecondAgo = written;
        EXPECT_TRUE(file.timerActive()) << "no reopen while writing goes on";
    }
    advance(200);
    EXPECT_EQ(readFile(path), written);
    // The last restart was at most a second before the last write.
    advance(3000);
    EXPECT_TRUE(file.timerActive());
    advance(1000);
    EXPECT_FALSE(file.timerActive()) << "reopened about five seconds after the last write";
    EXPECT_EQ(readFile(path), written);
}

TEST_F(PeriodicOutputFileTest, NoTimerWithoutPeriodicClose) {
    ASSERT_TRUE(file.OpenFile(folder.file("n.txt"), 1));
    file.WriteInFile("x");
    EXPECT_FALSE(file.timerActive());
    EXPECT_EQ(timers.activeTimerCount(), 0);
}

TEST_F(PeriodicOutputFileTest, TimersAcrossMidnight) {
    clock.nowMs = 86400000 - 500;
    const std::string path = folder.file("m.txt");
    ASSERT_TRUE(file.OpenFile(path, 4));
    file.WriteInFile("x");
    advance(999);
    EXPECT_EQ(readFile(path), "");
    advance(1);
    EXPECT_EQ(readFile(path), "x");
    advance(3999);
    EXPECT_TRUE(file.timerActive());
    advance(1);
    EXPECT_FALSE(file.timerActive());
}

TEST_F(PeriodicOutputFileTest, OpenFailures) {
    EXPECT_FALSE(file.OpenFile(folder.file("missing/x.txt"), 4));
    EXPECT_EQ(file.lastError(), "Path not found");
    EXPECT_FALSE(file.lastErrorIsInvalidPath());

    writeFile(folder.file("plain"), "");
    EXPECT_FALSE(file.OpenFile(folder.file("plain/x.txt"), 4));
    EXPECT_EQ(file.lastError(), "Path not found");

    EXPECT_FALSE(file.OpenFile(folder.path().string(), 7));
    EXPECT_TRUE(file.lastErrorIsInvalidPath());
    EXPECT_FALSE(file.OpenFile("", 7));
    EXPECT_TRUE(file.lastErrorIsInvalidPath());
    EXPECT_FALSE(file.OpenFile(folder.file(std::string(300, 'n')), 7));
    EXPECT_TRUE(file.lastErrorIsInvalidPath());
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(file.WriteInFile("x"));
    EXPECT_TRUE(file.WriteInFile("x", true)) << "errors ignored";
}

TEST_F(PeriodicOutputFileTest, ReadOnlyFolder) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write anywhere";
    }
    std::filesystem::permissions(folder.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(file.OpenFile(folder.file("x.txt"), 7));
    EXPECT_EQ(file.lastError(), "Permission denied");
}

TEST_F(PeriodicOutputFileTest, FailedReopenIsReportedByTheNextWriteAndClose) {
    const auto sub = folder.path() / "sub";
    std::filesystem::create_directories(sub);
    const std::string path = (sub / "r.txt").string();
    ASSERT_TRUE(file.OpenFile(path, 4));
    file.WriteInFile("x");
    std::filesystem::remove_all(sub);
    advance(5000);
    EXPECT_FALSE(file.periodicClose()) << "periodic closing ends after a failed reopen";
    EXPECT_FALSE(file.WriteInFile("y"));
    EXPECT_EQ(file.lastError(), "Path not found");
    EXPECT_FALSE(file.CloseFile());
    EXPECT_TRUE(file.CloseFile()) << "reported once";
}

TEST_F(PeriodicOutputFileTest, FullDiskOnWriteAndOnClose) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    ASSERT_TRUE(file.OpenFile("/dev/full", 4));
    EXPECT_TRUE(file.WriteInFile("small")) << "the stream buffers it";
    EXPECT_FALSE(file.CloseFile());
    EXPECT_EQ(file.lastError(), "Disk full");

    ASSERT_TRUE(file.OpenFile("/dev/full", 4));
    bool failed = false;
    for (int i = 0; i < 100 && !failed; ++i) {
        failed = !file.WriteInFile(std::string(1024, 'x'));
    }
    EXPECT_TRUE(failed);
    EXPECT_EQ(file.lastError(), "Disk full");
    EXPECT_TRUE(file.CloseFile(true));
}

TEST_F(PeriodicOutputFileTest, FailedFlushIsReportedByTheNextWrite) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    ASSERT_TRUE(file.OpenFile("/dev/full", 4));
    EXPECT_TRUE(file.WriteInFile("small"));
    advance(1000);
    EXPECT_FALSE(file.WriteInFile("more"));
    EXPECT_EQ(file.lastError(), "Disk full");
    EXPECT_TRUE(file.CloseFile(true));
}

TEST(PolledTimerService, StartStopRestartAndDestroy) {
    FakeSystemClock clock;
    PolledTimerService timers(clock);
    int fired = 0;
    auto timer = timers.createTimer([&] { ++fired; });
    EXPECT_EQ(timers.processDueTimers(), 0);
    timer->start(100);
    clock.nowMs += 99;
    EXPECT_EQ(timers.processDueTimers(), 0);
    timer->start(100);
    clock.nowMs += 99;
    EXPECT_EQ(timers.processDueTimers(), 0) << "restarted";
    clock.nowMs += 1;
    EXPECT_EQ(timers.processDueTimers(), 1);
    EXPECT_EQ(fired, 1);
    clock.nowMs += 1000;
    EXPECT_EQ(timers.processDueTimers(), 0) << "single shot";
    timer->start(10);
    timer->stop();
    clock.nowMs += 10;
    EXPECT_EQ(timers.processDueTimers(), 0);
    timer->start(10);
    timer.reset();
    clock.nowMs += 10;
    EXPECT_EQ(timers.processDueTimers(), 0) << "destroyed timers never fire";
    EXPECT_EQ(fired, 1);
}

TEST(PolledTimerService, CallbackMayDestroyAnotherDueTimer) {
    FakeSystemClock clock;
    PolledTimerService timers(clock);
    std::unique_ptr<OneShotTimer> second;
    int secondFired = 0;
    auto first = timers.createTimer([&] { second.reset(); });
    second = timers.createTimer([&] { ++secondFired; });
    first->start(5);
    second->start(5);
    clock.nowMs += 5;
    EXPECT_EQ(timers.processDueTimers(), 1);
    EXPECT_EQ(secondFired, 0);
}

} // namespace
