#pragma once

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

namespace corvane::test {

// A small tmpfs mounted on a folder of its own, to see what a full disk does to the program.
// Mounting needs CAP_SYS_ADMIN (CI runs as root); where the machine doesn't allow it, mounted()
// is false and reason() says why, so the test can skip. The file system is unmounted at the end.
class SmallFileSystem {
public:
    SmallFileSystem(const std::string& folder, std::size_t bytes) : folder_(folder) {
        std::error_code ignored;
        std::filesystem::create_directories(folder_, ignored);
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
        if (::mount("corvane-test", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV | MS_NOEXEC,
                    options.c_str()) == 0) {
            mounted_ = true;
        } else {
            reason_ = std::string("mounting a tmpfs failed: ") + std::strerror(errno) +
                      " (needs root or CAP_SYS_ADMIN)";
        }
    }
    ~SmallFileSystem() {
        if (mounted_) {
            ::umount2(folder_.c_str(), MNT_DETACH);
        }
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& reason() const { return reason_; }
    const std::string& folder() const { return folder_; }

    // Takes all the room that is left with a file of its own; true when the disk is then full.
    bool fill() {
        int descriptor = ::open(fillerPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (descriptor < 0) {
            return false;
        }
        std::vector<char> block(4096, 'x');
        bool full = false;
        for (int i = 0; i < 1 << 20 && !full; ++i) {
            full = ::write(descriptor, block.data(), block.size()) < 0 && errno == ENOSPC;
        }
        // The last partial page, byte by byte.
        while (full && ::write(descriptor, block.data(), 1) == 1) {
        }
        ::close(descriptor);
        return full;
    }
    // Gives the room back.
    void release() { ::unlink(fillerPath().c_str()); }

    // The names in the folder, the filler left out.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            if (entry.path() != fillerPath()) {
                names.push_back(entry.path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string fillerPath() const { return folder_ + "/filler"; }

    std::string folder_;
    bool mounted_ = false;
    std::string reason_;
};

} // namespace corvane::test
