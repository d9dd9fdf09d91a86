#include "richtext/RichTextFile.h"

#include "platform/Windows1252.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace corvane {

std::optional<RichTextDocument> loadRichTextFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return richTextOfFileContents(bytes.str());
}

RichTextDocument richTextOfFileContents(std::string_view bytes) {
    if (looksLikeRtf(bytes)) {
        return readRtf(bytes);
    }
    return documentOfPlainText(windows1252::bytesToText(bytes));
}

bool saveRichTextFile(const std::string& path, const RichTextDocument& document) {
    const std::string bytes = writeRtf(document);
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
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

} // namespace corvane
