#include "platform/qt/QtSerialDeviceEnumerator.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace corvane {
namespace {

namespace fs = std::filesystem;

// A small copy of the sysfs layout of a dual-interface FTDI chip and a CDC device.
class SysfsTree : public ::testing::Test {
protected:
    void SetUp() override {
        fs::path usb = root / "devices/usb1/1-1";
        write(usb / "bNumInterfaces", " 2\n");
        write(usb / "1-1:1.1/bInterfaceNumber", "01\n");
        fs::create_directories(usb / "1-1:1.1/ttyUSB1");
        write(usb / "1-1:1.0/bInterfaceNumber", "00\n");
        fs::create_directories(usb / "1-1:1.0/ttyUSB0");
        fs::create_directories(root / "class/tty/ttyUSB1");
        fs::create_symlink(usb / "1-1:1.1/ttyUSB1", root / "class/tty/ttyUSB1/device");
        fs::create_directories(root / "class/tty/ttyS0");
        fs::create_directories(root / "by-id");
        fs::create_directories(root / "dev");
        write(root / "dev/ttyUSB1", "");
        fs::create_symlink(root / "dev/ttyUSB1", root / "by-id/usb-FTDI_Dual_RS232-if01-port0");
    }
    static void write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    test::TempFolder folder;
    fs::path root = folder.path();
};

TEST_F(SysfsTree, StablePathFromById) {
    QtSerialDeviceEnumerator enumerator(root.string(), (root / "by-id").string());
    EXPECT_EQ(enumerator.stablePathOf((root / "dev/ttyUSB1").string()),
              (root / "by-id/usb-FTDI_Dual_RS232-if01-port0").string());
    EXPECT_EQ(enumerator.stablePathOf((root / "dev/ttyUSB7").string()), "");
    QtSerialDeviceEnumerator noById(root.string(), (root / "missing").string());
    EXPECT_EQ(noById.stablePathOf((root / "dev/ttyUSB1").string()), "");
}

TEST(QtSerialDeviceEnumerator, ListsTheSystemWithoutFailing) {
    QtSerialDeviceEnumerator enumerator(std::nullopt);
    std::vector<SerialDeviceInfo> devices;
    EXPECT_TRUE(enumerator.listDevices(devices));
    for (const auto& d : devices) {
        EXPECT_FALSE(d.systemPath.empty());
    }
}

} // namespace
} // namespace corvane
