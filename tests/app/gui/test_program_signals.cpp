// The program corvane as the desktop and the shell start and stop it: "--help" without a display,
// and a termination signal that closes the main window the ordinary way.
#include "support/ProgramOutput.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace corvane {
namespace {

// Whether the process has its own handler for the signal (the SigCgt mask of /proc/<pid>/status).
bool catchesSignal(pid_t pid, int number) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigCgt:", 0) == 0) {
            const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
            return (mask >> (number - 1) & 1u) != 0;
        }
    }
    return false;
}

// Waits for the process to end; false when it is still running after the timeout.
bool waitForExit(pid_t pid, int& status, std::chrono::seconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

TEST(ProgramSignals, HelpPrintsTheCommandLineWithoutADisplay) {
    int exitCode = -1;
    // No display and no platform plugin chosen: --help must not need one.
    const std::string output = test::programOutput("env",
                                                   {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u",
                                                    "QT_QPA_PLATFORM", CORVANE_GUI_PROGRAM, "--help"},
                                                   &exitCode)
                                   .value_or("");
    EXPECT_EQ(exitCode, 0) << output;
    EXPECT_EQ(output.rfind("Usage:\n  corvane [PROJECT.ptp | NOTEPAD.ptn | -m]...\n", 0), 0u) << output;
}

TEST(ProgramSignals, TerminationSignalsCloseTheMainWindowAndEndNormally) {
    for (int number : {SIGTERM, SIGINT}) {
        test::TempFolder folder;
        const std::string project = folder.file("PingPong.ptp");
        std::filesystem::copy_file(std::string(CORVANE_SAMPLES_DIR) + "/PingPong.ptp", project);
        const std::string config = "XDG_CONFIG_HOME=" + folder.file("config");
        std::filesystem::create_directory(folder.file("runtime"));
        std::filesystem::permissions(folder.file("runtime"), std::filesystem::perms::owner_all);
        const std::string runtime = "XDG_RUNTIME_DIR=" + folder.file("runtime");
        const pid_t program = ::fork();
        ASSERT_GE(program, 0);
        if (program == 0) {
            ::execlp("env", "env", "QT_QPA_PLATFORM=offscreen", config.c_str(), runtime.c_str(),
                     CORVANE_GUI_PROGRAM, project.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        bool ready = false;
        for (int attempt = 0; attempt < 1500 && !ready; ++attempt) {
            ready = catchesSignal(program, number);
            if (!ready) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        ::kill(program, number);
        int status = 0;
        const bool ended = waitForExit(program, status, std::chrono::seconds(60));
        if (!ended) {
            ::kill(program, SIGKILL);
            ::waitpid(program, &status, 0);
        }
        EXPECT_TRUE(ready) << "corvane never set up its handler of signal " << number;
        ASSERT_TRUE(ended) << "corvane did not close on signal " << number;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "signal " << number << " ended corvane with status " << status;
        // It closed the ordinary way: the program settings were written on the way out.
        EXPECT_TRUE(std::filesystem::exists(folder.file("config/Corvane/Corvane.conf")));
    }
}

} // namespace
} // namespace corvane
