#include "app/gui/CommandLine.h"

#include "persistence/ProjectIdentity.h"

#include <algorithm>
#include <cctype>

namespace corvane {

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    bool hasContent = false;
    bool afterSeparator = false;
    for (char c : commandLine) {
        bool separator = !quoted && (c == ' ' || c == '\t');
        if (separator) {
            afterSeparator = true;
            continue;
        }
        if (afterSeparator && hasContent) {
            arguments.push_back(current);
            current.clear();
            hasContent = false;
        }
        afterSeparator = false;
        if (c == '"') {
            quoted = !quoted;
        } else {
            current.push_back(c);
        }
        hasContent = true;
    }
    if (hasContent) {
        arguments.push_back(current);
    }
    return arguments;
}

namespace {

std::string trimmedLower(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) {
        ++first;
    }
    while (last > first && isBlank(text[last - 1])) {
        --last;
    }
    std::string result(text.substr(first, last - first));
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

bool endsWith(const std::string& text, std::string_view tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

ArgumentKind classifyArgument(std::string_view argument) {
    std::string test = trimmedLower(argument);
    if (endsWith(test, ".ptp")) {
        return ArgumentKind::ProjectFile;
    }
    if (endsWith(test, ".ptn")) {
        return ArgumentKind::NotepadFile;
    }
    if (test == "-m") {
        return ArgumentKind::MinimiseSwitch;
    }
    return ArgumentKind::Unsupported;
}

std::string resolveArgumentPath(const std::string& argument, const std::string& currentDirectory) {
    if (argument.find(kDirectorySeparator) != std::string::npos) {
        return argument;
    }
    std::string directory = currentDirectory;
    if (directory.empty() || directory.back() != kDirectorySeparator) {
        directory.push_back(kDirectorySeparator);
    }
    return directory + argument;
}

std::string unsupportedArgumentMessage(const std::string& argument) {
    return "Unsupported command line argument: " + argument;
}

bool wantsUsageText(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help") {
            return true;
        }
    }
    return false;
}

std::string programUsageText() {
    return R"(Usage:
  corvane [PROJECT.ptp | NOTEPAD.ptn | -m]...
  corvane --help

Corvane tests, simulates and monitors serial communication. It sends byte sequences at a click,
by key or periodically, shows every byte that passes in ASCII, HEX, Decimal and Binary at once,
watches the received data for receive sequences that answer by themselves, and logs the traffic
to text or HTML files. Projects keep the port settings and both sequence lists; a notepad file
lies beside each project.

Without arguments the welcome dialog opens (unless it was switched off); it offers the sample
projects, which run on the built-in loopback port COM256 without any hardware.

Arguments:
  PROJECT.ptp           open the project (and its notepad beside it)
  NOTEPAD.ptn           open the notepad; the project of the same name beside it is opened
                        with it
  -m                    minimise the main window and the notepad
  --help                print this text and end

Arguments are processed in the order given; any other argument is reported as unsupported.

Serial ports are named COM1 to COM256. A serial device gets the lowest free COM number when the
ports are first listed, and keeps it; the environment variable CORVANE_COM<n> (for example
CORVANE_COM3=/dev/ttyUSB0) maps a number to a device for one run. Opening a serial device needs
membership of its group, on most systems 'dialout'.
)";
}

} // namespace corvane
