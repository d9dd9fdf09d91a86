#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace corvane::test {

// A copy of the sysfs layout of a dual-interface FTDI chip (product "Dual RS232", the kind a USB
// monitoring tap is built on) in a folder of the test's, laid out as the usb-serial driver does
// it; the ttys of its two interfaces are the given device nodes (pseudo-terminals in the tests).
// Handed to the programs through CORVANE_SYSFS_ROOT.
class SysfsTree {
public:
    SysfsTree(const std::filesystem::path& root, const std::vector<std::string>& nodes) : root_(root) {
        namespace fs = std::filesystem;
        fs::path usb = root / "devices/pci0000:00/0000:00:14.0/usb1/1-2";
        write(usb / "idVendor", "0403\n");
        write(usb / "idProduct", "6010\n");
        write(usb / "product", "Dual RS232\n");
        write(usb / "manufacturer", "FTDI\n");
        write(usb / "serial", "FT5TAP01\n");
        write(usb / "bNumInterfaces", " 2\n");
        fs::create_directories(root / "class/tty");
        for (std::size_t index = 0; index < nodes.size(); ++index) {
            const std::string number = std::to_string(index);
            const std::string name = "ttyUSB" + number;
            fs::path interface = usb / ("1-2:1." + number);
            write(interface / "bInterfaceNumber", "0" + number + "\n");
            fs::path tty = interface / name / "tty" / name;
            std::string node = nodes[index].rfind("/dev/", 0) == 0 ? nodes[index].substr(5) : nodes[index];
            write(tty / "uevent", "MAJOR=188\nMINOR=" + number + "\nDEVNAME=" + node + "\n");
            fs::create_directory_symlink("../../../" + name, tty / "device");
            fs::create_directory_symlink(tty, root / "class/tty" / name);
        }
    }

    const std::filesystem::path& root() const { return root_; }

    static void write(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }

private:
    std::filesystem::path root_;
};

} // namespace corvane::test
