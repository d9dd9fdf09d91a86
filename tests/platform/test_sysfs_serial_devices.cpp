// The serial devices as sysfs shows them, and the monitoring taps found among them, on a copy of
// the sysfs layout of a dual-interface FTDI chip made in a temporary folder.
#include "communication/MdTapSupport.h"
#include "platform/FtdiDeviceList.h"
#include "platform/SerialFunctionLibrary.h"
#include "platform/SysfsSerialDevices.h"
#include "platform/SysfsTree.h"
#include "platform/qt/QtSerialDeviceEnumerator.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace corvane {
namespace {

namespace fs = std::filesystem;

class SysfsSerialDevicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = folder.path() / "sys";
        test::SysfsTree tree(root, {"/dev/pts/41", "pts/42"});
        // A serial port on the main board and a virtual console: not USB, and no device at all.
        fs::path board = root / "devices/platform/serial8250/tty/ttyS0";
        test::SysfsTree::write(board / "uevent", "MAJOR=4\nMINOR=64\nDEVNAME=ttyS0\n");
        fs::create_directory_symlink("../../../serial8250", board / "device");
        fs::create_directory_symlink(board, root / "class/tty/ttyS0");
        test::SysfsTree::write(root / "devices/virtual/tty/tty0/uevent", "DEVNAME=tty0\n");
        fs::create_directory_symlink(root / "devices/virtual/tty/tty0", root / "class/tty/tty0");
    }

    test::TempFolder folder;
    fs::path root;
};

TEST_F(SysfsSerialDevicesTest, ListsEveryTtyWithADeviceAndItsUsbAttributes) {
    SysfsSerialDevices sysfs(root.string());
    std::vector<SerialDeviceInfo> devices;
    ASSERT_TRUE(sysfs.list(devices));
    ASSERT_EQ(devices.size(), 3u) << "the virtual console has no device";
    EXPECT_EQ(devices[0].systemPath, "/dev/ttyS0");
    EXPECT_EQ(devices[0].vendorId, 0);
    EXPECT_EQ(devices[0].interfaceNumber, -1) << "not a USB device";
    const SerialDeviceInfo& a = devices[1];
    EXPECT_EQ(a.systemPath, "/dev/pts/41") << "the node the uevent names";
    EXPECT_EQ(a.vendorId, 0x0403);
    EXPECT_EQ(a.productId, 0x6010);
    EXPECT_EQ(a.description, "Dual RS232");
    EXPECT_EQ(a.usbProduct, "Dual RS232");
    EXPECT_EQ(a.manufacturer, "FTDI");
    EXPECT_EQ(a.serialNumber, "FT5TAP01");
    EXPECT_EQ(a.interfaceNumber, 0);
    EXPECT_EQ(a.interfaceCount, 2);
    EXPECT_EQ(devices[2].systemPath, "/dev/pts/42");
    EXPECT_EQ(devices[2].interfaceNumber, 1);

    std::vector<SerialDeviceInfo> none;
    EXPECT_FALSE(SysfsSerialDevices((root / "missing").string()).list(none));
    EXPECT_TRUE(none.empty());
}

TEST_F(SysfsSerialDevicesTest, CompletingKeepsWhatTheSystemSaidAndAddsTheChipsOwnProductString) {
    SysfsSerialDevices sysfs(root.string());
    SerialDeviceInfo info;
    info.description = "FT2232C/D/H Dual UART/FIFO IC";
    info.serialNumber = "FT5TAP01";
    sysfs.complete("ttyUSB1", info);
    EXPECT_EQ(info.description, "FT2232C/D/H Dual UART/FIFO IC");
    EXPECT_EQ(info.usbProduct, "Dual RS232");
    EXPECT_EQ(info.interfaceNumber, 1);
    EXPECT_EQ(info.interfaceCount, 2);

    SerialDeviceInfo unknown;
    sysfs.complete("ttyUSB9", unknown);
    EXPECT_EQ(unknown.interfaceNumber, -1);
    EXPECT_EQ(unknown.usbProduct, "");
    EXPECT_EQ(sysfs.devicePath("ttyUSB9"), "/dev/ttyUSB9") << "no uevent: the tty's own name";
}

TEST_F(SysfsSerialDevicesTest, TheTapsOfTheTreeFindTheirTtys) {
    QtSerialDeviceEnumerator enumerator(root.string());
    SerialDeviceFtdiList ftdi(enumerator);
    MdTapSupport taps(&ftdi, nullptr);
    EXPECT_EQ(taps.enumerate(), 1);
    EXPECT_EQ(taps.descriptions(), (std::vector<std::string>{"Dual RS232 A", "Dual RS232 B"}));
    EXPECT_EQ(taps.serialNumbers(), (std::vector<std::string>{"FT5TAP01A", "FT5TAP01B"}));
    std::string path;
    EXPECT_EQ(taps.findTapDevice(0, path), kMonitorOk);
    EXPECT_EQ(path, "/dev/pts/41");
    EXPECT_EQ(taps.findTapDevice(1, path), kMonitorOk);
    EXPECT_EQ(path, "/dev/pts/42");
    EXPECT_EQ(taps.findTapDevice(2, path), kMonitorNotFound);

    QtSerialDeviceEnumerator missing((root / "missing").string());
    SerialDeviceFtdiList noList(missing);
    MdTapSupport noTaps(&noList, nullptr);
    EXPECT_EQ(noTaps.findTapDevice(0, path), kMonitorNoDrivers) << "a tree that can't be read";
}

TEST_F(SysfsSerialDevicesTest, TheEnvironmentNamesTheTree) {
    unsetenv(SysfsSerialDevices::kRootVariable);
    EXPECT_FALSE(SysfsSerialDevices::treeFromEnvironment().has_value()) << "the system's own /sys";
    setenv(SysfsSerialDevices::kRootVariable, "", 1);
    EXPECT_FALSE(SysfsSerialDevices::treeFromEnvironment().has_value());
    setenv(SysfsSerialDevices::kRootVariable, root.c_str(), 1);
    QtSerialDeviceEnumerator enumerator;
    unsetenv(SysfsSerialDevices::kRootVariable);
    std::vector<SerialDeviceInfo> devices;
    ASSERT_TRUE(enumerator.listDevices(devices));
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[1].systemPath, "/dev/pts/41");
}

} // namespace
} // namespace corvane
