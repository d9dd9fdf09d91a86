#include "platform/serial/DeviceHolders.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace corvane {

namespace {

bool isNumber(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
            return false;
        }
    }
    return true;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    if (S_ISCHR(a.st_mode) && S_ISCHR(b.st_mode)) {
        return a.st_rdev == b.st_rdev;
    }
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string programName(const std::filesystem::path& process) {
    std::ifstream comm(process / "comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? "an unnamed program" : name;
}

bool holds(const std::filesystem::path& process, const struct stat& device) {
    std::error_code error;
    std::filesystem::directory_iterator fds(process / "fd", error);
    if (error) {
        return false;
    }
    for (const auto& fd : fds) {
        struct stat target {};
        // stat follows the link to the open file itself.
        if (::stat(fd.path().c_str(), &target) == 0 && sameFile(target, device)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<DeviceHolder> findDeviceHolders(const std::string& devicePath, const std::string& procRoot) {
    std::vector<DeviceHolder> holders;
    struct stat device {};
    if (::stat(devicePath.c_str(), &device) != 0) {
        return holders;
    }
    const std::string self = std::to_string(::getpid());
    std::error_code error;
    std::filesystem::directory_iterator processes(procRoot, error);
    if (error) {
        return holders;
    }
    for (const auto& process : processes) {
        const std::string pid = process.path().filename().string();
        if (!isNumber(pid) || pid == self) {
            continue;
        }
        if (holds(process.path(), device)) {
            holders.push_back({std::stoi(pid), programName(process.path())});
        }
    }
    std::sort(holders.begin(), holders.end(),
              [](const DeviceHolder& a, const DeviceHolder& b) { return a.pid < b.pid; });
    return holders;
}

std::string deviceHoldersText(const std::vector<DeviceHolder>& holders) {
    std::string text;
    for (std::size_t i = 0; i < holders.size(); ++i) {
        text += i == 0 ? "used by " : (i + 1 == holders.size() ? " and " : ", ");
        text += holders[i].name + ", pid " + std::to_string(holders[i].pid);
    }
    return text;
}

} // namespace corvane
