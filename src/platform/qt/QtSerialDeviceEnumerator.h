#pragma once

#include "platform/SerialDeviceEnumerator.h"
#include "platform/SysfsSerialDevices.h"

#include <optional>
#include <string>

namespace corvane {

// The system's serial devices from QSerialPortInfo, completed from sysfs (USB interface number
// and count) and /dev/serial/by-id (stable paths). When a sysfs tree of its own is given (the
// environment variable CORVANE_SYSFS_ROOT; tests), the devices are the ttys of that tree alone.
class QtSerialDeviceEnumerator : public SerialDeviceEnumerator {
public:
    explicit QtSerialDeviceEnumerator(
        std::optional<std::string> sysfsTree = SysfsSerialDevices::treeFromEnvironment(),
        std::string byIdDirectory = "/dev/serial/by-id");
    bool listDevices(std::vector<SerialDeviceInfo>& devices) override;

    // The /dev/serial/by-id name of a device, empty when it has none.
    std::string stablePathOf(const std::string& systemPath) const;

private:
    bool ownTree_;
    SysfsSerialDevices sysfs_;
    std::string byIdDirectory_;
};

} // namespace corvane
