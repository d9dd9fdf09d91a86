#include "platform/serial/PortMap.h"

#include "platform/SerialFunctionLibrary.h"

#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>

namespace corvane {

EnvironmentReader processEnvironment() {
    return [](const std::string& name) -> std::optional<std::string> {
        const char* value = std::getenv(name.c_str());
        if (value == nullptr) {
            return std::nullopt;
        }
        return std::string(value);
    };
}

PortMap::PortMap(SettingsStore& store, SerialDeviceEnumerator* enumerator, EnvironmentReader environment)
    : store_(store), enumerator_(enumerator), environment_(std::move(environment)) {}

std::string PortMap::storedPath(int comNumber) const {
    auto value = store_.value(kSection, keyFor(comNumber));
    if (!value) {
        return {};
    }
    // Surrounding blanks of a hand-edited entry are no part of the path.
    std::string path = *value;
    auto first = path.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    auto last = path.find_last_not_of(" \t\r\n");
    return path.substr(first, last - first + 1);
}

std::string PortMap::devicePath(int comNumber) const {
    if (comNumber < 1 || comNumber > kMaxComNumber) {
        return {};
    }
    if (environment_) {
        auto value = environment_("CORVANE_" + keyFor(comNumber));
        if (value && !value->empty()) {
            return *value;
        }
    }
    return storedPath(comNumber);
}

bool PortMap::isLoopback(int comNumber) const {
    return comNumber == kMaxComNumber && devicePath(comNumber).empty();
}

bool PortMap::samePath(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) {
        return false;
    }
    if (a == b) {
        return true;
    }
    std::error_code ea;
    std::error_code eb;
    auto ca = std::filesystem::canonical(a, ea);
    auto cb = std::filesystem::canonical(b, eb);
    return !ea && !eb && ca == cb;
}

int PortMap::assignNewDevices() {
    if (enumerator_ == nullptr) {
        return 0;
    }
    std::vector<SerialDeviceInfo> devices;
    if (!enumerator_->listDevices(devices)) {
        return 0;
    }
    std::vector<std::string> mapped(kMaxComNumber + 1);
    for (int n = 1; n <= kMaxComNumber; ++n) {
        mapped[n] = devicePath(n);
    }
    int assigned = 0;
    for (const auto& device : devices) {
        bool known = false;
        for (int n = 1; n <= kMaxComNumber && !known; ++n) {
            known = samePath(mapped[n], device.systemPath) ||
                    (!device.stablePath.empty() && samePath(mapped[n], device.stablePath));
        }
        if (known) {
            continue;
        }
        // COM256 stays the loopback port unless the user maps it himself.
        for (int n = 1; n < kMaxComNumber; ++n) {
            if (mapped[n].empty()) {
                std::string path = device.stablePath.empty() ? device.systemPath : device.stablePath;
                store_.setValue(kSection, keyFor(n), path);
                mapped[n] = path;
                ++assigned;
                break;
            }
        }
    }
    if (assigned > 0) {
        store_.sync();
    }
    return assigned;
}

std::vector<PortListEntry> PortMap::listPorts() {
    assignNewDevices();
    std::vector<SerialDeviceInfo> devices;
    if (enumerator_ != nullptr) {
        enumerator_->listDevices(devices);
    }
    std::vector<PortListEntry> result;
    for (int n = 1; n <= kMaxComNumber; ++n) {
        PortListEntry entry;
        entry.comNumber = n;
        entry.devicePath = devicePath(n);
        if (entry.devicePath.empty()) {
            if (n != kMaxComNumber) {
                continue;
            }
            entry.loopback = true;
            entry.description = "loopback";
            entry.displayText = keyFor(n) + "  (loopback)";
            result.push_back(entry);
            continue;
        }
        for (const auto& device : devices) {
            if (samePath(entry.devicePath, device.systemPath) ||
                samePath(entry.devicePath, device.stablePath)) {
                entry.description = device.description;
                entry.present = true;
                entry.systemPath = device.systemPath;
                entry.stablePath = device.stablePath;
                break;
            }
        }
        std::error_code missing;
        if (!entry.present && std::filesystem::exists(entry.devicePath, missing)) {
            // A device the system doesn't list as a serial port (a pseudo-terminal, a socat link).
            entry.present = true;
            entry.systemPath = entry.devicePath;
        }
        entry.displayText = keyFor(n) + "  (" + (entry.present ? entry.systemPath : entry.devicePath);
        if (!entry.description.empty()) {
            entry.displayText += ", " + entry.description;
        }
        if (!entry.stablePath.empty() && entry.stablePath != entry.systemPath) {
            entry.displayText += ", " + entry.stablePath;
        }
        if (!entry.present) {
            entry.displayText += ", not present";
        }
        entry.displayText += ")";
        result.push_back(entry);
    }
    return result;
}

} // namespace corvane
