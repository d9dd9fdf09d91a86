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

} // namespace corvane
