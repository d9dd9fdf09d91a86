// Why a port won't open, as a Linux user reads it from corvane-cli: a device node he may not open
// (the program run as nobody) and a port that another corvane-cli holds. Real pseudo-terminals
// stand in for the serial devices.
#include "platform/PtyPair.h"
#include "platform/serial/DeviceHolders.h"
#include "support/ProgramOutput.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;

// The sample project in a folder that every user may read.
class CliPortErrorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                           fs::perms::others_read | fs::perms::others_exec);
        fs::copy_file(std::string(CORVANE_SAMPLES_DIR) + "/PingPong.ptp", project);
        fs::permissions(project, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                     fs::perms::others_read);
    }

    // corvane-cli with standard error joined to its output, optionally run as another user first.
    std::string run(const std::vector<std::string>& prefix, const std::vector<std::string>& arguments,
                    int& exitCode) {
        std::vector<std::string> command = prefix;
        command.insert(command.end(), {"env", "XDG_CONFIG_HOME=" + folder.file("config"), "sh", "-c",
                                       "exec \"$0\" \"$@\" 2>&1", CORVANE_CLI_PROGRAM});
        command.insert(command.end(), arguments.begin(), arguments.end());
        const std::string program = command.front();
        command.erase(command.begin());
        return test::programOutput(program, command, &exitCode).value_or("");
    }

    test::PtyPair pty;
    test::TempFolder folder;
    std::string project = folder.file("PingPong.ptp");
};

TEST_F(CliPortErrorsTest, ADeviceTheUserMayNotOpenNamesTheGroupToJoin) {
    if (::geteuid() != 0) {
        GTEST_SKIP()
            << "needs root: to give the device node to the dialout group and to run corvane-cli as nobody";
    }
    const struct passwd* nobody = ::getpwnam("nobody");
    const struct group* dialout = ::getgrnam("dialout");
    if (nobody == nullptr || dialout == nullptr || !fs::exists("/usr/bin/setpriv")) {
        GTEST_SKIP() << "needs the user nobody, the group dialout and setpriv";
    }
    // As a USB serial adapter's node: root's, group dialout, mode 0660.
    ASSERT_EQ(::chown(pty.path().c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(pty.path().c_str(), 0660), 0);
    const std::vector<std::string> asNobody{"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
                                            "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups",
                                            "--"};
    int exitCode = -1;
    const std::string output =
        run(asNobody, {"--port", "COM256=" + pty.path(), "--duration", "1", project}, exitCode);
    EXPECT_EQ(exitCode, 1) << output;
    EXPECT_NE(
        output.find("The communication port COM256 could not be opened. Permission denied for " + pty.path() +
                    ": add your user to the 'dialout' group (sudo usermod -aG dialout $USER) and log in "
                    "again"),
        std::string::npos)
        << output;
    EXPECT_EQ(output.find("Windows Error"), std::string::npos) << output;
}

TEST_F(CliPortErrorsTest, APortThatAnotherProgramHoldsNamesThatProgramAndItsPid) {
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        ::execl(CORVANE_CLI_PROGRAM, CORVANE_CLI_PROGRAM, "--port", ("COM256=" + pty.path()).c_str(),
                "--duration", "30", "--quiet", project.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Wait until the first corvane-cli has the port open.
    bool holding = false;
    for (int attempt = 0; attempt < 500 && !holding; ++attempt) {
        for (const DeviceHolder& process : findDeviceHolders(pty.path())) {
            holding = holding || process.pid == holder;
        }
        if (!holding) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    int exitCode = -1;
    const std::string output =
        holding ? run({}, {"--port", "COM256=" + pty.path(), "--duration", "1", project}, exitCode) : "";
    ::kill(holder, SIGTERM);
    int status = 0;
    ::waitpid(holder, &status, 0);
    ASSERT_TRUE(holding) << "the first corvane-cli never opened " << pty.path();
    EXPECT_EQ(exitCode, 1) << output;
    EXPECT_NE(output.find("The communication port COM256 could not be opened. COM port already open (used by "
                          "corvane-cli, pid " +
                          std::to_string(holder) + ")"),
              std::string::npos)
        << output;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the holder ended normally on SIGTERM";
}

} // namespace
} // namespace corvane
