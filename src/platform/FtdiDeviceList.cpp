#include "platform/FtdiDeviceList.h"

#include <algorithm>
#include <tuple>

namespace corvane {

void SerialDeviceFtdiList::refresh() {
    std::vector<SerialDeviceInfo> devices;
    entries_.clear();
    loaded_ = true;
    reachable_ = enumerator_.listDevices(devices);
    if (!reachable_) {
        return;
    }
    std::vector<SerialDeviceInfo> ftdi;
    for (const auto& d : devices) {
        if (d.vendorId == kFtdiVendorId) {
            ftdi.push_back(d);
        }
    }
    std::sort(ftdi.begin(), ftdi.end(), [](const SerialDeviceInfo& a, const SerialDeviceInfo& b) {
        return std::tie(a.serialNumber, a.interfaceNumber, a.systemPath) <
               std::tie(b.serialNumber, b.interfaceNumber, b.systemPath);
    });
    for (const auto& d : ftdi) {
        Entry e;
        // The driver's description is the chip's own product string.
        e.description = d.usbProduct.empty() ? d.description : d.usbProduct;
        e.serialNumber = d.serialNumber;
        e.path = d.stablePath.empty() ? d.systemPath : d.stablePath;
        if (d.interfaceCount > 1 && d.interfaceNumber >= 0 && d.interfaceNumber < 26) {
            std::string letter(1, static_cast<char>('A' + d.interfaceNumber));
            e.description += " " + letter;
            e.serialNumber += letter;
        }
        entries_.push_back(e);
    }
}

int SerialDeviceFtdiList::listDeviceCount(int& count) {
    refresh();
    count = static_cast<int>(entries_.size());
    return reachable_ ? kFtOk : kFtNoDriver;
}

int SerialDeviceFtdiList::listDescription(int index, std::string& text) {
    if (!loaded_) {
        refresh();
    }
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        return kFtDeviceNotFound;
    }
    text = entries_[static_cast<std::size_t>(index)].description;
    return kFtOk;
}

int SerialDeviceFtdiList::listSerialNumber(int index, std::string& text) {
    if (!loaded_) {
        refresh();
    }
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        return kFtDeviceNotFound;
    }
    text = entries_[static_cast<std::size_t>(index)].serialNumber;
    return kFtOk;
}

std::string SerialDeviceFtdiList::devicePath(int index) {
    if (!loaded_) {
        refresh();
    }
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        return {};
    }
    return entries_[static_cast<std::size_t>(index)].path;
}

} // namespace corvane
