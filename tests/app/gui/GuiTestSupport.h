#pragma once

#include "platform/QtTestSupport.h"

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>

namespace corvane::test {

// Copies a file; false when it can't.
inline bool copyFile(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    return !error;
}

inline void writeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace corvane::test
