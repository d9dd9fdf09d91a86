#pragma once

#include "display/ProjectListing.h"
#include "richtext/RichTextDocument.h"

#include <string>

namespace corvane::cli {

// Prints the project listing and, when notes are given, the notepad after it to a PDF file, as the
// program with a window prints them on paper. Needs Qt's GUI application. False, with the reason,
// when the file can't be written.
bool printProjectToPdf(const std::string& pdfPath, const ProjectListingInput& listing,
                       const RichTextDocument* notes, const CharacterFormat& notesFont, std::string& error);

} // namespace corvane::cli
