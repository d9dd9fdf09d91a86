#include "CliReport.h"

#include "platform/ReplacingFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace corvane::cli {

namespace {

const char* const kReplacement = "\xEF\xBF\xBD";

// Length of the valid UTF-8 sequence at text[i], or 0.
std::size_t utf8Length(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = lead < 0x80                    ? 1
                         : lead >= 0xC2 && lead <= 0xDF ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    if (length == 0 || i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
    }
    // No overlong forms, surrogates or code points above U+10FFFF.
    if ((lead == 0xE0 && byte(i + 1) < 0xA0) || (lead == 0xED && byte(i + 1) > 0x9F) ||
        (lead == 0xF0 && byte(i + 1) < 0x90) || (lead == 0xF4 && byte(i + 1) > 0x8F)) {
        return 0;
    }
    return length;
}

std::string fixed3(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    return std::string(buffer, result.ptr);
}

std::string xml(const std::string& raw, bool attribute) {
    std::string text;
    for (char c : cleanText(raw)) {
        switch (c) {
        case '&':
            text += "&amp;";
            break;
        case '<':
            text += "&lt;";
            break;
        case '>':
            text += "&gt;";
            break;
        case '"':
            text += attribute ? "&quot;" : "\"";
            break;
        case '\t':
        case '\n':
        case '\r':
            text += attribute ? "&#" + std::to_string(static_cast<int>(c)) + ";" : std::string(1, c);
            break;
        default:
            text += c;
        }
    }
    return text;
}

std::string json(const std::string& raw) {
    std::string text = "\"";
    for (char c : cleanText(raw)) {
        switch (c) {
        case '"':
            text += "\\\"";
            break;
        case '\\':
            text += "\\\\";
            break;
        case '\n':
            text += "\\n";
            break;
        case '\r':
            text += "\\r";
            break;
        case '\t':
            text += "\\t";
            break;
        default:
            text += c;
        }
    }
    return text + "\"";
}

std::string detectionText(const char* which, double seconds, const HiresTime& arrival) {
    return std::string(which) + " detection " + fixed3(seconds) + " s after the start, " + isoTime(arrival) +
           "\n";
}

// What the system-out of an expectation's test case says.
std::string detectionsText(const ExpectationResult& result) {
    const CliRunRecorder::Detections& seen = result.detections;
    if (seen.count == 0) {
        return "not detected\n";
    }
    std::string text = "detected " + std::to_string(seen.count) + (seen.count == 1 ? " time\n" : " times\n");
    text += detectionText("first", seen.firstSeconds, seen.firstArrival);
    text += detectionText("last", seen.lastSeconds, seen.lastArrival);
    return text;
}

int failureCount(const RunReport& report) {
    return static_cast<int>(std::count_if(report.results.begin(), report.results.end(),
                                          [](const ExpectationResult& r) { return !r.passed; }));
}

bool channelsInError(const RunReport& report) {
    return !report.troubles.empty() || report.end == RunEnd::NotStarted;
}

std::string channelErrorText(const RunReport& report) {
    std::string text;
    if (report.end == RunEnd::NotStarted) {
        text += "communication could not be started\n" + report.startError;
    }
    for (const std::string& trouble : report.troubles) {
        text += trouble + "\n";
    }
    return text;
}

std::string junitTestCases(const RunReport& report, const std::string& time) {
    const std::string classname = xml("corvane-cli." + report.suiteName, true);
    std::string text;
    for (const ExpectationResult& result : report.results) {
        text += "    <testcase name=\"" + xml(result.expectation->label, true) + "\" classname=\"" +
                classname + "\" time=\"" + time + "\">\n";
        if (!result.passed) {
            text += "      <failure message=\"" + xml(result.failure, true) + "\" type=\"expectation\">" +
                    xml(report.traffic, false) + "</failure>\n";
        }
        text += "      <system-out>" + xml(detectionsText(result), false) + "</system-out>\n";
        text += "    </testcase>\n";
    }
    text += "    <testcase name=\"no channel error or data loss\" classname=\"" + classname + "\" time=\"" +
            time + "\">\n";
    if (channelsInError(report)) {
        const std::string errors = channelErrorText(report);
        text += "      <error message=\"" + xml(errors.substr(0, errors.find('\n')), true) +
                "\" type=\"channel\">" + xml(errors, false) + "</error>\n";
    }
    text += "    </testcase>\n";
    return text;
}

std::string jsonDetection(double seconds, const HiresTime& arrival) {
    return "{\"seconds\": " + fixed3(seconds) + ", \"time\": " + json(isoTime(arrival)) + "}";
}

std::string jsonExpectation(const ExpectationResult& result, const RunReport& report) {
    const Expectation& expectation = *result.expectation;
    static const char* kinds[] = {"expect", "expect-none", "until"};
    std::string sequences;
    for (int index : expectation.sequences) {
        sequences += (sequences.empty() ? "" : ", ") + std::to_string(index);
    }
    const CliRunRecorder::Detections& seen = result.detections;
    std::string text = "    {\"label\": " + json(expectation.label) + ", \"kind\": \"" +
                       kinds[static_cast<int>(expectation.kind)] + "\", \"sequences\": [" + sequences +
                       "],\n     \"minimum\": " + std::to_string(expectation.minimum) + ", \"maximum\": " +
                       (expectation.maximum == kUnbounded ? "null" : std::to_string(expectation.maximum)) +
                       ", \"detections\": " + std::to_string(result.count) +
                       ", \"passed\": " + (result.passed ? "true" : "false") +
                       ",\n     \"firstDetection\": " +
                       (seen.count > 0 ? jsonDetection(seen.firstSeconds, seen.firstArrival) : "null") +
                       ", \"lastDetection\": " +
                       (seen.count > 0 ? jsonDetection(seen.lastSeconds, seen.lastArrival) : "null") +
                       ",\n     \"failure\": ";
    if (result.passed) {
        return text + "null}";
    }
    return text + "{\"message\": " + json(result.failure) + ", \"traffic\": " + json(report.traffic) + "}}";
}

} // namespace

