#pragma once

#include <string>

namespace corvane::test {

// The bytes of a file as they are on disk; empty when it can't be read.
std::string readFile(const std::string& path);

// Replaces a file's contents with these bytes.
void writeFile(const std::string& path, const std::string& bytes);

} // namespace corvane::test
