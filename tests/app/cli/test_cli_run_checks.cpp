// corvane-cli as a test rig, without a serial port: the check options, their resolution against
// the project, when a run ends and what it came to, the traffic kept for failures and the reports.
#include "CliOptions.h"
#include "CliReport.h"
#include "CliRunJudge.h"
#include "CliRunPlan.h"
#include "CliRunRecorder.h"

#include "support/FileContents.h"
#include "support/SequenceOf.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace corvane::cli {
namespace {

using test::sequenceOf;

class RunPlanTest : public ::testing::Test {
protected:
    RunPlanTest() {
        addSend("Ping");
        addSend("Reset@1");
        addSend("Pong");
        addReceive("Request");
        addReceive("Step:2");
        addReceive("Error");
        addReceive("Off").active = 0;
        addReceive("Done");
    }

    void addSend(const std::string& name) {
        int index = sendList.upperIndex();
        sendList.appendBlank();
        sendList[index].name = name;
        sendList[index].sequence.copyFrom(sequenceOf("s"));
    }
    ReceiveSequenceRecord& addReceive(const std::string& name) {
        int index = receiveList.upperIndex();
        receiveList.appendBlank();
        receiveList[index].name = name;
        receiveList[index].sequence.copyFrom(sequenceOf("r"));
        return receiveList[index];
    }

    bool resolve(std::vector<std::string> sends, std::vector<ExpectationArgument> expectations) {
        RunCheckOptions checks;
        checks.expectations = std::move(expectations);
        error.clear();
        return resolveRunPlan(sends, checks, sendList, receiveList, plan, error);
    }

    SendSequenceList sendList;
    ReceiveSequenceList receiveList;
    RunPlan plan;
    std::string error;
};

TEST(RunCheckOptions, AreParsedBesideTheOtherOptionsAndRefusedWhenMalformed) {
    CliOptions options;
    std::string error;
    ASSERT_TRUE(parseCliOptions({"--expect", "Req:10-10", "--expect-none", "Error", "--until", "Done",
                                 "--timeout", "2.5", "--report", "r.xml", "--report-json", "r.json", "--send",
                                 "Ping@0.5", "p.ptp"},
                                options, error))
        << error;
    const RunCheckOptions& checks = options.checks;
    ASSERT_EQ(checks.expectations.size(), 3u);
    EXPECT_EQ(checks.expectations[0].kind, ExpectationKind::Expect);
    EXPECT_EQ(checks.expectations[0].text, "Req:10-10");
    EXPECT_EQ(checks.expectations[1].kind, ExpectationKind::ExpectNone);
    EXPECT_EQ(checks.expectations[2].kind, ExpectationKind::Until);
    EXPECT_DOUBLE_EQ(checks.timeoutSeconds, 2.5);
    EXPECT_EQ(checks.junitReport, "r.xml");
    EXPECT_EQ(checks.jsonReport, "r.json");
    EXPECT_EQ(options.sends, std::vector<std::string>{"Ping@0.5"});
    EXPECT_EQ(options.project, "p.ptp");

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"p.ptp", "--expect"},
                                               {"--timeout", "-1", "p.ptp"},
                                               {"--timeout", "1,5", "p.ptp"},
                                               {"--timeout", "inf", "p.ptp"},
                                               {"--report", "", "p.ptp"},
                                               {"--report-json", "", "p.ptp"},
                                               {"--until", "", "p.ptp"}}) {
        options = CliOptions{};
        error.clear();
        EXPECT_FALSE(parseCliOptions(bad, options, error)) << bad[0] << " " << bad[1];
        EXPECT_FALSE(error.empty());
    }
}

TEST(RunCheckOptions, CountRangesAreMinOrMinDashMaxWithinTheDetectionLimit) {
    struct Case {
        const char* text;
        bool valid;
        std::int64_t minimum;
        std::int64_t maximum;
    };
    for (const Case& c :
         {Case{"0", true, 0, kUnbounded}, Case{"3", true, 3, kUnbounded}, Case{"3-5", true, 3, 5},
          Case{"4-4", true, 4, 4}, Case{"0-0", true, 0, 0}, Case{"999999999", true, 999999999, -1},
          Case{"5-3", false, 0, 0}, Case{"1000000000", false, 0, 0}, Case{"", false, 0, 0},
          Case{"-5", false, 0, 0}, Case{"3-", false, 0, 0}, Case{"+3", false, 0, 0}, Case{" 3", false, 0, 0},
          Case{"3-5-7", false, 0, 0}, Case{"x", false, 0, 0}}) {
        std::int64_t minimum = 77;
        std::int64_t maximum = 77;
        EXPECT_EQ(parseCountRange(c.text, minimum, maximum), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(minimum, c.minimum) << c.text;
            EXPECT_EQ(maximum, c.maximum) << c.text;
        } else {
            EXPECT_EQ(minimum, 77) << "unchanged: " << c.text;
        }
    }
}

