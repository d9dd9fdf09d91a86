#pragma once

#include <string>
#include <vector>

namespace corvane {

// One serial device of the system.
struct SerialDeviceInfo {
    // Device path, e.g. /dev/ttyUSB0.
    std::string systemPath;
    // A path that stays the same for the same adapter (/dev/serial/by-id/...), empty if none.
    std::string stablePath;
    // USB product string or the system's description.
    std::string description;
    std::string manufacturer;
    // USB serial number of the device (shared by the interfaces of one chip).
    std::string serialNumber;
    int vendorId = 0;
    int productId = 0;
    // USB interface number of this port, -1 when unknown; and how many serial interfaces the
    // device has.
    int interfaceNumber = -1;
    int interfaceCount = 1;
    // The product string of the USB device itself (its descriptor, as sysfs shows it), empty when
    // not known. The system's description may come from a hardware database instead.
    std::string usbProduct = {};
};

class SerialDeviceEnumerator {
public:
    virtual ~SerialDeviceEnumerator() = default;
    // The serial devices present; false when the system could not be asked at all.
    virtual bool listDevices(std::vector<SerialDeviceInfo>& devices) = 0;
};

} // namespace corvane
