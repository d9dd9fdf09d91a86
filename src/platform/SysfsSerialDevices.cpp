#include "platform/SysfsSerialDevices.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace corvane {

namespace fs = std::filesystem;

namespace {

// The first line of a sysfs attribute, without its line end; nothing when it can't be read.
std::optional<std::string> readLine(const fs::path& file) {
    std::ifstream in(file);
    std::string text;
    if (!in || !std::getline(in, text)) {
        return std::nullopt;
    }
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

bool readNumber(const fs::path& file, int& value, int base) {
    std::optional<std::string> text = readLine(file);
    if (!text) {
        return false;
    }
    const char* begin = text->c_str();
    char* end = nullptr;
    long number = std::strtol(begin, &end, base);
    if (end == begin || number < 0 || number > 0xFFFF) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

bool insideTree(const fs::path& directory, const fs::path& tree) {
    return std::mismatch(tree.begin(), tree.end(), directory.begin(), directory.end()).first == tree.end();
}

void readUsbDevice(const fs::path& device, SerialDeviceInfo& info) {
    int number = 0;
    if (info.vendorId == 0 && readNumber(device / "idVendor", number, 16)) {
        info.vendorId = number;
    }
    if (info.productId == 0 && readNumber(device / "idProduct", number, 16)) {
        info.productId = number;
    }
    info.usbProduct = readLine(device / "product").value_or("");
    if (info.description.empty()) {
        info.description = info.usbProduct;
    }
    if (info.manufacturer.empty()) {
        info.manufacturer = readLine(device / "manufacturer").value_or("");
    }
    if (info.serialNumber.empty()) {
        info.serialNumber = readLine(device / "serial").value_or("");
    }
}

} // namespace

std::optional<std::string> SysfsSerialDevices::treeFromEnvironment() {
    const char* value = std::getenv(kRootVariable);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

void SysfsSerialDevices::complete(const std::string& ttyName, SerialDeviceInfo& info) const {
    std::error_code error;
    const fs::path tree = fs::canonical(root_, error);
    if (error) {
        return;
    }
    fs::path device = fs::canonical(fs::path(root_) / "class/tty" / ttyName / "device", error);
    if (error) {
        return;
    }
    // Up from the tty to its USB interface (the folder with bInterfaceNumber), whose parent is the
    // USB device; never above the tree's root.
    for (fs::path dir = device; insideTree(dir, tree) && dir != tree; dir = dir.parent_path()) {
        int number = 0;
        if (readNumber(dir / "bInterfaceNumber", number, 16)) {
            info.interfaceNumber = number;
            int count = 0;
            if (readNumber(dir.parent_path() / "bNumInterfaces", count, 10)) {
                info.interfaceCount = count;
            }
            readUsbDevice(dir.parent_path(), info);
            return;
        }
    }
}

std::string SysfsSerialDevices::devicePath(const std::string& ttyName) const {
    std::ifstream in(fs::path(root_) / "class/tty" / ttyName / "uevent");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("DEVNAME=", 0) == 0 && line.size() > 8) {
            std::string name = line.substr(8);
            return name.front() == '/' ? name : "/dev/" + name;
        }
    }
    return "/dev/" + ttyName;
}

bool SysfsSerialDevices::list(std::vector<SerialDeviceInfo>& devices) const {
    devices.clear();
    std::error_code error;
    fs::directory_iterator entries(fs::path(root_) / "class/tty", error);
    if (error) {
        return false;
    }
    std::vector<std::string> names;
    for (fs::directory_iterator end; entries != end; entries.increment(error)) {
        if (error) {
            break;
        }
        std::error_code linkError;
        if (fs::exists(entries->path() / "device", linkError)) {
            names.push_back(entries->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        SerialDeviceInfo info;
        info.systemPath = devicePath(name);
        complete(name, info);
        devices.push_back(std::move(info));
    }
    return true;
}

} // namespace corvane
