#include "communication/MdTapSupport.h"
#include "platform/SerialFunctionLibrary.h"
#include "platform/fakes/FakeSerialDeviceEnumerator.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(TapSupport, SortsDevicesIntoSidesAndTapDevices) {
    FakeFtdiDeviceList list;
    list.devices = {{"Dual RS232 A", "FT1A", "/dev/ttyUSB0"}, {"Dual RS232 B", "FT1B", "/dev/ttyUSB1"},
                    {"Dual RS232 A", "FT2A", "/dev/ttyUSB2"}, {"FT245R USB FIFO", "PRO1", "/dev/ttyUSB3"},
                    {"dual rs232 a", "X", "/dev/ttyUSB4"},    {"FT232R USB UART", "Y", "/dev/ttyUSB5"}};
    MdTapSupport taps(&list, nullptr);
    EXPECT_EQ(taps.enumerate(), 1) << "two A sides and one B side make one complete tap";
    EXPECT_EQ(taps.deviceCount(), 6);
    EXPECT_EQ(taps.sideA(), (std::vector<int>{0, 2})) << "case matters";
    EXPECT_EQ(taps.sideB(), std::vector<int>{1});
    EXPECT_EQ(taps.tapDevicePorts(), (std::vector<int>{6, 7}));
    EXPECT_EQ(taps.serialNumbers()[1], "FT1B");
    EXPECT_EQ(taps.lastMessage(), "");

    EXPECT_EQ(taps.deviceIndexOfTap(0), 0);
    EXPECT_EQ(taps.deviceIndexOfTap(1), 1);
    EXPECT_EQ(taps.deviceIndexOfTap(2), -1);
    EXPECT_EQ(taps.deviceIndexOfTap(-1), -1);
    EXPECT_EQ(taps.tapDevicePath(1), "/dev/ttyUSB1");
    EXPECT_EQ(taps.tapDevicePath(3), "");
}

TEST(TapSupport, DescriptionsComeFromTweaks) {
    FakeFtdiDeviceList list;
    list.devices = {{"Left", "1", ""}, {"Right", "2", ""}, {"Dual RS232 A", "3", ""}};
    MemorySettingsStore settings;
    settings.setValue("Tweaks", "FTDITapDescriptionA", "Left");
    settings.setValue("Tweaks", "FTDITapDescriptionB", "Right");
    MdTapSupport taps(&list, &settings);
    EXPECT_EQ(taps.enumerate(), 1);
    EXPECT_EQ(taps.sideA(), std::vector<int>{0});
    EXPECT_EQ(taps.descriptionPro(), "FT245R USB FIFO");
    // Read afresh on every enumeration.
    settings.remove("Tweaks", "FTDITapDescriptionA");
    EXPECT_EQ(taps.enumerate(), 1);
    EXPECT_EQ(taps.sideA(), std::vector<int>{2});
}

TEST(TapSupport, DriverFailuresAreRecorded) {
    MdTapSupport none(nullptr, nullptr);
    EXPECT_EQ(none.enumerate(), 0);
    EXPECT_EQ(none.lastMessage(), "GetFTDeviceCount no FTDI drivers installed");

    FakeFtdiDeviceList list;
    list.devices = {{"Dual RS232 A", "1", ""}, {"Dual RS232 B", "2", ""}};
    list.countStatus = 4;
    MdTapSupport taps(&list, nullptr);
    EXPECT_EQ(taps.enumerate(), 0);
    EXPECT_EQ(taps.deviceCount(), 0);
    EXPECT_EQ(taps.lastMessage(), "GetFTDeviceCount General IO Error");

    list.countStatus = kFtOk;
    list.descriptionFailures[1] = 2;
    list.serialFailures[0] = 3;
    EXPECT_EQ(taps.enumerate(), 0);
    EXPECT_EQ(taps.descriptions()[1], "GetFTDeviceDescription Device Not Found");
    EXPECT_EQ(taps.serialNumbers()[0], "");
    EXPECT_EQ(taps.lastMessage(), "GetFTDeviceDescription Device Not Found") << "the last failure counts";
}

TEST(TapSupport, TextsAreCutAtNulAndFiftyCharacters) {
    FakeFtdiDeviceList list;
    list.devices = {{std::string("Dual RS232 A\0junk", 17), std::string(80, 'S'), ""}};
    MdTapSupport taps(&list, nullptr);
    taps.enumerate();
    EXPECT_EQ(taps.descriptions()[0], "Dual RS232 A");
    EXPECT_EQ(taps.sideA(), std::vector<int>{0});
    EXPECT_EQ(taps.serialNumbers()[0].size(), 50u);
}

