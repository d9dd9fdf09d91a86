#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvane::test {

// Another program run as a test peer (unrtf, pdftotext, pdftoppm): what it writes to its standard
// output, or nothing when it isn't installed or can't be started. The arguments are passed as they
// are, without a shell.
std::optional<std::string> programOutput(const std::string& program,
                                         const std::vector<std::string>& arguments);

// unrtf --text of a file: the text after its header, in Latin-1 with '?' for other characters.
std::optional<std::string> unrtfText(const std::string& path);

} // namespace corvane::test
