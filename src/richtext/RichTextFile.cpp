#include "richtext/RichTextFile.h"

#include "platform/ReplacingFile.h"
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
    // Written beside the old file and put in its place only when complete, so a failed save
    // keeps the old notes byte for byte.
    ReplacingFile file;
    return file.open(path) && file.write(writeRtf(document)) && file.commit();
}

} // namespace corvane
