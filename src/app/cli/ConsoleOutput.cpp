#include "ConsoleOutput.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane::cli {

namespace {

constexpr std::size_t kWriteChunk = 64 * 1024;

std::int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

ConsoleOutput::ConsoleOutput(int descriptor, std::size_t limit) : descriptor_(descriptor), limit_(limit) {
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) {
        closed_ = true;
        return;
    }
    if (S_ISSOCK(info.st_mode)) {
        mode_ = Mode::Socket;
        return;
    }
    if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
        // A description of our own: setting O_NONBLOCK on the inherited one would change it for the
        // shell and every other program that shares the terminal or the pipe.
        const std::string path = "/proc/self/fd/" + std::to_string(descriptor);
        ownDescriptor_ = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        mode_ = ownDescriptor_ >= 0 ? Mode::NonBlocking : Mode::PollFirst;
    }
}

ConsoleOutput::~ConsoleOutput() {
    if (ownDescriptor_ >= 0) {
        ::close(ownDescriptor_);
    }
}

std::size_t ConsoleOutput::writeSome(const char* data, std::size_t size) {
    while (true) {
        ssize_t written = -1;
        switch (mode_) {
        case Mode::Socket:
            written = ::send(descriptor_, data, size, MSG_DONTWAIT | MSG_NOSIGNAL);
            break;
        case Mode::NonBlocking:
            written = ::write(ownDescriptor_, data, size);
            break;
        case Mode::PollFirst: {
            // Without a description of our own: a pipe that polls writable takes PIPE_BUF bytes
            // without blocking.
            pollfd ready{descriptor_, POLLOUT, 0};
            if (::poll(&ready, 1, 0) <= 0) {
                return 0;
            }
            written = ::write(descriptor_, data, std::min<std::size_t>(size, PIPE_BUF));
            break;
        }
        case Mode::Blocking:
            written = ::write(descriptor_, data, size);
            break;
        }
        if (written >= 0) {
            return static_cast<std::size_t>(written);
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            closed_ = true;
        }
        return 0;
    }
}

void ConsoleOutput::pump() {
    while (!closed_ && pendingBytes() > 0) {
        const std::size_t count = writeSome(buffer_.data() + head_, std::min(pendingBytes(), kWriteChunk));
        if (count == 0) {
            break;
        }
        head_ += count;
        written_ += count;
    }
    if (closed_) {
        buffer_.clear();
        head_ = 0;
    } else if (head_ == buffer_.size()) {
        buffer_.clear();
        head_ = 0;
    } else if (head_ > kWriteChunk && head_ > buffer_.size() / 2) {
        buffer_.erase(0, head_);
        head_ = 0;
    }
}

void ConsoleOutput::queue(std::string_view piece) {
    buffer_.append(piece);
    const std::size_t lineEnd = piece.rfind('\n');
    if (lineEnd != std::string_view::npos) {
        openLineStart_ = queued_ + lineEnd + 1;
    }
    queued_ += piece.size();
}

void ConsoleOutput::write(std::string_view text) {
    if (closed_) {
        return;
    }
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t lineEnd = text.find('\n', position);
        const std::size_t pieceEnd = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
        const std::string_view piece = text.substr(position, pieceEnd - position);
        position = pieceEnd;
        const bool endsLine = piece.back() == '\n';
        if (dropping_) {
            dropped_ += piece.size();
            if (endsLine) {
                dropping_ = false;
                if (cutLine_) {
                    cutLine_ = false;
                    queue("\n");
                }
            }
            continue;
        }
        const std::uint64_t lineStart = openLineStart_;
        queue(piece);
        if (pendingBytes() > limit_) {
            pump();
        }
        if (closed_ || pendingBytes() <= limit_) {
            continue;
        }
        // The reader is too far behind: the line of this piece goes, as far as it isn't written.
        const std::uint64_t from = std::max(lineStart, written_);
        const std::uint64_t count = queued_ - from;
        buffer_.resize(buffer_.size() - count);
        queued_ = from;
        dropped_ += count;
        openLineStart_ = lineStart;
        if (lineStart < written_) {
            // Its start is out already: end it where it was cut.
            if (endsLine) {
                queue("\n");
            } else {
                cutLine_ = true;
                dropping_ = true;
            }
        } else {
            dropping_ = !endsLine;
        }
    }
}

bool ConsoleOutput::drain(int noProgressMs) {
    std::int64_t lastProgress = steadyMs();
    while (!closed_ && pendingBytes() > 0) {
        const std::size_t before = pendingBytes();
        pump();
        const std::int64_t now = steadyMs();
        if (pendingBytes() < before) {
            lastProgress = now;
            continue;
        }
        const std::int64_t left = noProgressMs - (now - lastProgress);
        if (left <= 0) {
            break;
        }
        pollfd ready{mode_ == Mode::NonBlocking ? ownDescriptor_ : descriptor_, POLLOUT, 0};
        ::poll(&ready, 1, static_cast<int>(std::min<std::int64_t>(left, 100)));
    }
    const bool complete = !closed_ && pendingBytes() == 0;
    if (!closed_ && pendingBytes() > 0) {
        dropped_ += pendingBytes();
        buffer_.clear();
        head_ = 0;
    }
    return complete;
}

std::string DropNotice::due(std::uint64_t droppedTotal, std::int64_t nowMs, bool force) {
    if (droppedTotal <= told_) {
        return {};
    }
    if (!force && spoken_ && nowMs - lastMs_ < kIntervalMs) {
        return {};
    }
    const std::uint64_t bytes = droppedTotal - told_;
    told_ = droppedTotal;
    spoken_ = true;
    lastMs_ = nowMs;
    return "corvane-cli: standard output is not read fast enough: " + std::to_string(bytes) +
           " bytes of console text dropped\n";
}

} // namespace corvane::cli
