#pragma once

#include "richtext/RichTextDocument.h"

#include <string_view>

namespace corvane {

// Reads Rich Text Format as common writers produce it (word processors, WordPad-like editors,
// converters): the font and colour tables, bold, italic, underline, sizes, fonts and colours,
// paragraphs with their alignment, line breaks, tabs, escaped Windows-1252 characters and Unicode
// characters with their fallback skipping. Pictures, objects, style sheets, document information
// and every other destination it doesn't know are skipped. Malformed input (unbalanced braces, a
// truncated file, numbers too large for any use) is read as far as it goes: all the text that can
// be recognised is kept, and the reader never fails.
RichTextDocument readRtf(std::string_view data);

// True when the data starts (after blanks and line ends) as a Rich Text Format file does.
bool looksLikeRtf(std::string_view data);

} // namespace corvane
