#pragma once

#include "CliReport.h"
#include "CliRunJudge.h"
#include "CliRunPlan.h"
#include "CliRunRecorder.h"

#include <array>
#include <chrono>
#include <functional>
#include <string>

namespace corvane::cli {

// One run of corvane-cli seen as a test: it records what the engine reports, sends the timed
// send sequences, tells the main loop when to end, and at the end writes the reports and gives
// the exit status.
class CliRunSession {
public:
    struct Setup {
        RunPlan plan;
        double durationSeconds = -1;
        double timeoutSeconds = -1;
        std::string junitReport;
        std::string jsonReport;
        std::string project;
        std::string suiteName;
    };

    CliRunSession(Setup setup, const ReceiveSequenceList& receiveList);
    CliRunSession(const CliRunSession&) = delete;
    CliRunSession& operator=(const CliRunSession&) = delete;

    const RunPlan& plan() const { return setup_.plan; }
    CliRunRecorder& recorder() { return recorder_; }
    bool reportsWanted() const { return !setup_.junitReport.empty() || !setup_.jsonReport.empty(); }
    // Before the run: false with the reason when a report file cannot be created where it is to go.
    bool reportFilesWritable(std::string& error) const;

    // The start of the run: the clock of the detection times, sends and limits starts now.
    void begin();
    double seconds() const;
    // The timed send sequences that are due, in order, each once.
    std::vector<int> dueSends() { return judge_.dueSends(seconds()); }
    // The main loop's idle wait, cut short so that a timed send or a limit is not late.
    int idleWaitMs(int engineWaitMs) const;
    // True when the run is to end now, with the reason.
    bool shouldEnd(bool sendSideIdle, RunEnd& reason) {
        return judge_.shouldEnd(seconds(), recorder_, sendSideIdle, reason);
    }

    // After the run (or a start that failed): judges it, writes the reports and returns the exit
    // status. tags: the direction tags of the data output ("[TX] - ", "[RX] - "). Problems with the
    // report files go to error.
    int finish(RunEnd end, const std::array<std::string, 2>& tags, const std::string& startError,
               const std::function<void(const std::string&)>& error);

private:
    RunReport buildReport(RunEnd end, const std::array<std::string, 2>& tags, const std::string& startError);

    Setup setup_;
    const ReceiveSequenceList& receiveList_;
    CliRunRecorder recorder_;
    CliRunJudge judge_;
    std::chrono::steady_clock::time_point started_;
    std::string startedText_;
};

} // namespace corvane::cli
