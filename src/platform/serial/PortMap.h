#pragma once

#include "platform/SerialDeviceEnumerator.h"
#include "platform/SettingsStore.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// Reads an environment variable; nothing when it is not set.
using EnvironmentReader = std::function<std::optional<std::string>(const std::string& name)>;
EnvironmentReader processEnvironment();

struct PortListEntry {
    int comNumber = 0;
    // The device as mapped (a /dev/serial/by-id name or a node such as /dev/ttyUSB0).
    std::string devicePath;
    std::string description;
    bool loopback = false;
    // Whether the mapped device is there now: listed by the system, or present in the file system.
    bool present = false;
    // The node and the stable by-id name of a present device; empty when unknown.
    std::string systemPath;
    std::string stablePath;
    // "COM3  (/dev/ttyUSB0, FT232R USB UART, /dev/serial/by-id/usb-FTDI_...)": the node first, the
    // stable name beside it when the device has one; "(..., not present)" for an unplugged device.
    std::string displayText;
};

// The names COM1 to COM256 and the system devices behind them. A COM number is mapped by the
// environment variable CORVANE_COM<n> (for one run), else by the settings store (section
// "Ports", key "COM<n>", value the device path). COM256 without a mapping is the built-in
// loopback port. Devices without a number get the lowest free one when the ports are listed, and
// the assignment is stored so that the same adapter keeps its number.
class PortMap {
public:
    static constexpr const char* kSection = "Ports";

    PortMap(SettingsStore& store, SerialDeviceEnumerator* enumerator,
            EnvironmentReader environment = processEnvironment());

    // The device of a COM number, empty when it has none (and for numbers outside 1..256).
    std::string devicePath(int comNumber) const;
    bool isLoopback(int comNumber) const;
    // Gives each present device that has no COM number the lowest free one (COM1 to COM255) and
    // stores it; returns how many were assigned.
    int assignNewDevices();
    // The mapped ports and the loopback port, in COM order, after assigning new devices.
    std::vector<PortListEntry> listPorts();

    static std::string keyFor(int comNumber) { return "COM" + std::to_string(comNumber); }

private:
    std::string storedPath(int comNumber) const;
    static bool samePath(const std::string& a, const std::string& b);

    SettingsStore& store_;
    SerialDeviceEnumerator* enumerator_;
    EnvironmentReader environment_;
};

} // namespace corvane