TEST_F(RunPlanTest, NamesIndexesAndCountsResolveWithWholeNamesFirst) {
    ASSERT_TRUE(resolve({}, {{ExpectationKind::Expect, "Request"},
                             {ExpectationKind::Expect, "Request:10-12"},
                             {ExpectationKind::Expect, "0:2"},
                             {ExpectationKind::Expect, "Step:2"},
                             {ExpectationKind::Expect, "Step:2:0-1"},
                             {ExpectationKind::ExpectNone, "Error"}}))
        << error;
    ASSERT_EQ(plan.expectations.size(), 6u);
    const auto& e = plan.expectations;
    EXPECT_EQ(e[0].sequences, std::vector<int>{0});
    EXPECT_EQ(e[0].minimum, 1);
    EXPECT_EQ(e[0].maximum, kUnbounded);
    EXPECT_EQ(e[0].label, "\"Request\" detected at least once");
    EXPECT_EQ(e[1].label, "\"Request\" detected 10 to 12 times");
    EXPECT_EQ(e[2].label, "\"Request\" detected at least 2 times");
    EXPECT_EQ(e[3].sequences, std::vector<int>{1}) << "a whole name holding ':' is the name";
    EXPECT_EQ(e[3].minimum, 1);
    EXPECT_EQ(e[4].sequences, std::vector<int>{1});
    EXPECT_EQ(e[4].label, "\"Step:2\" detected at most once");
    EXPECT_EQ(e[5].minimum, 0);
    EXPECT_EQ(e[5].maximum, 0);
    EXPECT_EQ(e[5].label, "\"Error\" never detected");
    EXPECT_TRUE(plan.untilSequences.empty());
    EXPECT_TRUE(plan.warnings.empty());
}

TEST_F(RunPlanTest, UntilSequencesMakeOneExpectationAndInactiveOnesAreWarnedAbout) {
    ASSERT_TRUE(resolve({}, {{ExpectationKind::Until, "Done"},
                             {ExpectationKind::Expect, "Off"},
                             {ExpectationKind::Until, "Error"}}))
        << error;
    EXPECT_EQ(plan.untilSequences, (std::vector<int>{4, 2}));
    ASSERT_EQ(plan.expectations.size(), 2u);
    EXPECT_EQ(plan.expectations[1].kind, ExpectationKind::Until);
    EXPECT_EQ(plan.expectations[1].sequences, (std::vector<int>{4, 2}));
    EXPECT_EQ(plan.expectations[1].minimum, 1);
    EXPECT_EQ(plan.expectations[1].label, "run stopped by \"Done\" or \"Error\"");
    EXPECT_EQ(plan.warnings,
              std::vector<std::string>{"receive sequence \"Off\" is not active, so it is never detected"});
}

TEST_F(RunPlanTest, SendsAtAMomentAreSortedByTimeAndWholeNamesHoldingAtKeepWorking) {
    ASSERT_TRUE(resolve({"Pong", "Ping@2", "Reset@1", "2@0.5", "Reset@1@0.5", "Ping@0.5"}, {})) << error;
    EXPECT_EQ(plan.immediateSends, (std::vector<int>{2, 1}));
    ASSERT_EQ(plan.timedSends.size(), 4u);
    EXPECT_EQ(plan.timedSends[0].sequence, 2);
    EXPECT_DOUBLE_EQ(plan.timedSends[0].seconds, 0.5);
    EXPECT_EQ(plan.timedSends[1].sequence, 1) << "same time: command-line order";
    EXPECT_EQ(plan.timedSends[2].sequence, 0);
    EXPECT_EQ(plan.timedSends[3].sequence, 0);
    EXPECT_DOUBLE_EQ(plan.timedSends[3].seconds, 2);
}

