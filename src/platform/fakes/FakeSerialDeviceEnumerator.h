#pragma once

#include "platform/FtdiDeviceList.h"
#include "platform/SerialDeviceEnumerator.h"

#include <map>
#include <vector>

namespace corvane {

// A fixed table of serial devices.
class FakeSerialDeviceEnumerator : public SerialDeviceEnumerator {
public:
    bool listDevices(std::vector<SerialDeviceInfo>& list) override {
        ++calls;
        list = devices;
        return reachable;
    }
    std::vector<SerialDeviceInfo> devices;
    bool reachable = true;
    int calls = 0;
};

// An FTDI device list with scripted failures.
class FakeFtdiDeviceList : public FtdiDeviceList {
public:
    struct Device {
        std::string description;
        std::string serialNumber;
        std::string path;
    };
    int listDeviceCount(int& count) override {
        count = static_cast<int>(devices.size());
        return countStatus;
    }
    int listDescription(int index, std::string& text) override {
        auto failure = descriptionFailures.find(index);
        if (failure != descriptionFailures.end()) {
            return failure->second;
        }
        text = devices.at(static_cast<std::size_t>(index)).description;
        return kFtOk;
    }
    int listSerialNumber(int index, std::string& text) override {
        auto failure = serialFailures.find(index);
        if (failure != serialFailures.end()) {
            return failure->second;
        }
        text = devices.at(static_cast<std::size_t>(index)).serialNumber;
        return kFtOk;
    }
    std::string devicePath(int index) override {
        return index >= 0 && index < static_cast<int>(devices.size())
                   ? devices[static_cast<std::size_t>(index)].path
                   : "";
    }
    std::vector<Device> devices;
    int countStatus = kFtOk;
    std::map<int, int> descriptionFailures;
    std::map<int, int> serialFailures;
};

} // namespace corvane
