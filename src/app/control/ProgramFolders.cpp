#include "app/control/ProgramFolders.h"

#include <filesystem>
#include <system_error>

namespace corvane {

namespace {

bool isFolder(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder.push_back('/');
    }
    return folder;
}

} // namespace

std::string ProgramFolders::samplesFolder(const std::string& programDirectory) {
    const std::string program = withSlash(programDirectory);
    const std::string beside = program + kSamplesFolderName;
    if (isFolder(beside)) {
        return withSlash(beside);
    }
    std::error_code error;
    std::filesystem::path installed =
        std::filesystem::weakly_canonical(std::filesystem::path(program) / kInstalledSamples, error);
    if (!error && isFolder(installed)) {
        return withSlash(installed.string());
    }
    return withSlash(beside);
}

} // namespace corvane