std::string cleanText(const std::string& text) {
    std::string clean;
    clean.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8Length(text, i);
        const auto byte = static_cast<unsigned char>(text[i]);
        if (length == 0 || (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7F) {
            clean += kReplacement;
            i += std::max<std::size_t>(length, 1);
            continue;
        }
        clean.append(text, i, length);
        i += length;
    }
    return clean;
}

std::string isoTime(const HiresTime& time) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.millisecond);
    return buffer;
}

std::string junitXml(const RunReport& report) {
    const std::size_t tests = report.results.size() + 1;
    const int failures = failureCount(report);
    const int errors = channelsInError(report) ? 1 : 0;
    const std::string time = fixed3(report.seconds);
    const std::string counts = " tests=\"" + std::to_string(tests) + "\" failures=\"" +
                               std::to_string(failures) + "\" errors=\"" + std::to_string(errors) + "\"";
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    text += "<testsuites name=\"corvane-cli\"" + counts + " time=\"" + time + "\">\n";
    text += "  <testsuite name=\"" + xml(report.suiteName, true) + "\"" + counts + " skipped=\"0\" time=\"" +
            time + "\" timestamp=\"" + xml(report.started, true) + "\" hostname=\"" +
            xml(report.hostname, true) + "\">\n";
    text += "    <properties>\n";
    const auto property = [&text](const std::string& name, const std::string& value) {
        text += "      <property name=\"" + xml(name, true) + "\" value=\"" + xml(value, true) + "\"/>\n";
    };
    property("project", report.project);
    property("end", runEndName(report.end));
    property("exit status", std::to_string(report.exitStatus));
    for (std::size_t direction = 0; direction < 2; ++direction) {
        property("bytes " + report.channels[direction], std::to_string(report.bytes[direction]));
    }
    for (const auto& [name, count] : report.sequences) {
        property("detections " + name, std::to_string(count));
    }
    text += "    </properties>\n";
    text += junitTestCases(report, time);
    text += "  </testsuite>\n</testsuites>\n";
    return text;
}

std::string jsonReport(const RunReport& report) {
    std::string text =
        "{\n  \"project\": " + json(report.project) + ",\n  \"started\": " + json(report.started) +
        ",\n  \"seconds\": " + fixed3(report.seconds) + ",\n  \"end\": " + json(runEndName(report.end)) +
        ",\n  \"exitStatus\": " + std::to_string(report.exitStatus) +
        ",\n  \"passed\": " + (report.exitStatus == 0 ? "true" : "false") + ",\n  \"bytes\": [";
    for (std::size_t direction = 0; direction < 2; ++direction) {
        text += std::string(direction == 0 ? "" : ", ") + "{\"direction\": " + std::to_string(direction) +
                ", \"channel\": " + json(report.channels[direction]) +
                ", \"bytes\": " + std::to_string(report.bytes[direction]) + "}";
    }
    text += "],\n  \"receiveSequences\": [";
    for (std::size_t index = 0; index < report.sequences.size(); ++index) {
        text += std::string(index == 0 ? "\n" : ",\n") + "    {\"index\": " + std::to_string(index) +
                ", \"name\": " + json(report.sequences[index].first) +
                ", \"detections\": " + std::to_string(report.sequences[index].second) + "}";
    }
    text += report.sequences.empty() ? "],\n  \"expectations\": [" : "\n  ],\n  \"expectations\": [";
    for (std::size_t i = 0; i < report.results.size(); ++i) {
        text += (i == 0 ? "\n" : ",\n") + jsonExpectation(report.results[i], report);
    }
    text += report.results.empty() ? "],\n  \"troubles\": [" : "\n  ],\n  \"troubles\": [";
    for (std::size_t i = 0; i < report.troubles.size(); ++i) {
        text += (i == 0 ? "" : ", ") + json(report.troubles[i]);
    }
    text += "],\n  \"startError\": " + (report.end == RunEnd::NotStarted ? json(report.startError) : "null");
    return text + "\n}\n";
}

bool writeReportFile(const std::string& path, const std::string& contents, std::string& error) {
    std::string reason;
    if (ReplacingFile::replaceContents(path, contents, &reason)) {
        return true;
    }
    error = "the report could not be written: " + reason;
    return false;
}

} // namespace corvane::cli
