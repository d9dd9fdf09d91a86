#include "platform/qt/QtSerialDeviceEnumerator.h"

#include <QSerialPortInfo>

#include <filesystem>
#include <system_error>

namespace corvane {

namespace fs = std::filesystem;

QtSerialDeviceEnumerator::QtSerialDeviceEnumerator(std::optional<std::string> sysfsTree,
                                                   std::string byIdDirectory)
    : ownTree_(sysfsTree.has_value()), sysfs_(sysfsTree.value_or("/sys")),
      byIdDirectory_(std::move(byIdDirectory)) {}

std::string QtSerialDeviceEnumerator::stablePathOf(const std::string& systemPath) const {
    std::error_code ec;
    fs::path target = fs::canonical(systemPath, ec);
    if (ec) {
        return {};
    }
    for (fs::directory_iterator it(byIdDirectory_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        if (fs::canonical(it->path(), ec2) == target && !ec2) {
            return it->path().string();
        }
    }
    return {};
}

bool QtSerialDeviceEnumerator::listDevices(std::vector<SerialDeviceInfo>& devices) {
    devices.clear();
    if (ownTree_) {
        if (!sysfs_.list(devices)) {
            return false;
        }
        for (SerialDeviceInfo& info : devices) {
            info.stablePath = stablePathOf(info.systemPath);
        }
        return true;
    }
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports) {
        SerialDeviceInfo info;
        info.systemPath = port.systemLocation().toStdString();
        info.description = port.description().toStdString();
        info.manufacturer = port.manufacturer().toStdString();
        info.serialNumber = port.serialNumber().toStdString();
        info.vendorId = port.hasVendorIdentifier() ? port.vendorIdentifier() : 0;
        info.productId = port.hasProductIdentifier() ? port.productIdentifier() : 0;
        sysfs_.complete(port.portName().toStdString(), info);
        info.stablePath = stablePathOf(info.systemPath);
        devices.push_back(std::move(info));
    }
    return true;
}

} // namespace corvane
