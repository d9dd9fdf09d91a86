#pragma once

#include "platform/SerialDeviceEnumerator.h"

#include <string>
#include <vector>

namespace corvane {

// FTDI status numbers used by the device list.
inline constexpr int kFtOk = 0;
inline constexpr int kFtDeviceNotFound = 2;
inline constexpr int kFtIoError = 4;
// The driver (the system's device information) could not be reached at all.
inline constexpr int kFtNoDriver = 10001;

// The FTDI device list in the driver's usual form: a count, and per device index its description
// and serial number.
class FtdiDeviceList {
public:
    virtual ~FtdiDeviceList() = default;
    virtual int listDeviceCount(int& count) = 0;
    virtual int listDescription(int index, std::string& text) = 0;
    virtual int listSerialNumber(int index, std::string& text) = 0;
    // The system device of the index (e.g. /dev/ttyUSB1), empty when unknown.
    virtual std::string devicePath(int index) = 0;
};

// The FTDI device list built from the system's serial devices: every interface of a chip with
// the FTDI vendor id is one device, ordered by serial number and interface. The interfaces of a
// multi-interface chip get " A", " B", ... after the product string and the serial number.
class SerialDeviceFtdiList : public FtdiDeviceList {
public:
    static constexpr int kFtdiVendorId = 0x0403;

    explicit SerialDeviceFtdiList(SerialDeviceEnumerator& enumerator) : enumerator_(enumerator) {}

    // Reads the system's devices afresh.
    int listDeviceCount(int& count) override;
    int listDescription(int index, std::string& text) override;
    int listSerialNumber(int index, std::string& text) override;
    std::string devicePath(int index) override;

private:
    struct Entry {
        std::string description;
        std::string serialNumber;
        std::string path;
    };
    void refresh();

    SerialDeviceEnumerator& enumerator_;
    std::vector<Entry> entries_;
    bool loaded_ = false;
    bool reachable_ = true;
};

} // namespace corvane
