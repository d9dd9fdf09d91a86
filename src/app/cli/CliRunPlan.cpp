#include "CliRunPlan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

namespace corvane::cli {

namespace {

// Digits only, at most kMaxExpectedCount.
bool parseCount(const std::string& text, std::int64_t& count) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    auto result = std::from_chars(text.data(), text.data() + text.size(), count);
    return result.ec == std::errc() && count <= kMaxExpectedCount;
}

template <class List> int findSequence(const List& list, const std::string& key) {
    for (int i = 0; i < list.upperIndex(); ++i) {
        if (list[i].name == key) {
            return i;
        }
    }
    int index = -1;
    auto result = std::from_chars(key.data(), key.data() + key.size(), index);
    if (!key.empty() && result.ec == std::errc() && result.ptr == key.data() + key.size() && index >= 0 &&
        index < list.upperIndex()) {
        return index;
    }
    return -1;
}

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

std::string labelOf(const Expectation& expectation, const ReceiveSequenceList& list) {
    const std::string name = quoted(list[expectation.sequences.front()].name);
    switch (expectation.kind) {
    case ExpectationKind::ExpectNone:
        return name + " never detected";
    case ExpectationKind::Until: {
        std::string label = "run stopped by ";
        for (std::size_t i = 0; i < expectation.sequences.size(); ++i) {
            label += (i == 0 ? "" : " or ") + quoted(list[expectation.sequences[i]].name);
        }
        return label;
    }
    case ExpectationKind::Expect:
        break;
    }
    if (expectation.maximum == 0) {
        return name + " never detected";
    }
    return name + " detected " + expectedCountText(expectation.minimum, expectation.maximum);
}

std::string optionName(ExpectationKind kind) {
    switch (kind) {
    case ExpectationKind::ExpectNone:
        return "--expect-none";
    case ExpectationKind::Until:
        return "--until";
    case ExpectationKind::Expect:
        break;
    }
    return "--expect";
}

std::string noSuchReceiveSequence(const std::string& name) {
    return "the project has no receive sequence \"" + name + "\"";
}

// One --expect text: the whole text as a name, else NAME:MIN[-MAX].
bool resolveExpect(const std::string& text, const ReceiveSequenceList& list, Expectation& expectation,
                   std::string& error) {
    int index = findReceiveSequence(list, text);
    if (index < 0) {
        const std::size_t colon = text.rfind(':');
        if (colon == std::string::npos) {
            error = noSuchReceiveSequence(text);
            return false;
        }
        if (!parseCountRange(text.substr(colon + 1), expectation.minimum, expectation.maximum)) {
            error = "--expect wants NAME[:MIN[-MAX]] with counts from 0 to 999999999 and MAX not below "
                    "MIN, not '" +
                    text + "'";
            return false;
        }
        index = findReceiveSequence(list, text.substr(0, colon));
        if (index < 0) {
            error = noSuchReceiveSequence(text.substr(0, colon));
            return false;
        }
    }
    expectation.sequences = {index};
    return true;
}

// Expectations on sequences that the receive processing passes over are told, not refused: a
// project may switch a sequence off on purpose.
void warnAboutInactive(const Expectation& expectation, const ReceiveSequenceList& list,
                       std::vector<std::string>& warnings) {
    for (int index : expectation.sequences) {
        const ReceiveSequenceRecord& record = list[index];
        if (record.active != 1 || record.sequence.size() == 0) {
            warnings.push_back("receive sequence \"" + record.name + "\" is " +
                               (record.active != 1 ? "not active" : "empty") + ", so it is never detected");
        }
    }
}

bool resolveSends(const std::vector<std::string>& sends, const SendSequenceList& list, RunPlan& plan,
                  std::string& error) {
    for (const std::string& text : sends) {
        int index = findSendSequence(list, text);
        if (index >= 0) {
            plan.immediateSends.push_back(index);
            continue;
        }
        const std::size_t at = text.rfind('@');
        double seconds = 0;
        if (at != std::string::npos && parseSecondsValue(text.substr(at + 1), seconds)) {
            index = findSendSequence(list, text.substr(0, at));
            if (index >= 0) {
                plan.timedSends.push_back({index, seconds});
                continue;
            }
            error = "the project has no send sequence \"" + text.substr(0, at) + "\"";
            return false;
        }
        error = "the project has no send sequence \"" + text + "\"";
        return false;
    }
    std::stable_sort(plan.timedSends.begin(), plan.timedSends.end(),
                     [](const TimedSend& a, const TimedSend& b) { return a.seconds < b.seconds; });
    return true;
}

} // namespace

