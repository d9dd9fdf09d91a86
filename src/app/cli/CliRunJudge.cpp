#include "CliRunJudge.h"

#include <algorithm>
#include <charconv>

namespace corvane::cli {

namespace {

std::string seconds(double value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::string failureText(const Expectation& expectation, std::int64_t count, RunEnd end, double timeout) {
    std::string text;
    if (expectation.kind == ExpectationKind::Until) {
        text = "not detected before the run ended";
    } else {
        text = (count == 0 ? std::string("not detected") : "detected " + timesText(count)) + ", expected " +
               expectedCountText(expectation.minimum, expectation.maximum);
    }
    if (end == RunEnd::Timeout && count < expectation.minimum) {
        text += " (timeout after " + seconds(timeout) + " s)";
    }
    return text;
}

void merge(CliRunRecorder::Detections& into, const CliRunRecorder::Detections& seen) {
    if (seen.count == 0) {
        return;
    }
    if (into.count == 0 || seen.firstSeconds < into.firstSeconds) {
        into.firstSeconds = seen.firstSeconds;
        into.firstArrival = seen.firstArrival;
    }
    if (into.count == 0 || seen.lastSeconds >= into.lastSeconds) {
        into.lastSeconds = seen.lastSeconds;
        into.lastArrival = seen.lastArrival;
    }
    into.count += seen.count;
}

} // namespace

const char* runEndName(RunEnd end) {
    switch (end) {
    case RunEnd::Signal:
        return "signal";
    case RunEnd::Duration:
        return "duration";
    case RunEnd::Timeout:
        return "timeout";
    case RunEnd::Stopped:
        return "stopped";
    case RunEnd::Until:
        return "until";
    case RunEnd::ExpectationFailed:
        return "expectation failed";
    case RunEnd::ExpectationsMet:
        return "expectations met";
    case RunEnd::NotStarted:
        break;
    }
    return "not started";
}

CliRunJudge::CliRunJudge(const RunPlan& plan, double durationSeconds, double timeoutSeconds)
    : plan_(plan), durationSeconds_(durationSeconds), timeoutSeconds_(timeoutSeconds) {}

std::vector<int> CliRunJudge::dueSends(double seconds) {
    std::vector<int> due;
    while (nextSend_ < plan_.timedSends.size() && plan_.timedSends[nextSend_].seconds <= seconds) {
        due.push_back(plan_.timedSends[nextSend_].sequence);
        ++nextSend_;
    }
    return due;
}

double CliRunJudge::secondsToNextEvent(double seconds) const {
    double next = -1;
    const auto consider = [&](double in) {
        if (next < 0 || in < next) {
            next = in;
        }
    };
    // A send that is due goes at once; a limit that has passed is no reason to wake up.
    if (nextSend_ < plan_.timedSends.size()) {
        consider(std::max(0.0, plan_.timedSends[nextSend_].seconds - seconds));
    }
    for (double limit : {durationSeconds_, timeoutSeconds_}) {
        if (limit > seconds) {
            consider(limit - seconds);
        }
    }
    return next;
}

std::int64_t CliRunJudge::countOf(const Expectation& expectation, const CliRunRecorder& recorder) const {
    std::int64_t count = 0;
    for (int index : expectation.sequences) {
        count += recorder.detections(index).count;
    }
    return count;
}

bool CliRunJudge::failedForGood(const CliRunRecorder& recorder) const {
    return std::any_of(plan_.expectations.begin(), plan_.expectations.end(), [&](const Expectation& e) {
        return e.maximum != kUnbounded && countOf(e, recorder) > e.maximum;
    });
}

bool CliRunJudge::minimumsMet(const CliRunRecorder& recorder) const {
    return std::all_of(plan_.expectations.begin(), plan_.expectations.end(),
                       [&](const Expectation& e) { return countOf(e, recorder) >= e.minimum; });
}

bool CliRunJudge::nothingLeftToWatch() const {
    return std::all_of(plan_.expectations.begin(), plan_.expectations.end(),
                       [](const Expectation& e) { return e.maximum == kUnbounded; });
}

bool CliRunJudge::shouldEnd(double seconds, const CliRunRecorder& recorder, bool sendSideIdle,
                            RunEnd& reason) {
    if (failedForGood(recorder)) {
        reason = RunEnd::ExpectationFailed;
        return true;
    }
    const bool met = minimumsMet(recorder);
    if (timeoutSeconds_ >= 0 && seconds >= timeoutSeconds_ && (!met || durationSeconds_ < 0)) {
        reason = RunEnd::Timeout;
        return true;
    }
    if (durationSeconds_ >= 0 && seconds >= durationSeconds_) {
        reason = RunEnd::Duration;
        return true;
    }
    if (durationSeconds_ < 0 && !plan_.expectations.empty() && met && nothingLeftToWatch() &&
        nextSend_ >= plan_.timedSends.size()) {
        if (metAt_ < 0) {
            metAt_ = seconds;
        }
        if (sendSideIdle || seconds - metAt_ >= kSettleSeconds) {
            reason = RunEnd::ExpectationsMet;
            return true;
        }
    }
    return false;
}

std::vector<ExpectationResult> CliRunJudge::results(const CliRunRecorder& recorder, RunEnd end) const {
    std::vector<ExpectationResult> results;
    for (const Expectation& expectation : plan_.expectations) {
        ExpectationResult result;
        result.expectation = &expectation;
        for (int index : expectation.sequences) {
            merge(result.detections, recorder.detections(index));
        }
        result.count = result.detections.count;
        result.passed = result.count >= expectation.minimum &&
                        (expectation.maximum == kUnbounded || result.count <= expectation.maximum);
        if (!result.passed) {
            result.failure = failureText(expectation, result.count, end, timeoutSeconds_);
        }
        results.push_back(std::move(result));
    }
    return results;
}

int runExitStatus(bool troubleReported, const std::vector<ExpectationResult>& results) {
    if (troubleReported) {
        return kExitChannelTrouble;
    }
    const bool failed =
        std::any_of(results.begin(), results.end(), [](const ExpectationResult& r) { return !r.passed; });
    return failed ? kExitExpectationFailed : 0;
}

} // namespace corvane::cli
