#include "support/FileContents.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>
#include <unistd.h>

namespace corvane::test {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

TempFolder::TempFolder() {
    // The test's name for whoever looks into the temporary folder; the process id, a counter and
    // a random number keep folders apart across the tests that run at the same time.
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "corvane-";
    for (char c : std::string(info != nullptr ? info->name() : "test")) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    name += "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
            std::to_string(std::random_device{}() % 100000);
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    // A test may have taken the write permission away to provoke a file error.
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
}

} // namespace corvane::test
