#include "display/ClPeriodicOutputFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace corvane {

namespace {

// The description of an operating-system error, in the words users of file dialogs know.
std::string describeError(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return "Path not found";
    case EACCES:
    case EPERM:
    case EROFS:
        return "Permission denied";
    case ENOSPC:
    case EDQUOT:
        return "Disk full";
    case EBADF:
        return "Bad file name or number";
    case EMFILE:
    case ENFILE:
        return "Too many files";
    default:
        return "Device I/O error";
    }
}

bool isInvalidPathError(int errorNumber) {
    return errorNumber == EISDIR || errorNumber == ENAMETOOLONG || errorNumber == EINVAL ||
           errorNumber == EBADF;
}

} // namespace

ClPeriodicOutputFile::ClPeriodicOutputFile(TimerService& timers, SystemClock& clock)
    : timers_(timers), clock_(clock) {}

ClPeriodicOutputFile::~ClPeriodicOutputFile() {
    CloseFile(true);
}

void ClPeriodicOutputFile::recordFailure(int errorNumber) {
    invalidPath_ = isInvalidPathError(errorNumber);
    lastError_ = describeError(errorNumber);
}

bool ClPeriodicOutputFile::OpenFile(const std::string& path, int modeFlags) {
    CloseFile(true);
    path_ = path;
    pendingError_.clear();
    lastError_.clear();
    invalidPath_ = false;
    std::error_code ignored;
    if (path.empty() || path.back() == '/' || std::filesystem::is_directory(path, ignored)) {
        invalidPath_ = true;
        lastError_ = "Bad file name or number";
        return false;
    }
    const bool write = (modeFlags & (kModeWrite | kModeWriteAlso)) != 0;
    errno = 0;
    if (!file_.OpenFile(path, write ? ClOutputFile::Mode::Overwrite : ClOutputFile::Mode::Append)) {
        recordFailure(errno);
        return false;
    }
    periodicClose_ = (modeFlags & kModePeriodicClose) != 0;
    // Opening counts as a restart of the timer, without starting it.
    lastRestartMs_ = clock_.timeOfDayMs();
    return true;
}

bool ClPeriodicOutputFile::WriteInFile(std::string_view text, bool ignoreErrors) {
    bool ok = pendingError_.empty();
    if (!ok) {
        lastError_ = pendingError_;
    } else {
        errno = 0;
        ok = file_.WriteInFile(std::string(text));
        if (!ok) {
            recordFailure(file_.isOpen() ? errno : EBADF);
        }
    }
    if (ok) {
        scheduleFlush();
    }
    timerCheck();
    return ok || ignoreErrors;
}

bool ClPeriodicOutputFile::NextLine(bool ignoreErrors) {
    return WriteInFile("\r\n", ignoreErrors);
}

bool ClPeriodicOutputFile::CloseFile(bool ignoreErrors) {
    periodicClose_ = false;
    releaseTimer();
    bool ok = true;
    if (file_.isOpen()) {
        errno = 0;
        ok = file_.CloseFile();
        if (!ok) {
            recordFailure(errno);
        }
    }
    if (ok && !pendingError_.empty()) {
        lastError_ = pendingError_;
        ok = false;
    }
    pendingError_.clear();
    return ok || ignoreErrors;
}

void ClPeriodicOutputFile::releaseTimer() {
    timer_.reset();
    flushTimer_.reset();
}

void ClPeriodicOutputFile::scheduleFlush() {
    if (!periodicClose_ || flushPending()) {
        return;
    }
    if (!flushTimer_) {
        flushTimer_ = timers_.createTimer([this] { onFlushTimer(); });
    }
    flushTimer_->start(kFlushDelayMs);
}

void ClPeriodicOutputFile::onFlushTimer() {
    if (flushTimer_) {
        flushTimer_->stop();
    }
    if (!file_.isOpen()) {
        return;
    }
    errno = 0;
    if (!file_.Flush() && pendingError_.empty()) {
        // Reported by the next write or the close, like a failed reopen.
        pendingError_ = describeError(errno);
    }
}

void ClPeriodicOutputFile::timerCheck() {
    if (!periodicClose_) {
        return;
    }
    const std::int64_t now = clock_.timeOfDayMs();
    std::int64_t sinceRestart = now - lastRestartMs_;
    if (sinceRestart < -1000) {
        sinceRestart += 86400000;
    }
    // A write always leaves a started timer behind, also within the first second after opening:
    // otherwise data written right after opening would wait for the close.
    if (sinceRestart > kRestartThrottleMs || !timerActive()) {
        if (!timer_) {
            timer_ = timers_.createTimer([this] { onTimer(); });
        }
        timer_->stop();
        timer_->start(kReopenDelayMs);
        lastRestartMs_ = now;
    }
}

void ClPeriodicOutputFile::onTimer() {
    if (timer_) {
        timer_->stop();
    }
    if (!file_.isOpen() || !periodicClose_) {
        return;
    }
    errno = 0;
    bool ok = file_.CloseFile();
    int errorNumber = errno;
    if (ok) {
        errno = 0;
        ok = file_.OpenFile(path_, ClOutputFile::Mode::Append);
        errorNumber = errno;
    }
    if (!ok) {
        // The data written so far may not have reached the disk: the next write or the close
        // reports it, so that logging stops with a message instead of losing data silently.
        pendingError_ = describeError(errorNumber);
        periodicClose_ = false;
        // The timer is released after its callback has returned.
        timer_->stop();
    }
}

} // namespace corvane
