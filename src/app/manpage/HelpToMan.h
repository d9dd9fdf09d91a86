#pragma once

#include <string>
#include <vector>

namespace corvane::manpage {

// What a manual page says besides the program's own --help text.
struct ManPageFrame {
    // Program name, e.g. "corvane-cli".
    std::string name;
    // One line for the NAME section ("run a Corvane project without a window").
    std::string summary;
    std::string version;
    // "YYYY-MM-DD".
    std::string date;
    // Further sections after the text of --help: heading and plain paragraphs.
    std::vector<std::pair<std::string, std::vector<std::string>>> extraSections;
    // Pages named in SEE ALSO, e.g. "corvane(1)".
    std::vector<std::string> seeAlso;
};

// Turns the text a program prints for --help into a manual page (man(7) macros), so that the page
// and --help never tell different stories. The help text is read as blocks between blank lines:
//   "Usage:" and the indented lines below it        -> SYNOPSIS
//   "Options:" and lines "  --option ARG  text"     -> OPTIONS, one tagged paragraph per option
//   "Exit status:" and lines "  0  text"            -> EXIT STATUS, the same way
//   "Exit status: ..." (a short "Heading: text")    -> a section of that name
//   any other block                                 -> a paragraph of DESCRIPTION
std::string helpToMan(const std::string& helpText, const ManPageFrame& frame);

// Text escaped for a man page line: backslashes, hyphens as minus signs, and a leading dot or
// apostrophe that troff would take for a request.
std::string escapeRoff(const std::string& text);

} // namespace corvane::manpage
