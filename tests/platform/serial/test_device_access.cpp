// What a user is told about a serial device that won't open: who holds it (found among the open
// files of real processes) and why he may not open it.
#include "platform/serial/DeviceHolders.h"
#include "platform/serial/DevicePermission.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace corvane {
namespace {

// A `sleep` process that holds path open on its descriptor 3, as another program holds a port.
class HoldingProcess {
public:
    explicit HoldingProcess(const std::string& path) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 3, path.c_str(), O_RDONLY, 0);
        char sleepName[] = "sleep";
        char seconds[] = "60";
        char* argv[] = {sleepName, seconds, nullptr};
        spawned_ = posix_spawnp(&pid_, "sleep", &actions, nullptr, argv, environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~HoldingProcess() {
        if (spawned_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    HoldingProcess(const HoldingProcess&) = delete;
    HoldingProcess& operator=(const HoldingProcess&) = delete;

    bool spawned() const { return spawned_; }
    int pid() const { return pid_; }

private:
    pid_t pid_ = 0;
    bool spawned_ = false;
};

// The holders of path once the spawned process has opened it (it does so right after the spawn).
std::vector<DeviceHolder> holdersOnceOpen(const std::string& path, int pid) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        auto holders = findDeviceHolders(path);
        for (const auto& holder : holders) {
            if (holder.pid == pid) {
                return holders;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return findDeviceHolders(path);
}

TEST(DeviceHolders, AnotherProcessHoldingTheFileIsNamedWithItsPid) {
    test::TempFolder folder;
    const std::string path = folder.file("device");
    std::ofstream(path) << "x";
    // A link to it (as /dev/serial/by-id links to /dev/ttyUSB0) finds the same holder.
    const std::string link = folder.file("by-id-link");
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);

    HoldingProcess holder(path);
    ASSERT_TRUE(holder.spawned());
    auto holders = holdersOnceOpen(link, holder.pid());
    ASSERT_EQ(holders.size(), 1u);
    EXPECT_EQ(holders[0].pid, holder.pid());
    EXPECT_EQ(holders[0].name, "sleep");
    EXPECT_EQ(deviceHoldersText(holders), "used by sleep, pid " + std::to_string(holder.pid()));
}

TEST(DeviceHolders, ThisProcessAFileNobodyHoldsAndAMissingDeviceGiveNoHolder) {
    test::TempFolder folder;
    const std::string path = folder.file("device");
    std::ofstream(path) << "x";
    int own = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(own, 0);
    EXPECT_TRUE(findDeviceHolders(path).empty());
    ::close(own);
    EXPECT_TRUE(findDeviceHolders(folder.file("missing")).empty());
    // A proc tree that isn't there.
    EXPECT_TRUE(findDeviceHolders(path, folder.file("no-proc")).empty());
    EXPECT_EQ(deviceHoldersText({}), "");
}

TEST(DeviceHolders, SeveralHoldersAreListedInPidOrder) {
    EXPECT_EQ(deviceHoldersText({{4711, "minicom"}, {4712, "screen"}}),
              "used by minicom, pid 4711 and screen, pid 4712");
    EXPECT_EQ(deviceHoldersText({{1, "a"}, {2, "b"}, {3, "c"}}), "used by a, pid 1, b, pid 2 and c, pid 3");
}

TEST(DevicePermission, AGroupThatMayOpenTheDeviceIsNamedWithTheCommandToJoinIt) {
    DeviceAccess dialout{"root", "dialout", 20, S_IFCHR | 0660};
    EXPECT_EQ(permissionDeniedText("/dev/ttyUSB0", dialout, false),
              "Permission denied for /dev/ttyUSB0: add your user to the 'dialout' group (sudo usermod -aG "
              "dialout $USER) and log in again");
    // Another group that grants the access is named as it is (uucp on some systems).
    DeviceAccess uucp{"root", "uucp", 14, S_IFCHR | 0660};
    EXPECT_EQ(
        permissionDeniedText("/dev/ttyS0", uucp, false),
        "Permission denied for /dev/ttyS0: add your user to the 'uucp' group (sudo usermod -aG uucp $USER) "
        "and log in again");
    // A group that may only read helps a read-only tap, not a port that is written.
    DeviceAccess readers{"root", "plugdev", 46, S_IFCHR | 0640};
    EXPECT_NE(permissionDeniedText("/dev/ttyUSB1", readers, true).find("'plugdev' group"), std::string::npos);
    EXPECT_EQ(permissionDeniedText("/dev/ttyUSB1", readers, false),
              "Permission denied for /dev/ttyUSB1: only its owner root may open it (mode 0640)");
}

TEST(DevicePermission, NoUsefulGroupSaysThatOnlyTheOwnerMayOpenIt) {
    // Joining root's group is no advice to give.
    DeviceAccess rootGroup{"root", "root", 0, S_IFCHR | 0660};
    EXPECT_EQ(permissionDeniedText("/dev/pts/3", rootGroup, false),
              "Permission denied for /dev/pts/3: only its owner root may open it (mode 0660)");
    DeviceAccess ownerOnly{"alice", "tty", 5, S_IFCHR | 0600};
    EXPECT_EQ(permissionDeniedText("/dev/pts/4", ownerOnly, false),
              "Permission denied for /dev/pts/4: only its owner alice may open it (mode 0600)");
}

TEST(DevicePermission, TheDetailOfARealFileNamesItsRealPathAndOwner) {
    test::TempFolder folder;
    const std::string path = folder.file("node");
    std::ofstream(path) << "x";
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    const std::string link = folder.file("by-id");
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
    const std::string detail = permissionDeniedDetail(link, false);
    const std::string real = std::filesystem::canonical(path).string();
    EXPECT_EQ(detail.rfind("Permission denied for " + real + ": only its owner ", 0), 0u) << detail;
    EXPECT_NE(detail.find("(mode 0600)"), std::string::npos) << detail;
    EXPECT_EQ(permissionDeniedDetail(folder.file("gone"), false),
              "Permission denied for " + folder.file("gone"));
}

} // namespace
} // namespace corvane
