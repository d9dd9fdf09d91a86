#include "CliRunSession.h"

#include "CliRunner.h"

#include "platform/ReplacingFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <unistd.h>

namespace corvane::cli {

namespace {

std::string localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S", &local);
    return buffer;
}

std::string hostName() {
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) {
        return "localhost";
    }
    return buffer;
}

std::string secondsText(double seconds) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed, 3);
    return std::string(buffer, result.ptr);
}

// "[TX] - " gives "TX".
std::string channelOfTag(const std::string& tag) {
    std::string name = tag.substr(0, tag.find(" - "));
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
        name = name.substr(1, name.size() - 2);
    }
    return name;
}

} // namespace

CliRunSession::CliRunSession(Setup setup, const ReceiveSequenceList& receiveList)
    : setup_(std::move(setup)), receiveList_(receiveList),
      recorder_(receiveList.upperIndex(), setup_.plan.untilSequences, [this] { return seconds(); }),
      judge_(setup_.plan, setup_.durationSeconds, setup_.timeoutSeconds),
      started_(std::chrono::steady_clock::now()) {}

bool CliRunSession::reportFilesWritable(std::string& error) const {
    std::error_code ignored;
    const auto resolved = [&ignored](const std::string& path) {
        return std::filesystem::weakly_canonical(std::filesystem::absolute(path, ignored), ignored);
    };
    if (!setup_.junitReport.empty() && !setup_.jsonReport.empty() &&
        resolved(setup_.junitReport) == resolved(setup_.jsonReport)) {
        error = "--report and --report-json name the same file: " + setup_.jsonReport;
        return false;
    }
    for (const std::string& path : {setup_.junitReport, setup_.jsonReport}) {
        if (path.empty()) {
            continue;
        }
        ReplacingFile file;
        if (!file.open(path)) {
            error = "the report cannot be written: " + file.lastError();
            return false;
        }
        file.discard();
    }
    return true;
}

void CliRunSession::begin() {
    started_ = std::chrono::steady_clock::now();
    startedText_ = localTimeNow();
}

double CliRunSession::seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
}

int CliRunSession::idleWaitMs(int engineWaitMs) const {
    const double next = judge_.secondsToNextEvent(seconds());
    if (next < 0) {
        return engineWaitMs;
    }
    return std::clamp(static_cast<int>(std::ceil(next * 1000)), 0, engineWaitMs);
}

RunReport CliRunSession::buildReport(RunEnd end, const std::array<std::string, 2>& tags,
                                     const std::string& startError) {
    RunReport report;
    report.project = setup_.project;
    report.suiteName = setup_.suiteName;
    report.hostname = hostName();
    report.started = startedText_.empty() ? localTimeNow() : startedText_;
    report.seconds = end == RunEnd::NotStarted ? 0 : seconds();
    report.end = end;
    // Before a start the tags may not be made yet.
    report.channels = {tags[0].empty() ? "TX" : channelOfTag(tags[0]),
                       tags[1].empty() ? "RX" : channelOfTag(tags[1])};
    report.bytes = {recorder_.bytes(0), recorder_.bytes(1)};
    for (int index = 0; index < receiveList_.upperIndex(); ++index) {
        report.sequences.emplace_back(receiveList_[index].name, recorder_.detections(index).count);
    }
    report.results = judge_.results(recorder_, end);
    report.troubles = recorder_.troubles();
    report.traffic = recorder_.trafficHex({"[" + report.channels[0] + "]", "[" + report.channels[1] + "]"});
    report.startError = startError;
    return report;
}

int CliRunSession::finish(RunEnd end, const std::array<std::string, 2>& tags, const std::string& startError,
                          const std::function<void(const std::string&)>& error) {
    RunReport report = buildReport(end, tags, startError);
    report.exitStatus = end == RunEnd::NotStarted ? kExitCannotStart
                                                  : runExitStatus(!report.troubles.empty(), report.results);
    std::size_t met = 0;
    for (const ExpectationResult& result : report.results) {
        if (!result.passed) {
            error("expectation failed: " + result.expectation->label + ": " + result.failure);
        } else {
            ++met;
        }
    }
    if (!report.results.empty() && end != RunEnd::NotStarted) {
        error(std::to_string(met) + " of " + std::to_string(report.results.size()) + " expectations met (" +
              runEndName(end) + " after " + secondsText(report.seconds) + " s)");
    }
    bool written = true;
    std::string problem;
    if (!setup_.junitReport.empty() && !writeReportFile(setup_.junitReport, junitXml(report), problem)) {
        error(problem);
        written = false;
    }
    if (!setup_.jsonReport.empty() && !writeReportFile(setup_.jsonReport, jsonReport(report), problem)) {
        error(problem);
        written = false;
    }
    // A run that passed but left no report behind must not look like a success to the build.
    return written || report.exitStatus != kExitNormal ? report.exitStatus : kExitUsage;
}

} // namespace corvane::cli
