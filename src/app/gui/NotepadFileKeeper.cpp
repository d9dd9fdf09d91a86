#include "app/gui/NotepadFileKeeper.h"

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
    std::string path = pathOf(directory, baseName);
    std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out.write(contents_.data(), static_cast<std::streamsize>(contents_.size()));
        out.flush();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

bool NotepadFileKeeper::IsEmpty() const {
    return contents_.find_first_not_of(" \t\r\n") == std::string::npos;
}

} // namespace corvane
