#pragma once

#include <string>
#include <string_view>

namespace corvane {

// "_asc", "_hex", "_dec", "_bin" for the views 0 to 3; empty for any other view.
std::string_view logFileSuffix(int view);

// "(ASCII)", "(HEX)", "(Decimal)", "(Binary)"; empty for any other view.
std::string_view logRepresentationLabel(int view);

// Base (trimmed) + suffix + ".htm" (html) or ".txt".
std::string logFileName(std::string_view base, int view, bool html);

// The base of a chosen file name: directory and file name without its extension, and without a
// trailing "_asc", "_hex", "_dec" or "_bin" when the name is longer than four characters.
std::string logBaseFromFileName(std::string_view path);

} // namespace corvane
