#include "CliNotepad.h"

#include "richtext/RichTextFile.h"

#include <filesystem>

namespace corvane::cli {

bool CliNotepad::NotepadfileExists(const std::string& directory, const std::string& baseName) const {
    std::error_code error;
    return std::filesystem::is_regular_file(directory + baseName + ".ptn", error);
}

bool CliNotepad::LoadRTFContents(const std::string& directory, const std::string& baseName) {
    std::optional<RichTextDocument> loaded = loadRichTextFile(directory + baseName + ".ptn");
    if (!loaded) {
        return false;
    }
    document_ = std::move(*loaded);
    return true;
}

bool CliNotepad::SaveRTFContents(const std::string& directory, const std::string& baseName) {
    return saveRichTextFile(directory + baseName + ".ptn", document_);
}

bool CliNotepad::IsEmpty() const {
    return plainTextOf(document_).find_first_not_of(" \t\r\n") == std::string::npos;
}

} // namespace corvane::cli
