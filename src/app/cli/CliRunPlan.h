#pragma once

#include "sequences/modSequenceManagement.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::cli {

// What a run is to check and when it is to send, as the command line gives it and as it stands
// once resolved against the project's sequence lists.

enum class ExpectationKind {
    Expect,     // --expect NAME[:MIN[-MAX]]
    ExpectNone, // --expect-none NAME
    Until       // --until NAME: the run stops at the first detection and must see one
};

// One --expect, --expect-none or --until as written.
struct ExpectationArgument {
    ExpectationKind kind = ExpectationKind::Expect;
    std::string text;
};

// The options that turn a run into a test: expectations, their time limit and the reports.
struct RunCheckOptions {
    std::vector<ExpectationArgument> expectations;
    // Seconds the expectations have to be met; negative means no limit.
    double timeoutSeconds = -1;
    std::string junitReport;
    std::string jsonReport;
};

inline constexpr std::int64_t kUnbounded = -1;
inline constexpr std::int64_t kMaxExpectedCount = 999999999;

// An expectation on the detections of receive sequences. The count is the sum over sequences:
// one sequence for --expect and --expect-none, every --until sequence for the until expectation.
struct Expectation {
    ExpectationKind kind = ExpectationKind::Expect;
    std::vector<int> sequences;
    std::int64_t minimum = 1;
    std::int64_t maximum = kUnbounded;
    // How it reads in reports: expect "Request" 10-10, expect none "Error", until "Done".
    std::string label;
};

// How often an expectation wants its sequences: "never", "at least once", "at most 3 times",
// "exactly 10 times", "2 to 5 times".
std::string expectedCountText(std::int64_t minimum, std::int64_t maximum);
// "once" or "N times".
std::string timesText(std::int64_t count);

// A send sequence sent at a moment after the start of the run (--send NAME@SECONDS).
struct TimedSend {
    int sequence = 0;
    double seconds = 0;
};

struct RunPlan {
    // Sent once communication runs, in order.
    std::vector<int> immediateSends;
    // Sorted by time; those of the same time in command-line order.
    std::vector<TimedSend> timedSends;
    std::vector<Expectation> expectations;
    // The receive sequences that stop the run at their first detection.
    std::vector<int> untilSequences;
    // Expectations that can never be met or never fail (inactive or empty sequences).
    std::vector<std::string> warnings;
};

// Parses argument i (and its value) when it is one of the check options; i then points at the
// last argument taken. Returns false with error set for a malformed one; handled tells whether
// the argument was a check option at all.
bool parseRunCheckOption(const std::vector<std::string>& arguments, std::size_t& i, RunCheckOptions& options,
                         bool& handled, std::string& error);

// Seconds as the options take them: a finite number, not negative, with a decimal point.
bool parseSecondsValue(const std::string& text, double& seconds);

// "MIN" or "MIN-MAX" with counts from 0 to kMaxExpectedCount, MAX not below MIN.
bool parseCountRange(const std::string& text, std::int64_t& minimum, std::int64_t& maximum);

// A send or receive sequence by its name (the first one with that name) or by 0-based index;
// -1 when there is none.
int findSendSequence(const SendSequenceList& list, const std::string& key);
int findReceiveSequence(const ReceiveSequenceList& list, const std::string& key);

// Resolves the --send texts and the expectations against the project. A text that names a
// sequence as a whole is taken as that name, so that names holding ':' or '@' keep working;
// otherwise "NAME:MIN-MAX" and "NAME@SECONDS" are split at the last ':' or '@'. False with error
// set when a name is unknown or a count or time is malformed.
bool resolveRunPlan(const std::vector<std::string>& sends, const RunCheckOptions& checks,
                    const SendSequenceList& sendList, const ReceiveSequenceList& receiveList, RunPlan& plan,
                    std::string& error);

} // namespace corvane::cli
