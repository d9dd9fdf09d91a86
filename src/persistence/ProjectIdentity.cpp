#include "persistence/ProjectIdentity.h"

#include "persistence/ProjectValueFormat.h"
#include "sequences/Windows1252.h"

#include <vector>

namespace corvane {

std::string baseNameOf(std::string_view fileName) {
    const std::string_view name = projectformat::trimBlanks(fileName);
    // Byte offsets of the characters (UTF-8).
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < name.size();) {
        starts.push_back(i);
        windows1252::decodeUtf8(name, i);
    }
    if (starts.size() >= 5) {
        const std::size_t lastFour = starts[starts.size() - 4];
        const std::size_t dot = name.rfind('.');
        if (dot != std::string_view::npos && dot >= lastFour) {
            return std::string(name.substr(0, dot));
        }
    }
    return std::string(name);
}

ProjectIdentity projectIdentityOf(std::string_view path) {
    ProjectIdentity identity;
    const std::size_t separator = path.rfind(kDirectorySeparator);
    if (separator == std::string_view::npos) {
        identity.baseName = baseNameOf(path);
    } else {
        identity.directory = std::string(path.substr(0, separator + 1));
        identity.baseName = baseNameOf(path.substr(separator + 1));
    }
    return identity;
}

} // namespace corvane
