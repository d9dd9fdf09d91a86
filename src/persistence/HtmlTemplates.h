#pragma once

#include <string>

namespace corvane {

// The built-in HTML log file templates (restored by "Back to Default"); every line ends in CR LF.
const std::string& defaultLogHTMLHeader();
const std::string& defaultLogHTMLFooter();
// One piece without a line end.
const std::string& defaultLogHTMLDataElement();

} // namespace corvane
