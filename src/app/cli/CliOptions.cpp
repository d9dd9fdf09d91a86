#include "CliOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

namespace corvane::cli {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "COM<n>=DEVICE" with n from 1 to 256 and a device that is not empty.
bool parsePort(const std::string& text, std::pair<int, std::string>& port) {
    std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals < 4 || equals + 1 >= text.size()) {
        return false;
    }
    std::string name = text.substr(0, equals);
    if (lower(name.substr(0, 3)) != "com") {
        return false;
    }
    int number = 0;
    const char* begin = name.data() + 3;
    const char* end = name.data() + name.size();
    auto result = std::from_chars(begin, end, number);
    if (result.ec != std::errc() || result.ptr != end || number < 1 || number > 256) {
        return false;
    }
    port = {number, text.substr(equals + 1)};
    return true;
}

bool parseSeconds(const std::string& text, double& seconds) {
    return parseSecondsValue(text, seconds);
}

} // namespace

int viewOfName(const std::string& name) {
    const std::string n = lower(name);
    if (n == "ascii" || n == "asc") {
        return 0;
    }
    if (n == "hex") {
        return 1;
    }
    if (n == "dec" || n == "decimal") {
        return 2;
    }
    if (n == "bin" || n == "binary") {
        return 3;
    }
    return -1;
}

bool parseCliOptions(const std::vector<std::string>& arguments, CliOptions& options, std::string& error) {
    auto needValue = [&](std::size_t& i, std::string& value) {
        if (i + 1 >= arguments.size()) {
            error = "option " + arguments[i] + " needs a value";
            return false;
        }
        value = arguments[++i];
        return true;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        std::string value;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--list") {
            options.list = true;
        } else if (arg == "--ports") {
            options.listPorts = true;
        } else if (arg == "--print-pdf") {
            if (!needValue(i, value)) {
                return false;
            }
            if (value.empty()) {
                error = "--print-pdf wants a file name";
                return false;
            }
            options.printPdf = value;
        } else if (arg == "--snapshot") {
            options.snapshot = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--html") {
            options.logHtml = true;
        } else if (arg == "--port") {
            std::pair<int, std::string> port;
            if (!needValue(i, value)) {
                return false;
            }
            if (!parsePort(value, port)) {
                error = "--port wants COM<n>=DEVICE with n from 1 to 256, not '" + value + "'";
                return false;
            }
            options.ports.push_back(port);
        } else if (arg == "--view") {
            if (!needValue(i, value)) {
                return false;
            }
            options.view = viewOfName(value);
            if (options.view < 0) {
                error = "--view wants ascii, hex, dec or bin, not '" + value + "'";
                return false;
            }
        } else if (arg == "--send") {
            if (!needValue(i, value)) {
                return false;
            }
            options.sends.push_back(value);
        } else if (arg == "--duration") {
            if (!needValue(i, value)) {
                return false;
            }
            if (!parseSeconds(value, options.durationSeconds)) {
                error = "--duration wants a number of seconds, not '" + value + "'";
                return false;
            }
        } else if (arg == "--log") {
            if (!needValue(i, value)) {
                return false;
            }
            if (value.empty()) {
                error = "--log wants a base path";
                return false;
            }
            options.logBase = value;
        } else if (arg == "--log-views") {
            if (!needValue(i, value)) {
                return false;
            }
            options.logViews = {false, false, false, false};
            std::stringstream list(value);
            std::string item;
            bool any = false;
            while (std::getline(list, item, ',')) {
                int view = viewOfName(item);
                if (view < 0) {
                    error = "--log-views wants a comma-separated list of ascii, hex, dec, bin, not '" +
                            value + "'";
                    return false;
                }
                options.logViews[static_cast<std::size_t>(view)] = true;
                any = true;
            }
            if (!any) {
                error = "--log-views wants at least one view";
                return false;
            }
            options.logViewsGiven = true;
        } else if (bool handled = false; !parseRunCheckOption(arguments, i, options.checks, handled, error)) {
            return false;
        } else if (handled) {
            continue;
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (options.project.empty()) {
            options.project = arg;
        } else {
            error = "only one project file can be given";
            return false;
        }
    }
    if (options.help || (options.listPorts && options.project.empty())) {
        return true;
    }
    if (options.project.empty()) {
        error = "no project file given";
        return false;
    }
    if (options.snapshot && options.quiet) {
        error = "--snapshot prints the snapshot and can't be combined with --quiet";
        return false;
    }
    if ((options.logHtml || options.logViewsGiven) && options.logBase.empty()) {
        error = "--html and --log-views need --log BASE";
        return false;
    }
    if (!options.logViewsGiven) {
        options.logViews[static_cast<std::size_t>(options.view)] = true;
    }
    return true;
}

