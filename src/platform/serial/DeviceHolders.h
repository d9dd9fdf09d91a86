#pragma once

#include <string>
#include <vector>

namespace corvane {

// A process that has a device open.
struct DeviceHolder {
    int pid = 0;
    // The program's name as the system keeps it (/proc/<pid>/comm), e.g. "minicom".
    std::string name;
};

// The other processes that hold a device open, found by looking at the open files of each
// process (<procRoot>/<pid>/fd). Processes of other users can't be looked into without
// privileges and are not found; this process is left out.
std::vector<DeviceHolder> findDeviceHolders(const std::string& devicePath,
                                            const std::string& procRoot = "/proc");

// "used by minicom, pid 4711" or "used by minicom, pid 4711 and screen, pid 4712"; empty for none.
std::string deviceHoldersText(const std::vector<DeviceHolder>& holders);

} // namespace corvane
