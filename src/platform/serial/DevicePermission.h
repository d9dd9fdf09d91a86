#pragma once

#include <string>
#include <sys/types.h>

namespace corvane {

// Who may open a device node: its owner, its group and its mode bits.
struct DeviceAccess {
    std::string ownerName;
    std::string groupName;
    gid_t groupId = 0;
    mode_t mode = 0;
};

// What a user who may not open a device is told, in place of the system's error number:
//   "Permission denied for /dev/ttyUSB0: add your user to the 'dialout' group (sudo usermod -aG
//   dialout $USER) and log in again"
// when the device's group (not root's) may open it, else that only its owner may. readOnly: the
// device is to be opened for reading only (monitoring taps).
std::string permissionDeniedText(const std::string& path, const DeviceAccess& access, bool readOnly);

// The same for a device in the file system: its real path (a /dev/serial/by-id name resolved) and
// its owner, group and mode as the system has them. Without them just "Permission denied for "
// and the path.
std::string permissionDeniedDetail(const std::string& devicePath, bool readOnly);

} // namespace corvane
