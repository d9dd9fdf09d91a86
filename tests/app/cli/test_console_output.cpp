// Console text that never holds up the main loop: a real pipe that nobody reads, whole lines
// dropped and counted, and the notice that tells how much was dropped.
#include "ConsoleOutput.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace corvane::cli {
namespace {

// A pipe of one page, so that tests know when it is full.
class SmallPipe {
public:
    SmallPipe() {
        EXPECT_EQ(::pipe2(ends_, O_CLOEXEC), 0);
        ::fcntl(ends_[1], F_SETPIPE_SZ, 4096);
        ::fcntl(ends_[0], F_SETFL, O_NONBLOCK);
    }
    ~SmallPipe() {
        closeReader();
        ::close(ends_[1]);
    }
    SmallPipe(const SmallPipe&) = delete;
    SmallPipe& operator=(const SmallPipe&) = delete;

    int writer() const { return ends_[1]; }
    // Everything the pipe holds now.
    std::string readAll() {
        std::string text;
        char chunk[4096];
        ssize_t count = 0;
        while ((count = ::read(ends_[0], chunk, sizeof chunk)) > 0) {
            text.append(chunk, static_cast<std::size_t>(count));
        }
        return text;
    }
    void closeReader() {
        if (ends_[0] >= 0) {
            ::close(ends_[0]);
            ends_[0] = -1;
        }
    }

private:
    int ends_[2] = {-1, -1};
};

std::string numberedLine(int number) {
    std::string line = "line " + std::to_string(number) + " ";
    line.resize(49, '.');
    return line + "\n";
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line + "\n");
    }
    return lines;
}

TEST(ConsoleOutput, PipeNobodyReadsTakesWhatFitsAndWholeLinesAreDroppedAndCounted) {
    SmallPipe pipe;
    ConsoleOutput out(pipe.writer(), 1000);
    EXPECT_TRUE(out.nonBlocking());
    std::string all;
    for (int i = 0; i < 200; ++i) {
        // Each line in two pieces, as the data output hands them over.
        const std::string line = numberedLine(i);
        out.write(line.substr(0, 20));
        out.write(line.substr(20));
        all += line;
    }
    EXPECT_LE(out.pendingBytes(), 1000u);
    EXPECT_GT(out.droppedBytes(), 0u);

    std::string received = pipe.readAll();
    EXPECT_TRUE(out.drain(1000));
    received += pipe.readAll();
    EXPECT_EQ(received.size() + out.droppedBytes(), all.size()) << "every byte is written or counted";
    // What arrives are whole lines, in order, without gaps inside a line.
    int next = 0;
    for (const std::string& line : linesOf(received)) {
        while (next < 200 && numberedLine(next) != line) {
            ++next;
        }
        ASSERT_LT(next, 200) << "not one of the lines written: " << line;
        ++next;
    }
    // Once the reader has caught up, new lines flow again.
    out.write(numberedLine(200));
    out.pump();
    EXPECT_EQ(pipe.readAll(), numberedLine(200));
}

TEST(ConsoleOutput, LineCutAfterItsStartWasWrittenEndsWithALineBreakAndTheNextLineIsWhole) {
    SmallPipe pipe;
    ConsoleOutput out(pipe.writer(), 100);
    out.write("begin ");
    out.write(std::string(6000, 'x'));
    out.write(std::string(50, 'y'));
    out.write("end\n");
    std::string received = pipe.readAll();
    out.write("next\n");
    out.pump();
    received += pipe.readAll();
    ASSERT_GE(received.size(), 11u);
    EXPECT_EQ(received.substr(0, 7), "begin x");
    EXPECT_EQ(received.find('y'), std::string::npos);
    EXPECT_EQ(received.substr(received.size() - 7), "x\nnext\n");
    EXPECT_EQ(received.size() - 1 + out.droppedBytes(), 6 + 6000 + 50 + 4 + 5u)
        << "the line break added at the cut is the only byte not asked for";
}

TEST(ConsoleOutput, ClosedReaderEndsWritingWithoutCountingDrops) {
    // As in corvane-cli: a closed pipe is an error of the write, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    SmallPipe pipe;
    ConsoleOutput out(pipe.writer(), 100);
    pipe.closeReader();
    out.write("lost\n");
    out.pump();
    EXPECT_TRUE(out.closed());
    EXPECT_EQ(out.pendingBytes(), 0u);
    out.write("more\n");
    EXPECT_EQ(out.droppedBytes(), 0u);
    EXPECT_FALSE(out.drain(10));
}

TEST(ConsoleOutput, RegularFileTakesEverything) {
    char path[] = "/tmp/corvane-console-XXXXXX";
    const int file = ::mkstemp(path);
    ASSERT_GE(file, 0);
    {
        ConsoleOutput out(file, 10);
        EXPECT_FALSE(out.nonBlocking());
        for (int i = 0; i < 100; ++i) {
            out.write(numberedLine(i));
        }
        EXPECT_EQ(out.droppedBytes(), 0u) << "a file is written when the buffer is full";
        EXPECT_TRUE(out.drain(0));
    }
    EXPECT_EQ(::lseek(file, 0, SEEK_END), 100 * 50);
    ::close(file);
    ::unlink(path);
}

TEST(ConsoleOutput, DrainGivesUpWhenTheReaderTakesNothingAndCountsTheRest) {
    SmallPipe pipe;
    ConsoleOutput out(pipe.writer(), 100000);
    for (int i = 0; i < 200; ++i) {
        out.write(numberedLine(i));
    }
    out.pump();
    const std::size_t waiting = out.pendingBytes();
    ASSERT_GT(waiting, 0u);
    EXPECT_FALSE(out.drain(50));
    EXPECT_EQ(out.droppedBytes(), waiting);
    EXPECT_EQ(pipe.readAll().size() + waiting, 200 * 50u);
}

TEST(DropNotice, TellsAtOnceThenAtMostOnceASecondAndTheRestAtTheEnd) {
    DropNotice notice;
    EXPECT_EQ(notice.due(0, 0), "");
    EXPECT_EQ(notice.due(120, 10),
              "corvane-cli: standard output is not read fast enough: 120 bytes of console text dropped\n");
    EXPECT_EQ(notice.due(300, 500), "");
    EXPECT_EQ(notice.due(400, 1009), "");
    EXPECT_NE(notice.due(400, 1010).find(": 280 bytes"), std::string::npos);
    EXPECT_EQ(notice.due(400, 5000), "") << "nothing new, nothing said";
    EXPECT_NE(notice.due(410, 5001).find(": 10 bytes"), std::string::npos) << "a new drop is told at once";
    EXPECT_EQ(notice.due(450, 5500), "") << "within a second of the last notice";
    EXPECT_NE(notice.due(450, 5501, true).find(": 40 bytes"), std::string::npos);
}

} // namespace
} // namespace corvane::cli
