#pragma once

#include "persistence/ClOutputFile.h"
#include "platform/SystemClock.h"
#include "platform/TimerService.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace corvane {

// One log file: a ClOutputFile that, with periodic closing, closes and reopens itself for
// appending about five seconds after writing stops, which puts everything written so far on disk.
// The timer is restarted at most once a second while writing goes on, so continuous traffic
// postpones the reopen. Besides, whatever is written is flushed to the file within a second of
// its write, so that traffic that trickles in never waits in the stream's buffer for the reopen.
class ClPeriodicOutputFile {
public:
    // Mode flags of OpenFile: 1 or 2 open for writing (the file is replaced), otherwise append;
    // 4 switches periodic closing on.
    static constexpr int kModeWrite = 1;
    static constexpr int kModeWriteAlso = 2;
    static constexpr int kModePeriodicClose = 4;
    static constexpr int kReopenDelayMs = 5000;
    static constexpr int kRestartThrottleMs = 1000;
    static constexpr int kFlushDelayMs = 1000;

    ClPeriodicOutputFile(TimerService& timers, SystemClock& clock);
    ~ClPeriodicOutputFile();
    ClPeriodicOutputFile(const ClPeriodicOutputFile&) = delete;
    ClPeriodicOutputFile& operator=(const ClPeriodicOutputFile&) = delete;

    // Opens (creating the file if missing); a file already open is closed first.
    bool OpenFile(const std::string& path, int modeFlags);
    // Writes the UTF-8 text as Windows-1252 bytes. With ignoreErrors the result is always true.
    bool WriteInFile(std::string_view text, bool ignoreErrors = false);
    // Writes CR LF.
    bool NextLine(bool ignoreErrors = false);
    // Periodic closing off, timer released, stream closed.
    bool CloseFile(bool ignoreErrors = false);

    bool isOpen() const { return file_.isOpen(); }
    bool periodicClose() const { return periodicClose_; }
    bool timerActive() const { return timer_ && timer_->isActive(); }
    // Written data waits for the flush timer.
    bool flushPending() const { return flushTimer_ && flushTimer_->isActive(); }
    const std::string& path() const { return path_; }
    // Description of the last failure ("Path not found", "Permission denied", "Disk full", ...).
    const std::string& lastError() const { return lastError_; }
    // The last failure came from a path that can't name a file (empty, a folder, too long).
    bool lastErrorIsInvalidPath() const { return invalidPath_; }

private:
    void timerCheck();
    void onTimer();
    void scheduleFlush();
    void onFlushTimer();
    void releaseTimer();
    void recordFailure(int errorNumber);

    TimerService& timers_;
    SystemClock& clock_;
    ClOutputFile file_;
    std::string path_;
    bool periodicClose_ = false;
    std::int64_t lastRestartMs_ = 0;
    std::unique_ptr<OneShotTimer> timer_;
    std::unique_ptr<OneShotTimer> flushTimer_;
    // A failure of the close and reopen, reported by the next write or close.
    std::string pendingError_;
    std::string lastError_;
    bool invalidPath_ = false;
};

} // namespace corvane
