#pragma once

#include "CliRunPlan.h"
#include "CliRunRecorder.h"

#include <string>
#include <vector>

namespace corvane::cli {

inline constexpr int kExitExpectationFailed = 3;
inline constexpr int kExitChannelTrouble = 4;

// Why a run ended.
enum class RunEnd {
    Signal,            // SIGINT or SIGTERM
    Duration,          // --duration ran out
    Timeout,           // --timeout ran out
    Stopped,           // communication stopped itself: a stop action, a full snapshot
    Until,             // an --until sequence was detected
    ExpectationFailed, // an expectation failed for good (a maximum passed, a forbidden sequence)
    ExpectationsMet,   // every expectation met, and none can fail any more
    NotStarted         // communication could not be started
};

// The words reports use for a run's end: "signal", "duration", ...
const char* runEndName(RunEnd end);

struct ExpectationResult {
    const Expectation* expectation = nullptr;
    std::int64_t count = 0;
    bool passed = false;
    // Why it failed, for example "detected 2 times, expected at least 3".
    std::string failure;
    // The first and the last detection over all of its sequences.
    CliRunRecorder::Detections detections;
};

// Decides, pass by pass, when a run ends and what it came to. A run ends early when its result
// is known: at once when an expectation fails for good, and, without --duration, when every
// expectation is met and none has a maximum left to watch (and no timed send is still to go).
// --duration gives the run its length; --timeout is the time the expectations have to be met: a
// run whose minimums are not all met by then ends as failed; without --duration it ends at the
// timeout in any case.
class CliRunJudge {
public:
    // Negative seconds: no such limit.
    CliRunJudge(const RunPlan& plan, double durationSeconds, double timeoutSeconds);

    // The timed sends due at seconds after the start, each given once, in order.
    std::vector<int> dueSends(double seconds);
    // Seconds until the next timed send or limit; negative when there is none.
    double secondsToNextEvent(double seconds) const;
    // True when the run is to end now, with the reason. sendSideIdle: the send queue is empty and
    // channel 1 has nothing left to transmit, so an answer to the last detection has gone out. A
    // run whose expectations are met waits for that, but not longer than kSettleSeconds: a
    // simulated device that keeps talking (an answer loop) must not keep the run going.
    bool shouldEnd(double seconds, const CliRunRecorder& recorder, bool sendSideIdle, RunEnd& reason);
    static constexpr double kSettleSeconds = 1.0;

    std::int64_t countOf(const Expectation& expectation, const CliRunRecorder& recorder) const;
    std::vector<ExpectationResult> results(const CliRunRecorder& recorder, RunEnd end) const;

private:
    bool failedForGood(const CliRunRecorder& recorder) const;
    bool minimumsMet(const CliRunRecorder& recorder) const;
    bool nothingLeftToWatch() const;

    const RunPlan& plan_;
    double durationSeconds_;
    double timeoutSeconds_;
    std::size_t nextSend_ = 0;
    // When the expectations were first found met with nothing left to watch; negative before.
    double metAt_ = -1;
};

// 4 when a channel error or data loss was reported (the observation is incomplete, whatever the
// expectations say), else 3 when an expectation failed, else 0.
int runExitStatus(bool troubleReported, const std::vector<ExpectationResult>& results);

} // namespace corvane::cli