TEST(TapSupport, StatusTexts) {
    EXPECT_EQ(ftdiStatusText(1), "Invalid Handle");
    EXPECT_EQ(ftdiStatusText(7), "Invalid Baud Rate");
    EXPECT_EQ(ftdiStatusText(18), "other error");
    EXPECT_EQ(ftdiStatusText(10001), "no FTDI drivers installed");
    EXPECT_EQ(ftdiStatusText(0), "");
    EXPECT_EQ(ftdiStatusText(19), "");
}

TEST(FtdiDeviceTable, BuiltFromTheSerialDevicesOfTheSystem) {
    FakeSerialDeviceEnumerator system;
    SerialDeviceInfo a{"/dev/ttyUSB1",
                       "/dev/serial/by-id/usb-FTDI_Dual_RS232-if00-port0",
                       "Dual RS232",
                       "FTDI",
                       "FT9XYZ",
                       0x0403,
                       0x6010,
                       0,
                       2};
    SerialDeviceInfo b = a;
    b.systemPath = "/dev/ttyUSB2";
    b.stablePath.clear();
    b.interfaceNumber = 1;
    SerialDeviceInfo single{"/dev/ttyUSB0", "", "FT232R USB UART", "FTDI", "A10", 0x0403, 0x6001, 0, 1};
    SerialDeviceInfo other{"/dev/ttyACM0", "", "Arduino", "Arduino", "1", 0x2341, 0x43, 0, 2};
    system.devices = {b, other, single, a};
    SerialDeviceFtdiList list(system);
    MdTapSupport taps(&list, nullptr);
    EXPECT_EQ(taps.enumerate(), 1);
    EXPECT_EQ(taps.descriptions(),
              (std::vector<std::string>{"FT232R USB UART", "Dual RS232 A", "Dual RS232 B"}));
    EXPECT_EQ(taps.serialNumbers(), (std::vector<std::string>{"A10", "FT9XYZA", "FT9XYZB"}));
    EXPECT_EQ(taps.tapDevicePath(0), "/dev/serial/by-id/usb-FTDI_Dual_RS232-if00-port0");
    EXPECT_EQ(taps.tapDevicePath(1), "/dev/ttyUSB2");

    system.reachable = false;
    EXPECT_EQ(taps.enumerate(), 0);
    EXPECT_EQ(taps.lastMessage(), "GetFTDeviceCount no FTDI drivers installed");
}

TEST(FtdiDeviceTable, TheChipsOwnProductStringNamesTheSides) {
    // A hardware database may describe the chip in words of its own; the driver shows what the
    // chip says of itself.
    FakeSerialDeviceEnumerator system;
    SerialDeviceInfo a;
    a.systemPath = "/dev/ttyUSB0";
    a.description = "FT2232C/D/H Dual UART/FIFO IC";
    a.usbProduct = "Dual RS232";
    a.serialNumber = "FT1";
    a.vendorId = 0x0403;
    a.interfaceNumber = 0;
    a.interfaceCount = 2;
    SerialDeviceInfo b = a;
    b.systemPath = "/dev/ttyUSB1";
    b.interfaceNumber = 1;
    system.devices = {a, b};
    SerialDeviceFtdiList list(system);
    MdTapSupport taps(&list, nullptr);
    EXPECT_EQ(taps.enumerate(), 1);
    EXPECT_EQ(taps.descriptions(), (std::vector<std::string>{"Dual RS232 A", "Dual RS232 B"}));
}

TEST(TapSupport, FindingATapGivesTheMonitorResultOfItsOpening) {
    FakeFtdiDeviceList list;
    list.devices = {{"Dual RS232 A", "1A", "/dev/ttyUSB0"}, {"Dual RS232 B", "1B", "/dev/ttyUSB1"}};
    MdTapSupport taps(&list, nullptr);
    std::string path = "left over";
    EXPECT_EQ(taps.findTapDevice(1, path), kMonitorOk);
    EXPECT_EQ(path, "/dev/ttyUSB1");
    EXPECT_EQ(taps.findTapDevice(2, path), kMonitorNotFound);
    EXPECT_EQ(path, "");
    list.devices[1].path.clear();
    EXPECT_EQ(taps.findTapDevice(1, path), kMonitorNotFound) << "a side without a device node";

    list.countStatus = kFtIoError;
    EXPECT_EQ(taps.findTapDevice(0, path), kFtIoError) << "reported as an FTDI device error";
    list.countStatus = kFtNoDriver;
    EXPECT_EQ(taps.findTapDevice(0, path), kMonitorNoDrivers);
    MdTapSupport none(nullptr, nullptr);
    EXPECT_EQ(none.findTapDevice(0, path), kMonitorNoDrivers);
}

} // namespace
} // namespace corvane
