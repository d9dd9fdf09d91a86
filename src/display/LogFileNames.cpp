#include "display/LogFileNames.h"

#include "persistence/ProjectIdentity.h"

#include <array>

namespace corvane {

namespace {

constexpr std::array<std::string_view, 4> kSuffixes{"_asc", "_hex", "_dec", "_bin"};
constexpr std::array<std::string_view, 4> kLabels{"(ASCII)", "(HEX)", "(Decimal)", "(Binary)"};

std::string_view trimmed(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

std::string_view logFileSuffix(int view) {
    return view >= 0 && view < 4 ? kSuffixes[static_cast<std::size_t>(view)] : std::string_view{};
}

std::string_view logRepresentationLabel(int view) {
    return view >= 0 && view < 4 ? kLabels[static_cast<std::size_t>(view)] : std::string_view{};
}

std::string logFileName(std::string_view base, int view, bool html) {
    std::string name(trimmed(base));
    name += logFileSuffix(view);
    name += html ? ".htm" : ".txt";
    return name;
}

std::string logBaseFromFileName(std::string_view path) {
    const ProjectIdentity identity = projectIdentityOf(path);
    std::string name = identity.baseName;
    if (name.size() > 4) {
        const std::string_view tail = std::string_view(name).substr(name.size() - 4);
        for (std::string_view suffix : kSuffixes) {
            if (tail == suffix) {
                name.resize(name.size() - 4);
                break;
            }
        }
    }
    return std::string(trimmed(identity.directory + name));
}

} // namespace corvane
