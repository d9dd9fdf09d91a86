#pragma once

#include <string>
#include <string_view>

namespace corvane {

// A project is named by a directory (ending in the directory separator, or empty) and a base
// name; an empty base name means the project has never been saved.
struct ProjectIdentity {
    std::string directory;
    std::string baseName;

    std::string projectFilePath() const { return directory + baseName + ".ptp"; }
    std::string notepadFilePath() const { return directory + baseName + ".ptn"; }
    // Directory and base name joined: the entry of the recent projects list.
    std::string recentEntry() const { return directory + baseName; }

    bool operator==(const ProjectIdentity&) const = default;
};

inline constexpr char kDirectorySeparator = '/';

// The trimmed file name without its extension, when it has at least five characters and a dot
// stands among its last four ("a.b.ptp" gives "a.b", "ab.c" stays "ab.c").
std::string baseNameOf(std::string_view fileName);

// Splits a chosen path into the directory (everything up to and including the last separator)
// and the base name of the rest.
ProjectIdentity projectIdentityOf(std::string_view path);

} // namespace corvane
