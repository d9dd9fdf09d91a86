#pragma once

#include "platform/SerialDeviceEnumerator.h"

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// What the kernel's sysfs tree tells about serial devices: each tty under <root>/class/tty that
// has a device behind it, the USB device and interface it belongs to (ids, product string,
// manufacturer, serial number, interface number and count) and its node under /dev (the DEVNAME
// of its uevent file). The root is /sys; tests hand in a tree of their own.
class SysfsSerialDevices {
public:
    static constexpr const char* kRootVariable = "CORVANE_SYSFS_ROOT";

    explicit SysfsSerialDevices(std::string root = "/sys") : root_(std::move(root)) {}

    // The tree named by CORVANE_SYSFS_ROOT, or nothing when the variable is unset or empty.
    static std::optional<std::string> treeFromEnvironment();

    // Every tty with a device; false when the tree's tty class can't be read at all.
    bool list(std::vector<SerialDeviceInfo>& devices) const;
    // Completes info from sysfs: the USB interface number and count, and the USB ids and strings
    // that info doesn't hold yet. A tty that isn't a USB device is left as it is.
    void complete(const std::string& ttyName, SerialDeviceInfo& info) const;
    // The device node of a tty: /dev/ and its DEVNAME, else /dev/ and its name.
    std::string devicePath(const std::string& ttyName) const;

    const std::string& root() const { return root_; }

private:
    std::string root_;
};

} // namespace corvane
