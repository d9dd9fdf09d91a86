#pragma once

#include "platform/QtTestSupport.h"

#include "support/FileContents.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <string>

namespace corvane::test {

// Copies a file; false when it can't.
inline bool copyFile(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    return !error;
}

} // namespace corvane::test
