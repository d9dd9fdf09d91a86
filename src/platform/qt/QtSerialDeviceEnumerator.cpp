#include "platform/qt/QtSerialDeviceEnumerator.h"

#include <QSerialPortInfo>

#include <filesystem>
#include <fstream>
#include <system_error>

namespace corvane {

namespace fs = std::filesystem;

namespace {

bool readNumber(const fs::path& file, int& value, int base) {
    std::ifstream in(file);
    std::string text;
    if (!(in >> text)) {
        return false;
    }
    try {
        value = std::stoi(text, nullptr, base);
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

QtSerialDeviceEnumerator::QtSerialDeviceEnumerator(std::string sysClassTty, std::string byIdDirectory)
    : sysClassTty_(std::move(sysClassTty)), byIdDirectory_(std::move(byIdDirectory)) {}

void QtSerialDeviceEnumerator::readUsbInterface(const std::string& ttyName, SerialDeviceInfo& info) const {
    std::error_code ec;
    fs::path device = fs::canonical(fs::path(sysClassTty_) / ttyName / "device", ec);
    if (ec) {
        return;
    }
    // Walk up to the USB interface (the folder with bInterfaceNumber); its parent is the device.
    for (fs::path dir = device; !dir.empty() && dir != dir.root_path(); dir = dir.parent_path()) {
        int number = 0;
        if (readNumber(dir / "bInterfaceNumber", number, 16)) {
            info.interfaceNumber = number;
            int count = 0;
            if (readNumber(dir.parent_path() / "bNumInterfaces", count, 10)) {
                info.interfaceCount = count;
            }
            return;
        }
    }
}

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
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports) {
        SerialDeviceInfo info;
        info.systemPath = port.systemLocation().toStdString();
        info.description = port.description().toStdString();
        info.manufacturer = port.manufacturer().toStdString();
        info.serialNumber = port.serialNumber().toStdString();
        info.vendorId = port.hasVendorIdentifier() ? port.vendorIdentifier() : 0;
        info.productId = port.hasProductIdentifier() ? port.productIdentifier() : 0;
        readUsbInterface(port.portName().toStdString(), info);
        info.stablePath = stablePathOf(info.systemPath);
        devices.push_back(std::move(info));
    }
    return true;
}

} // namespace corvane
