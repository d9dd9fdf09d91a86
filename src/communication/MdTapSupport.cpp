#include "communication/MdTapSupport.h"

#include "platform/SerialFunctionLibrary.h"

#include <algorithm>

namespace corvane {

std::string ftdiStatusText(int status) {
    switch (status) {
    case 1:
        return "Invalid Handle";
    case 2:
        return "Device Not Found";
    case 3:
        return "Device Not Opened";
    case 4:
        return "General IO Error";
    case 5:
        return "Insufficient Resources";
    case 6:
        return "Invalid Parameter";
    case 7:
        return "Invalid Baud Rate";
    case 8:
        return "Device not opened for Erase";
    case 9:
        return "Device not opened for Write";
    case 10:
        return "Failed to write Device";
    case 11:
        return "EEPROM read failed";
    case 12:
        return "EEPROM write failed";
    case 13:
        return "EEPROM erase failed";
    case 14:
        return "EEPROM not present";
    case 15:
        return "EEPROM not programmed";
    case 16:
        return "Invalid Arguments";
    case 17:
        return "not supported";
    case 18:
        return "other error";
    case 10001:
        return "no FTDI drivers installed";
    default:
        return {};
    }
}

MdTapSupport::MdTapSupport(FtdiDeviceList* devices, const SettingsStore* settings)
    : devices_(devices), settings_(settings) {}

std::string MdTapSupport::cutText(const std::string& text) {
    std::string result = text.substr(0, text.find('\0'));
    if (result.size() > kMaxTextLength) {
        result.resize(kMaxTextLength);
    }
    return result;
}

void MdTapSupport::record(const std::string& operation, int status) {
    lastMessage_ = operation + " " + ftdiStatusText(status);
}

int MdTapSupport::completeTaps() const {
    return static_cast<int>(std::min(sideA_.size(), sideB_.size()));
}

int MdTapSupport::enumerate() {
    if (settings_ != nullptr) {
        descriptionA_ = settings_->valueOr(kTweaksSection, "FTDITapDescriptionA", "Dual RS232 A");
        descriptionB_ = settings_->valueOr(kTweaksSection, "FTDITapDescriptionB", "Dual RS232 B");
        descriptionPro_ = settings_->valueOr(kTweaksSection, "FTDITapDescriptionPro", "FT245R USB FIFO");
    }
    descriptions_.clear();
    serialNumbers_.clear();
    sideA_.clear();
    sideB_.clear();
    tapDevicePorts_.clear();

    int count = 0;
    int status = devices_ == nullptr ? kFtNoDriver : devices_->listDeviceCount(count);
    countStatus_ = status;
    if (status != kFtOk) {
        record("GetFTDeviceCount", status);
        return 0;
    }
    count = std::max(count, 0);
    for (int index = 0; index < count; ++index) {
        std::string description;
        status = devices_->listDescription(index, description);
        if (status != kFtOk) {
            record("GetFTDeviceDescription", status);
            description = lastMessage_;
        }
        description = cutText(description);
        std::string serial;
        status = devices_->listSerialNumber(index, serial);
        if (status != kFtOk) {
            record("GetFTDeviceSerialNo", status);
            serial.clear();
        }
        descriptions_.push_back(description);
        serialNumbers_.push_back(cutText(serial));
        if (description == descriptionA_) {
            sideA_.push_back(index);
        } else if (description == descriptionB_) {
            sideB_.push_back(index);
        } else if (description == descriptionPro_) {
            tapDevicePorts_.push_back(2 * index);
            tapDevicePorts_.push_back(2 * index + 1);
        }
    }
    return completeTaps();
}

int MdTapSupport::deviceIndexOfTap(int tapNumber) const {
    if (tapNumber < 0) {
        return -1;
    }
    std::size_t k = static_cast<std::size_t>(tapNumber / 2);
    if (static_cast<int>(k) >= completeTaps()) {
        return -1;
    }
    return tapNumber % 2 == 0 ? sideA_[k] : sideB_[k];
}

std::string MdTapSupport::tapDevicePath(int tapNumber) {
    enumerate();
    int index = deviceIndexOfTap(tapNumber);
    if (index < 0 || devices_ == nullptr) {
        return {};
    }
    return devices_->devicePath(index);
}

int MdTapSupport::findTapDevice(int tapNumber, std::string& path) {
    path.clear();
    enumerate();
    if (countStatus_ == kFtNoDriver) {
        return kMonitorNoDrivers;
    }
    if (countStatus_ > kMonitorNotFound) {
        return countStatus_;
    }
    int index = deviceIndexOfTap(tapNumber);
    if (index >= 0) {
        path = devices_->devicePath(index);
    }
    return path.empty() ? kMonitorNotFound : kMonitorOk;
}

} // namespace corvane
