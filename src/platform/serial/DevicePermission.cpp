#include "platform/serial/DevicePermission.h"

#include <cstdio>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <system_error>
#include <vector>

namespace corvane {

namespace {

std::string userName(uid_t uid) {
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->pw_name;
    }
    return "user " + std::to_string(uid);
}

std::string groupName(gid_t gid) {
    std::vector<char> buffer(16384);
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->gr_name;
    }
    return {};
}

std::string octalMode(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned int>(mode & 07777));
    return text;
}

} // namespace

std::string permissionDeniedText(const std::string& path, const DeviceAccess& access, bool readOnly) {
    const mode_t groupNeeds = readOnly ? S_IRGRP : (S_IRGRP | S_IWGRP);
    const std::string head = "Permission denied for " + path + ": ";
    if (access.groupId != 0 && !access.groupName.empty() && (access.mode & groupNeeds) == groupNeeds) {
        const std::string& group = access.groupName;
        return head + "add your user to the '" + group + "' group (sudo usermod -aG " + group +
               " $USER) and log in again";
    }
    return head + "only its owner " + access.ownerName + " may open it (mode " + octalMode(access.mode) + ")";
}

std::string permissionDeniedDetail(const std::string& devicePath, bool readOnly) {
    std::error_code error;
    std::filesystem::path real = std::filesystem::canonical(devicePath, error);
    const std::string path = error ? devicePath : real.string();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return "Permission denied for " + path;
    }
    DeviceAccess access;
    access.ownerName = userName(info.st_uid);
    access.groupName = groupName(info.st_gid);
    access.groupId = info.st_gid;
    access.mode = info.st_mode;
    return permissionDeniedText(path, access, readOnly);
}

} // namespace corvane
