#pragma once

#include "platform/FtdiDeviceList.h"
#include "platform/SettingsStore.h"

#include <string>
#include <vector>

namespace corvane {

// The text of an FTDI status number; empty for unknown numbers.
std::string ftdiStatusText(int status);

// USB monitoring taps: lists the FTDI devices, sorts them by their description into the A and B
// sides of monitoring taps and into dual-port tap devices, and records the last driver failure.
// TAP 2k and 2k+1 are the A and B side of complete tap k.
class MdTapSupport {
public:
    static constexpr const char* kTweaksSection = "Tweaks";
    static constexpr std::size_t kMaxTextLength = 50;

    // Either argument may be missing: no device list means no drivers, no settings the defaults.
    MdTapSupport(FtdiDeviceList* devices, const SettingsStore* settings);

    // Lists the devices afresh; returns the number of complete taps.
    int enumerate();

    int deviceCount() const { return static_cast<int>(descriptions_.size()); }
    const std::vector<std::string>& descriptions() const { return descriptions_; }
    const std::vector<std::string>& serialNumbers() const { return serialNumbers_; }
    const std::vector<int>& sideA() const { return sideA_; }
    const std::vector<int>& sideB() const { return sideB_; }
    const std::vector<int>& tapDevicePorts() const { return tapDevicePorts_; }
    int completeTaps() const;
    const std::string& lastMessage() const { return lastMessage_; }
    const std::string& descriptionA() const { return descriptionA_; }
    const std::string& descriptionB() const { return descriptionB_; }
    const std::string& descriptionPro() const { return descriptionPro_; }

    // The device index of a tap number after enumerate(), -1 when there is none.
    int deviceIndexOfTap(int tapNumber) const;
    // The system device of a tap number (enumerates afresh), empty when there is none.
    std::string tapDevicePath(int tapNumber);
    // Where a tap is, after a fresh enumeration, as the library's monitor opening reports it:
    // kMonitorOk with the device in path; kMonitorNoDrivers when the devices can't be listed at
    // all; the FTDI status of another failed listing; kMonitorNotFound when there is no such tap.
    int findTapDevice(int tapNumber, std::string& path);

private:
    static std::string cutText(const std::string& text);
    void record(const std::string& operation, int status);

    FtdiDeviceList* devices_;
    const SettingsStore* settings_;
    std::string descriptionA_ = "Dual RS232 A";
    std::string descriptionB_ = "Dual RS232 B";
    std::string descriptionPro_ = "FT245R USB FIFO";
    std::vector<std::string> descriptions_;
    std::vector<std::string> serialNumbers_;
    std::vector<int> sideA_;
    std::vector<int> sideB_;
    std::vector<int> tapDevicePorts_;
    std::string lastMessage_;
    int countStatus_ = kFtOk;
};

} // namespace corvane
