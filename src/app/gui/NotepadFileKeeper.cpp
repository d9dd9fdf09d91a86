#include "app/gui/NotepadFileKeeper.h"

#include "platform/ReplacingFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace corvane {

namespace {

std::string pathOf(const std::string& directory, const std::string& baseName) {
    return directory + baseName + ".ptn";
}

} // namespace

bool NotepadFileKeeper::NotepadfileExists(const std::string& directory, const std::string& baseName) const {
    std::error_code error;
    return std::filesystem::is_regular_file(pathOf(directory, baseName), error);
}

bool NotepadFileKeeper::LoadRTFContents(const std::string& directory, const std::string& baseName) {
    std::ifstream in(pathOf(directory, baseName), std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream data;
    data << in.rdbuf();
    if (in.bad()) {
        return false;
    }
    contents_ = data.str();
    return true;
}

bool NotepadFileKeeper::SaveRTFContents(const std::string& directory, const std::string& baseName) {
    return ReplacingFile::replaceContents(pathOf(directory, baseName), contents_);
}

bool NotepadFileKeeper::IsEmpty() const {
    return contents_.find_first_not_of(" \t\r\n") == std::string::npos;
}

} // namespace corvane
