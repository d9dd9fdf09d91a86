#pragma once

#include "CliRunJudge.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane::cli {

// Everything a report of one run says.
struct RunReport {
    std::string project;
    // The test suite's name: the project's base name.
    std::string suiteName;
    std::string hostname;
    // Local start time, "2026-12-08T16:57:53".
    std::string started;
    double seconds = 0;
    RunEnd end = RunEnd::Duration;
    int exitStatus = 0;
    // The channel names of the two directions ("TX" and "RX", or the ports when monitoring).
    std::array<std::string, 2> channels{"TX", "RX"};
    std::array<std::int64_t, 2> bytes{0, 0};
    // Every receive sequence of the project, with its detections.
    std::vector<std::pair<std::string, std::int64_t>> sequences;
    std::vector<ExpectationResult> results;
    // Channel errors and data losses, one line each.
    std::vector<std::string> troubles;
    // The last traffic in HEX, given with each failure.
    std::string traffic;
    // Why communication could not be started (end NotStarted).
    std::string startError;
};

// The report as a JUnit XML file: one test case per expectation, one more for the channels
// ("no channel error or data loss"), which is in error when a trouble was reported or the start
// failed. Detection counts and times are in each test case's system-out.
std::string junitXml(const RunReport& report);
// The same as JSON, with the byte counts of both directions and every receive sequence's
// detections.
std::string jsonReport(const RunReport& report);

// "2026-12-08T16:57:53.512" from a packet's arrival time.
std::string isoTime(const HiresTime& time);
// Text made safe for XML and JSON: malformed UTF-8 and control characters other than tab, line
// feed and carriage return become U+FFFD.
std::string cleanText(const std::string& text);

// Writes a report so that the file is either the complete new one or what it was before.
bool writeReportFile(const std::string& path, const std::string& contents, std::string& error);

} // namespace corvane::cli
