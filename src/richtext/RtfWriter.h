#pragma once

#include "richtext/RichTextDocument.h"

#include <string>

namespace corvane {

// Writes a document as Rich Text Format: a font table and a colour table of what the runs use,
// then every paragraph (with its alignment) ended by \par, with bold, italic, underline, sizes,
// fonts and colours. The file is 7-bit text with CR LF line ends: characters of Windows-1252
// above 127 are written as \'hh, every other character as \uN with '?' for readers that don't
// know it. readRtf gives the same document back.
std::string writeRtf(const RichTextDocument& document);

} // namespace corvane