TEST_F(RunPlanTest, UnknownNamesAndMalformedCountsAreUsageErrorsWithTheReason) {
    struct Case {
        std::vector<std::string> sends;
        std::vector<ExpectationArgument> expectations;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{"Nope"}, {}, "the project has no send sequence \"Nope\""},
        {{"Nope@1"}, {}, "the project has no send sequence \"Nope\""},
        {{"Ping@soon"}, {}, "the project has no send sequence \"Ping@soon\""},
        {{"3"}, {}, "the project has no send sequence \"3\""},
        {{}, {{ExpectationKind::Expect, "Nope"}}, "the project has no receive sequence \"Nope\""},
        {{}, {{ExpectationKind::Expect, "Nope:3"}}, "the project has no receive sequence \"Nope\""},
        {{}, {{ExpectationKind::Expect, "5"}}, "the project has no receive sequence \"5\""},
        {{}, {{ExpectationKind::Expect, "Request:3-2"}}, "--expect wants NAME[:MIN[-MAX]]"},
        {{}, {{ExpectationKind::Expect, "Request:many"}}, "--expect wants NAME[:MIN[-MAX]]"},
        {{}, {{ExpectationKind::ExpectNone, "Error:0"}}, "no receive sequence \"Error:0\" (--expect-none)"},
        {{}, {{ExpectationKind::Until, "Nope"}}, "no receive sequence \"Nope\" (--until)"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(resolve(c.sends, c.expectations));
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

// A recorder driven by a clock the test sets.
struct ClockedRun {
    explicit ClockedRun(int sequences = 3, std::vector<int> until = {})
        : recorder(sequences, std::move(until), [this] { return now; }) {}
    void detect(int index, double at) {
        now = at;
        // The arrival time's milliseconds tell the detections apart.
        recorder.sequenceDetected(index, 1,
                                  HiresTime{2026, 12, 0, 8, 10, 0, 0, static_cast<std::int16_t>(at * 100)});
    }
    double now = 0;
    CliRunRecorder recorder;
};

Expectation expectation(int sequence, std::int64_t minimum, std::int64_t maximum,
                        ExpectationKind kind = ExpectationKind::Expect) {
    Expectation e;
    e.kind = kind;
    e.sequences = {sequence};
    e.minimum = minimum;
    e.maximum = maximum;
    e.label = "e" + std::to_string(sequence);
    return e;
}

TEST(CliRunJudge, WithoutDurationARunEndsOnceTheResultIsKnownAndTheAnswersHaveGoneOut) {
    RunPlan plan;
    plan.expectations = {expectation(0, 2, kUnbounded)};
    CliRunJudge judge(plan, -1, 10);
    ClockedRun run;
    RunEnd end = RunEnd::Signal;
    run.detect(0, 0.1);
    EXPECT_FALSE(judge.shouldEnd(0.2, run.recorder, true, end));
    run.detect(0, 0.3);
    EXPECT_FALSE(judge.shouldEnd(0.3, run.recorder, false, end)) << "the answer is still on its way";
    EXPECT_TRUE(judge.shouldEnd(0.4, run.recorder, true, end));
    EXPECT_EQ(end, RunEnd::ExpectationsMet);

    // A device that never stops talking does not keep the run going.
    CliRunJudge chatty(plan, -1, 10);
    EXPECT_FALSE(chatty.shouldEnd(1.0, run.recorder, false, end));
    EXPECT_FALSE(chatty.shouldEnd(1.0 + CliRunJudge::kSettleSeconds - 0.01, run.recorder, false, end));
    EXPECT_TRUE(chatty.shouldEnd(1.0 + CliRunJudge::kSettleSeconds, run.recorder, false, end));
    EXPECT_EQ(end, RunEnd::ExpectationsMet);
}

TEST(CliRunJudge, AMaximumOrAForbiddenSequenceKeepsTheRunWatchingAndEndsItAtOnceWhenPassed) {
    RunPlan plan;
    plan.expectations = {expectation(0, 1, 2), expectation(1, 0, 0, ExpectationKind::ExpectNone)};
    CliRunJudge judge(plan, -1, 5);
    ClockedRun run;
    RunEnd end = RunEnd::Signal;
    run.detect(0, 0.1);
    run.detect(0, 0.2);
    EXPECT_FALSE(judge.shouldEnd(3, run.recorder, true, end)) << "a third one may still come";
    EXPECT_TRUE(judge.shouldEnd(5, run.recorder, true, end));
    EXPECT_EQ(end, RunEnd::Timeout) << "without --duration the timeout ends the run";
    auto results = judge.results(run.recorder, end);
    EXPECT_TRUE(results[0].passed && results[1].passed);
    EXPECT_EQ(runExitStatus(false, results), 0);

    run.detect(1, 0.3);
    EXPECT_TRUE(judge.shouldEnd(0.3, run.recorder, false, end));
    EXPECT_EQ(end, RunEnd::ExpectationFailed);
    results = judge.results(run.recorder, end);
    EXPECT_EQ(results[1].failure, "detected once, expected never");
    run.detect(0, 0.4);
    results = judge.results(run.recorder, end);
    EXPECT_EQ(results[0].failure, "detected 3 times, expected 1 to 2 times");
    EXPECT_EQ(runExitStatus(false, results), kExitExpectationFailed);
    EXPECT_EQ(runExitStatus(true, results), kExitChannelTrouble) << "a trouble outranks a failure";
}

TEST(CliRunJudge, DurationGivesTheLengthAndTimeoutTheTimeForTheMinimums) {
    RunPlan plan;
    plan.expectations = {expectation(0, 1, kUnbounded)};
    ClockedRun run;
    RunEnd end = RunEnd::Signal;

    CliRunJudge timedOut(plan, 10, 2);
    EXPECT_FALSE(timedOut.shouldEnd(1.9, run.recorder, true, end));
    EXPECT_TRUE(timedOut.shouldEnd(2, run.recorder, true, end));
    EXPECT_EQ(end, RunEnd::Timeout);
    auto results = timedOut.results(run.recorder, end);
    EXPECT_EQ(results[0].failure, "not detected, expected at least once (timeout after 2 s)");

    run.detect(0, 1);
    CliRunJudge met(plan, 10, 2);
    EXPECT_FALSE(met.shouldEnd(2, run.recorder, true, end)) << "met in time: the run keeps its length";
    EXPECT_FALSE(met.shouldEnd(9.9, run.recorder, true, end));
    EXPECT_TRUE(met.shouldEnd(10, run.recorder, true, end));
    EXPECT_EQ(end, RunEnd::Duration);
    EXPECT_TRUE(met.results(run.recorder, end)[0].passed);

    // No expectations: nothing ends the run early; a timeout alone acts as a duration.
    RunPlan none;
    CliRunJudge idle(none, -1, -1);
    EXPECT_FALSE(idle.shouldEnd(1e6, run.recorder, true, end));
    CliRunJudge limited(none, -1, 3);
    EXPECT_TRUE(limited.shouldEnd(3, run.recorder, true, end));
    EXPECT_EQ(runExitStatus(false, limited.results(run.recorder, end)), 0);
}

TEST(CliRunJudge, TimedSendsAreGivenOnceInOrderAndHoldAnEarlyEnd) {
    RunPlan plan;
    plan.timedSends = {{4, 0.5}, {2, 0.5}, {7, 1.5}};
    plan.expectations = {expectation(0, 0, kUnbounded)};
    CliRunJudge judge(plan, -1, 8);
    ClockedRun run;
    RunEnd end = RunEnd::Signal;
    EXPECT_DOUBLE_EQ(judge.secondsToNextEvent(0.2), 0.3);
    EXPECT_TRUE(judge.dueSends(0.4).empty());
    EXPECT_FALSE(judge.shouldEnd(0.4, run.recorder, true, end)) << "sends still to go";
    EXPECT_EQ(judge.dueSends(0.5), (std::vector<int>{4, 2}));
    EXPECT_TRUE(judge.dueSends(0.6).empty());
    EXPECT_DOUBLE_EQ(judge.secondsToNextEvent(1.0), 0.5);
    EXPECT_EQ(judge.dueSends(9), std::vector<int>{7});
    EXPECT_DOUBLE_EQ(judge.secondsToNextEvent(6), 2) << "then the timeout";
    EXPECT_LT(judge.secondsToNextEvent(8.5), 0) << "a limit that has passed wakes nobody";
    EXPECT_TRUE(judge.shouldEnd(1.6, run.recorder, true, end));
    EXPECT_EQ(end, RunEnd::ExpectationsMet);
}

TEST(CliRunRecorder, CountsDetectionsWithTheirTimesAndStopsAtTheFirstUntilSequence) {
    ClockedRun run(4, {2, 3});
    run.detect(0, 0.5);
    run.detect(0, 1.25);
    const auto& seen = run.recorder.detections(0);
    EXPECT_EQ(seen.count, 2);
    EXPECT_DOUBLE_EQ(seen.firstSeconds, 0.5);
    EXPECT_DOUBLE_EQ(seen.lastSeconds, 1.25);
    EXPECT_EQ(run.recorder.detections(1).count, 0);
    EXPECT_EQ(run.recorder.detections(99).count, 0) << "an index outside the list is nothing";
    EXPECT_FALSE(run.recorder.sequenceDetected(99, 1, HiresTime{}));

    EXPECT_FALSE(run.recorder.sequenceDetected(1, 1, HiresTime{}));
    EXPECT_TRUE(run.recorder.sequenceDetected(3, 1, HiresTime{}));
    EXPECT_EQ(run.recorder.stoppedBy(), 3);
    EXPECT_FALSE(run.recorder.sequenceDetected(2, 1, HiresTime{})) << "one stop only";
    EXPECT_EQ(run.recorder.stoppedBy(), 3);

    run.recorder.troubleReported("General I/O error on COM4\r\nA general error\r\n");
    EXPECT_EQ(run.recorder.troubles(), std::vector<std::string>{"General I/O error on COM4 A general error"});
}

TEST(CliRunRecorder, KeepsTheLastTrafficBytesInHexByDirectionAndCountsDataBytesOnly) {
    ClockedRun run;
    const std::vector<CharCode> request = {'Q', kFunctionPercent, '?'};
    run.recorder.dataPassed(1, request);
    std::vector<CharCode> answer(20, 0xAB);
    run.recorder.dataPassed(0, answer);
    EXPECT_EQ(run.recorder.bytes(1), 2);
    EXPECT_EQ(run.recorder.bytes(0), 20);
    EXPECT_EQ(run.recorder.trafficHex({"[TX]", "[RX]"}),
              "[RX] 51 3F\n[TX] AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB\n[TX] AB AB AB AB\n")
        << "tags by direction, 16 bytes a line";

    std::vector<CharCode> flood(CliRunRecorder::kTrafficBytes, 0x01);
    flood.back() = 0xFF;
    run.recorder.dataPassed(1, flood);
    const std::string hex = run.recorder.trafficHex({"[TX]", "[RX]"});
    EXPECT_EQ(hex.rfind("(22 earlier bytes not shown)\n[RX] 01 01", 0), 0u) << hex.substr(0, 80);
    EXPECT_EQ(hex.substr(hex.size() - 7), " 01 FF\n");
    EXPECT_EQ(hex.find("[TX]"), std::string::npos);
    EXPECT_EQ(run.recorder.bytes(1), 2 + static_cast<std::int64_t>(CliRunRecorder::kTrafficBytes));
    EXPECT_EQ(ClockedRun().recorder.trafficHex({"[TX]", "[RX]"}), "");
}

RunReport sampleReport(const RunPlan& plan) {
    ClockedRun run(2);
    run.detect(0, 0.25);
    run.detect(0, 1.5);
    CliRunJudge judge(plan, 3, -1);
    RunReport report;
    report.project = "/p/Odd <&> \"name\".ptp";
    report.suiteName = "Odd <&> \"name\"";
    report.hostname = "rig";
    report.started = "2026-12-08T10:00:00";
    report.seconds = 3.0004;
    report.end = RunEnd::Duration;
    report.bytes = {7, 12};
    report.sequences = {{"Req\x01", 2}, {"Bad\xFF", 0}};
    report.results = judge.results(run.recorder, RunEnd::Duration);
    report.troubles = {"Input buffer overflow on COM1 Corvane/PC is too slow"};
    report.traffic = "[RX] 3C 26\n";
    report.exitStatus = runExitStatus(true, report.results);
    return report;
}

TEST(CliReport, JUnitXmlEscapesEverythingAndSaysCountsTimesFailuresAndChannelErrors) {
    RunPlan plan;
    plan.expectations = {expectation(0, 2, 2), expectation(1, 1, kUnbounded)};
    plan.expectations[0].label = "\"Req\" <exactly> 2 & more";
    const RunReport report = sampleReport(plan);
    const std::string xml = junitXml(report);
    EXPECT_EQ(
        xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"corvane-cli\" tests=\"3\" "
                  "failures=\"1\" errors=\"1\" time=\"3.000\">",
                  0),
        0u)
        << xml;
    EXPECT_NE(xml.find("<testsuite name=\"Odd &lt;&amp;&gt; &quot;name&quot;\""), std::string::npos);
    EXPECT_NE(xml.find("<testcase name=\"&quot;Req&quot; &lt;exactly&gt; 2 &amp; more\""), std::string::npos);
    EXPECT_NE(
        xml.find("<system-out>detected 2 times\nfirst detection 0.250 s after the start, "
                 "2026-12-08T10:00:00.025\nlast detection 1.500 s after the start, 2026-12-08T10:00:00.150\n"
                 "</system-out>"),
        std::string::npos)
        << xml;
    EXPECT_NE(
        xml.find("<failure message=\"not detected, expected at least once\" type=\"expectation\">[RX] 3C "
                 "26\n</failure>"),
        std::string::npos);
    EXPECT_NE(
        xml.find("<error message=\"Input buffer overflow on COM1 Corvane/PC is too slow\" type=\"channel\">"),
        std::string::npos);
    EXPECT_NE(xml.find("<property name=\"detections Req\xEF\xBF\xBD\" value=\"2\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<property name=\"detections Bad\xEF\xBF\xBD\" value=\"0\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<property name=\"exit status\" value=\"4\"/>"), std::string::npos);
}

TEST(CliReport, JsonHasTheSameResultsWithBytesAndEverySequencesDetections) {
    RunPlan plan;
    plan.expectations = {expectation(0, 2, 2), expectation(1, 1, kUnbounded)};
    const std::string json = jsonReport(sampleReport(plan));
    for (const char* part :
         {"\"project\": \"/p/Odd <&> \\\"name\\\".ptp\"", "\"seconds\": 3.000", "\"end\": \"duration\"",
          "\"exitStatus\": 4", "\"passed\": false",
          "\"bytes\": [{\"direction\": 0, \"channel\": \"TX\", \"bytes\": 7}, {\"direction\": 1, "
          "\"channel\": "
          "\"RX\", \"bytes\": 12}]",
          "{\"index\": 0, \"name\": \"Req\xEF\xBF\xBD\", \"detections\": 2}",
          "\"minimum\": 2, \"maximum\": 2, \"detections\": 2, \"passed\": true",
          "\"firstDetection\": {\"seconds\": 0.250, \"time\": \"2026-12-08T10:00:00.025\"}",
          "\"minimum\": 1, \"maximum\": null, \"detections\": 0, \"passed\": false",
          "\"firstDetection\": null, \"lastDetection\": null",
          "\"failure\": {\"message\": \"not detected, expected at least once\", \"traffic\": \"[RX] 3C "
          "26\\n\"}",
          "\"troubles\": [\"Input buffer overflow on COM1 Corvane/PC is too slow\"]",
          "\"startError\": null"}) {
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    }
}

TEST(CliReport, TextIsCleanedOfMalformedUtf8AndControlCharacters) {
    EXPECT_EQ(cleanText("plain \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 tab\tCR\rLF\n"),
              "plain \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 tab\tCR\rLF\n");
    const std::string bad = "\x01|\x7F|\xC0\x80|\xED\xA0\x80|\xF5|\xE2\x82|\xC3";
    EXPECT_EQ(cleanText(bad),
              "\xEF\xBF\xBD|\xEF\xBF\xBD|\xEF\xBF\xBD\xEF\xBF\xBD|\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF"
              "\xBD|\xEF\xBF\xBD|\xEF\xBF\xBD\xEF\xBF\xBD|\xEF\xBF\xBD");
}

TEST(CliReport, AReportReplacesTheOldFileOnlyWhenComplete) {
    test::TempFolder folder;
    const std::string path = folder.file("report.xml");
    test::writeFile(path, "old");
    std::string error;
    ASSERT_TRUE(writeReportFile(path, "new", error)) << error;
    EXPECT_EQ(test::readFile(path), "new");
    const std::string inMissingFolder = folder.file("missing/report.xml");
    EXPECT_FALSE(writeReportFile(inMissingFolder, "x", error));
    EXPECT_EQ(error.rfind("the report could not be written: cannot create a file beside", 0), 0u) << error;
    std::filesystem::create_directory(folder.file("folder.xml"));
    EXPECT_FALSE(writeReportFile(folder.file("folder.xml"), "x", error));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2)
        << "nothing left behind";
}

} // namespace
} // namespace corvane::cli
