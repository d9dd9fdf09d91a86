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

private:
    void readUsbInterface(const std::string& ttyName, SerialDeviceInfo& info) const;
    std::string stablePathOf(const std::string& systemPath) const;

    std::string sysClassTty_;
    std::string byIdDirectory_;
};

} // namespace corvane
