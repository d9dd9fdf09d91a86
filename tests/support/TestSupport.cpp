#include "support/FileContents.h"
#include "support/ProgramOutput.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/wait.h>
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

std::optional<std::string> programOutput(const std::string& program,
                                         const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execvp(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 127) {
        return std::nullopt;
    }
    return output;
}

std::optional<std::string> unrtfText(const std::string& path) {
    std::optional<std::string> output = programOutput("unrtf", {"--text", path});
    if (!output) {
        return std::nullopt;
    }
    const std::string marker = "-----------------\n";
    const std::size_t body = output->find(marker);
    return body == std::string::npos ? std::string() : output->substr(body + marker.size());
}

} // namespace corvane::test