std::string timesText(std::int64_t count) {
    return count == 1 ? "once" : std::to_string(count) + " times";
}

std::string expectedCountText(std::int64_t minimum, std::int64_t maximum) {
    if (maximum == 0) {
        return "never";
    }
    if (maximum == kUnbounded) {
        return "at least " + timesText(minimum);
    }
    if (minimum == 0) {
        return "at most " + timesText(maximum);
    }
    if (minimum == maximum) {
        return "exactly " + timesText(minimum);
    }
    return std::to_string(minimum) + " to " + timesText(maximum);
}

bool parseSecondsValue(const std::string& text, double& seconds) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double value = 0;
    if (!(in >> value) || !in.eof() || !std::isfinite(value) || value < 0) {
        return false;
    }
    seconds = value;
    return true;
}

bool parseCountRange(const std::string& text, std::int64_t& minimum, std::int64_t& maximum) {
    const std::size_t dash = text.find('-');
    std::int64_t low = 0;
    std::int64_t high = kUnbounded;
    if (!parseCount(text.substr(0, dash), low)) {
        return false;
    }
    if (dash != std::string::npos && (!parseCount(text.substr(dash + 1), high) || high < low)) {
        return false;
    }
    minimum = low;
    maximum = high;
    return true;
}

bool parseRunCheckOption(const std::vector<std::string>& arguments, std::size_t& i, RunCheckOptions& options,
                         bool& handled, std::string& error) {
    const std::string& arg = arguments[i];
    handled = arg == "--expect" || arg == "--expect-none" || arg == "--until" || arg == "--timeout" ||
              arg == "--report" || arg == "--report-json";
    if (!handled) {
        return true;
    }
    if (i + 1 >= arguments.size()) {
        error = "option " + arg + " needs a value";
        return false;
    }
    const std::string& value = arguments[++i];
    if (arg == "--timeout") {
        if (!parseSecondsValue(value, options.timeoutSeconds)) {
            error = "--timeout wants a number of seconds, not '" + value + "'";
            return false;
        }
        return true;
    }
    if (value.empty()) {
        error = arg + (arg.rfind("--report", 0) == 0 ? " wants a file name" : " wants a receive sequence");
        return false;
    }
    if (arg == "--report") {
        options.junitReport = value;
    } else if (arg == "--report-json") {
        options.jsonReport = value;
    } else {
        const ExpectationKind kind = arg == "--expect"        ? ExpectationKind::Expect
                                     : arg == "--expect-none" ? ExpectationKind::ExpectNone
                                                              : ExpectationKind::Until;
        options.expectations.push_back({kind, value});
    }
    return true;
}

int findSendSequence(const SendSequenceList& list, const std::string& key) {
    return findSequence(list, key);
}

int findReceiveSequence(const ReceiveSequenceList& list, const std::string& key) {
    return findSequence(list, key);
}

bool resolveRunPlan(const std::vector<std::string>& sends, const RunCheckOptions& checks,
                    const SendSequenceList& sendList, const ReceiveSequenceList& receiveList, RunPlan& plan,
                    std::string& error) {
    plan = RunPlan{};
    if (!resolveSends(sends, sendList, plan, error)) {
        return false;
    }
    for (const ExpectationArgument& argument : checks.expectations) {
        Expectation expectation;
        expectation.kind = argument.kind;
        if (argument.kind == ExpectationKind::Expect) {
            if (!resolveExpect(argument.text, receiveList, expectation, error)) {
                return false;
            }
        } else {
            const int index = findReceiveSequence(receiveList, argument.text);
            if (index < 0) {
                error = noSuchReceiveSequence(argument.text) + " (" + optionName(argument.kind) + ")";
                return false;
            }
            expectation.sequences = {index};
            expectation.minimum = argument.kind == ExpectationKind::Until ? 1 : 0;
            expectation.maximum = argument.kind == ExpectationKind::Until ? kUnbounded : 0;
        }
        warnAboutInactive(expectation, receiveList, plan.warnings);
        if (argument.kind == ExpectationKind::Until) {
            plan.untilSequences.push_back(expectation.sequences.front());
            continue;
        }
        expectation.label = labelOf(expectation, receiveList);
        plan.expectations.push_back(std::move(expectation));
    }
    // All --until sequences make one expectation: the run is to stop at one of them.
    if (!plan.untilSequences.empty()) {
        Expectation until;
        until.kind = ExpectationKind::Until;
        until.sequences = plan.untilSequences;
        until.label = labelOf(until, receiveList);
        plan.expectations.push_back(std::move(until));
    }
    return true;
}

} // namespace corvane::cli
