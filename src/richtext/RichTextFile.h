#pragma once

#include "richtext/RichTextDocument.h"

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The notepad's file: Rich Text Format written by writeRtf. A file that holds no Rich Text Format
// at all (a plain text file, an empty file) is read as plain Windows-1252 text, so notes kept in
// any text file still open; only a file that can't be read at all fails.

// The document of the file at path; nothing when the file can't be read.
std::optional<RichTextDocument> loadRichTextFile(const std::string& path);

// The document of a file's bytes.
RichTextDocument richTextOfFileContents(std::string_view bytes);

// Writes the document to path as Rich Text Format. The old file is replaced only once the new one
// is completely written; false when it couldn't be.
bool saveRichTextFile(const std::string& path, const RichTextDocument& document);

} // namespace corvane
