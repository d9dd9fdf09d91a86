#pragma once

#include "platform/SerialDeviceEnumerator.h"

#include <string>

namespace corvane {

// The system's serial devices from QSerialPortInfo, completed from sysfs (USB interface number
// and count) and /dev/serial/by-id (stable paths).
class QtSerialDeviceEnumerator : public SerialDeviceEnumerator {
public:
    // sysRoot and byIdDirectory are for tests; the defaults are the system's.
    explicit QtSerialDeviceEnumerator(std::string sysClassTty = "/sys/class/tty",
                                      std::string byIdDirectory = "/dev/serial/by-id");
    bool listDevices(std::vector<SerialDeviceInfo>& devices) override;

    // The USB interface number and count of a tty from sysfs (left as they are when not USB).
    void readUsbInterface(const std::string& ttyName, SerialDeviceInfo& info) const;
    // The /dev/serial/by-id name of a device, empty when it has none.
    std::string stablePathOf(const std::string& systemPath) const;

private:
    std::string sysClassTty_;
    std::string byIdDirectory_;
};

} // namespace corvane