std::string usageText() {
    return R"(Usage:
  corvane-cli [--port COM<n>=DEVICE]... [--view ascii|hex|dec|bin] [--send NAME|INDEX[@SECONDS]]...
              [--duration SECONDS] [--log BASE [--html] [--log-views LIST]] [--quiet]
              [--expect NAME[:MIN[-MAX]]]... [--expect-none NAME]... [--until NAME]...
              [--timeout SECONDS] [--report FILE.xml] [--report-json FILE.json] PROJECT.ptp
  corvane-cli --snapshot [--port COM<n>=DEVICE]... [--view V] [--send S]... [--duration SECONDS]
              PROJECT.ptp
  corvane-cli --list PROJECT.ptp
  corvane-cli --print-pdf FILE.pdf PROJECT.ptp
  corvane-cli [--port COM<n>=DEVICE]... --ports
  corvane-cli --help

Runs a Corvane project without a window: loads the project, starts communication with the
project's settings and runs the same communication work as the program with a window (receive
sequences with their answers, comments and stop action, send queue, periodic sending, channel
error messages). The traffic is written to standard output in one representation, as the
plain-text communication window shows it (coloured when standard output is a terminal).

Options:
  --port COM<n>=DEVICE  use DEVICE (for example /dev/ttyUSB0 or /dev/pts/7) as COM<n> in this run;
                        COM256 without a device is the built-in loopback port
  --view V              representation on standard output: ascii (default), hex, dec, bin
  --send S              once communication runs, send the send sequence named S (or at 0-based
                        index S) once; repeat the option to send several in order
  --send S@SECONDS      send S that many seconds after the start (decimals allowed)
  --duration SECONDS    stop after this many seconds (default: run until stopped)
  --log BASE            write log files BASE_asc.txt, BASE_hex.txt, ... (".htm" with --html)
  --html                HTML log files
  --log-views LIST      comma-separated views to log (default: the --view representation)
  --quiet               write nothing to standard output
  --snapshot            snapshot mode: wait for a receive sequence with the "Trigger" option, then
                        print the newest 64000 characters before it and the 64000 after it in the
                        --view representation, and stop
  --expect R[:MIN[-MAX]]
                        the receive sequence named R (or at 0-based index R) must be detected at
                        least MIN times (default 1) and at most MAX times (default: no limit)
  --expect-none R       the receive sequence R must never be detected
  --until R             stop at the first detection of R, as its stop action would (the project is
                        not changed); the run fails if no --until sequence is detected
  --timeout SECONDS     the expectations must be met within this time, else the run ends as failed
  --report FILE         write a JUnit XML report: a test case per expectation and one for the
                        channels, with detection counts and times, and the last 2 kB of traffic
                        in HEX with each failure
  --report-json FILE    the same report as JSON, with the bytes of each direction and the
                        detections of every receive sequence
  --list                print the project listing, then the notepad's text, and exit
  --print-pdf FILE      print the project listing and the notepad to the PDF file FILE, as the
                        program prints them on paper, and exit
  --ports               list every COM name with its device, the device's description and its
                        stable /dev/serial/by-id name, and exit; a serial device without a COM
                        number gets the lowest free one, kept in the user's settings
  --help                this text

Communication stops on SIGINT or SIGTERM, after --duration, or when a receive sequence with the
stop action (or an --until sequence) is detected. With expectations a run also ends as soon as its
result is known: at once when an expectation has failed (a MAX passed, an --expect-none sequence
seen), and, without --duration, when every MIN is met and no MAX or --expect-none is left to
watch (after the timed sends and the answers have gone out). --duration fixes the length of the
run; --timeout is the time the expectations have to be met in: when it runs out with a MIN not
met the run ends as failed, and without --duration the run ends there in any case. Reports are
written whenever communication was started or could not be started, also for a failed run.
Questions the program would ask in a window are answered with their default (safe) button; every
message is printed to standard error.

Exit status:
  0  a normal stop, and every expectation met
  1  communication could not be started
  2  usage or project errors (unknown option, sequence or project, files that cannot be written)
  3  an expectation failed
  4  a channel error or data loss was reported during the run (input queue or buffer overflow,
     line error, a port gone, data not forwarded, send queue overflow); 4 wins over 3, since the
     run did not see everything on the line
  5  with --snapshot: communication stopped before a trigger was detected (no snapshot); with
     --snapshot, 1 also means that no receive sequence with the "Trigger" option is active
)";
}

bool wantsPrinting(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--print-pdf") {
            return true;
        }
    }
    return false;
}

} // namespace corvane::cli
