#pragma once

#include "CliRunPlan.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace corvane::cli {

// What the command line of corvane-cli asks for.
struct CliOptions {
    // COM number and the device it stands for in this run.
    std::vector<std::pair<int, std::string>> ports;
    // 0 ASCII, 1 HEX, 2 Decimal, 3 Binary.
    int view = 0;
    // Send sequences by name or by 0-based index, in order; "NAME@SECONDS" at a moment of the run.
    std::vector<std::string> sends;
    // Expectations, their timeout and the report files.
    RunCheckOptions checks;
    // Seconds to run; negative runs until stopped.
    double durationSeconds = -1;
    std::string logBase;
    bool logHtml = false;
    // Views written to log files; empty means the shown view.
    std::array<bool, 4> logViews{false, false, false, false};
    bool logViewsGiven = false;
    bool list = false;
    // List the COM names with their devices and exit.
    bool listPorts = false;
    // Snapshot mode: wait for a trigger receive sequence, then print the history and the snapshot.
    bool snapshot = false;
    // Print the project listing and the notepad to this PDF file instead of running.
    std::string printPdf;
    bool help = false;
    bool quiet = false;
    std::string project;
};

// Parses the arguments after the program name. False with an error text for a malformed line.
bool parseCliOptions(const std::vector<std::string>& arguments, CliOptions& options, std::string& error);

// The view of a name: "ascii", "hex", "dec", "bin" (or the full names, any case); -1 otherwise.
int viewOfName(const std::string& name);

std::string usageText();

// True when the arguments ask for printing, which needs Qt's GUI application (on its offscreen
// platform: no window is shown).
bool wantsPrinting(int argc, const char* const* argv);

} // namespace corvane::cli
