#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::cli {

// Text for standard output or standard error that never holds up the main loop: what the
// descriptor doesn't take at once waits in a bounded buffer in memory. When the reader falls so
// far behind that the buffer is full, console text is dropped in whole lines and counted; a line
// whose start had already been written is ended with a line break where it was cut, so the next
// line kept starts at a line start. A regular file takes the text as it comes. A closed pipe is
// an error of the write here: the program ignores SIGPIPE.
class ConsoleOutput {
public:
    static constexpr std::size_t kDefaultLimit = 256 * 1024;

    // Writes to the descriptor without waiting: a pipe or a terminal is opened anew in
    // non-blocking mode, so the flags of the descriptor that other programs share stay untouched.
    explicit ConsoleOutput(int descriptor, std::size_t limit = kDefaultLimit);
    ~ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    // Queues the text, or drops it (see above) when the buffer is full even after writing what
    // the descriptor takes now.
    void write(std::string_view text);
    // Writes what waits, as far as the descriptor takes it without waiting: once a pass, so that
    // the text of a pass leaves in few writes.
    void pump();
    // At the end of the run: writes what waits while the reader keeps taking it, and gives up
    // after noProgressMs without progress; what is then left counts as dropped. True when
    // everything was written.
    bool drain(int noProgressMs);

    std::size_t pendingBytes() const { return buffer_.size() - head_; }
    // Console text dropped so far (bytes).
    std::uint64_t droppedBytes() const { return dropped_; }
    // The reader went away (a closed pipe) or the descriptor failed: nothing more is written.
    bool closed() const { return closed_; }
    // Writing waits on nothing: the descriptor is non-blocking or a socket written without waiting.
    bool nonBlocking() const { return mode_ != Mode::Blocking; }

private:
    enum class Mode { Blocking, NonBlocking, Socket, PollFirst };

    void queue(std::string_view piece);
    std::size_t writeSome(const char* data, std::size_t size);

    int descriptor_;
    int ownDescriptor_ = -1;
    Mode mode_ = Mode::Blocking;
    std::size_t limit_;
    std::string buffer_;
    std::size_t head_ = 0;
    // Stream offsets: bytes queued and written so far, and where the line being queued began.
    std::uint64_t queued_ = 0;
    std::uint64_t written_ = 0;
    std::uint64_t openLineStart_ = 0;
    bool dropping_ = false;
    bool cutLine_ = false;
    bool closed_ = false;
    std::uint64_t dropped_ = 0;
};

// Says at most once a second how many bytes of console text were dropped since it last spoke.
class DropNotice {
public:
    static constexpr std::int64_t kIntervalMs = 1000;
    // The notice to write when one is due at nowMs (a steady clock), else empty. With force (the
    // end of the run) any drop not yet told is due.
    std::string due(std::uint64_t droppedTotal, std::int64_t nowMs, bool force = false);

private:
    std::uint64_t told_ = 0;
    bool spoken_ = false;
    std::int64_t lastMs_ = 0;
};

} // namespace corvane::cli
