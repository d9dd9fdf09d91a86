#pragma once

#include <string>

namespace corvane {

// Where the program finds the files it ships with. In the build tree the sample projects lie in
// the "Samples" folder beside the executable; an installed program (bin/corvane) finds them in
// share/corvane/Samples of the same prefix.
class ProgramFolders {
public:
    static constexpr const char* kSamplesFolderName = "Samples";
    // The installed place of the samples, relative to the folder of the executable.
    static constexpr const char* kInstalledSamples = "../share/corvane/Samples";

    // The samples folder of a program directory, ending in '/': beside the executable when there
    // is such a folder, else the installed one when that exists, else beside the executable (so
    // that the message about a missing sample names the usual place).
    static std::string samplesFolder(const std::string& programDirectory);
};

} // namespace corvane
