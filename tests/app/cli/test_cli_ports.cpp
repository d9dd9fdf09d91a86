// corvane-cli --ports: the listing of the COM names, the store that keeps the numbers of new
// adapters, and the program run as a user runs it.
#include "CliOptions.h"
#include "CliPorts.h"

#include "support/ProgramOutput.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace corvane::cli {
namespace {

PortListEntry entry(int number, std::string mapped, std::string node, std::string description,
                    std::string byId, bool present) {
    PortListEntry port;
    port.comNumber = number;
    port.devicePath = std::move(mapped);
    port.systemPath = std::move(node);
    port.description = std::move(description);
    port.stablePath = std::move(byId);
    port.present = present;
    return port;
}

TEST(CliPorts, EachComNameStandsWithItsNodeDescriptionAndStableNameInColumns) {
    PortListEntry loopback;
    loopback.comNumber = 256;
    loopback.loopback = true;
    const std::vector<PortListEntry> ports = {entry(1, "/dev/ttyS0", "/dev/ttyS0", "ttyS0", "", true),
                                              entry(2, "/dev/serial/by-id/usb-FTDI_A", "/dev/ttyUSB0",
                                                    "FT232R USB UART", "/dev/serial/by-id/usb-FTDI_A", true),
                                              entry(4, "/dev/serial/by-id/usb-Gone", "", "", "", false),
                                              loopback};
    EXPECT_EQ(portsListing(ports),
              "COM1    /dev/ttyS0                  ttyS0\n"
              "COM2    /dev/ttyUSB0                FT232R USB UART  /dev/serial/by-id/usb-FTDI_A\n"
              "COM4    /dev/serial/by-id/usb-Gone  (not present)\n"
              "COM256  loopback\n");
    EXPECT_EQ(portsListing({}), "");
}

TEST(CliPorts, ADamagedSettingsFileKeepsNewNumbersForThisRunOnly) {
    class DamagedStore : public MemorySettingsStore {
    public:
        std::string loadWarning() const override { return "damaged"; }
    };
    DamagedStore damaged;
    damaged.setValue("Ports", "COM2", "/dev/ttyUSB0");
    CliPortStore forDamaged(damaged);
    EXPECT_TRUE(forDamaged.keepsNumbersForThisRunOnly());
    EXPECT_EQ(forDamaged.store().valueOr("Ports", "COM2", ""), "/dev/ttyUSB0") << "the known numbers hold";
    forDamaged.store().setValue("Ports", "COM3", "/dev/ttyACM0");
    EXPECT_FALSE(damaged.value("Ports", "COM3").has_value()) << "the user's settings are not touched";

    MemorySettingsStore sound;
    CliPortStore forSound(sound);
    EXPECT_FALSE(forSound.keepsNumbersForThisRunOnly());
    forSound.store().setValue("Ports", "COM3", "/dev/ttyACM0");
    EXPECT_EQ(sound.valueOr("Ports", "COM3", ""), "/dev/ttyACM0") << "a new adapter keeps its number";
}

TEST(CliPorts, TheOptionNeedsNoProject) {
    CliOptions options;
    std::string error;
    EXPECT_TRUE(parseCliOptions({"--port", "COM3=/dev/pts/9", "--ports"}, options, error)) << error;
    EXPECT_TRUE(options.listPorts);
    ASSERT_EQ(options.ports.size(), 1u);
    EXPECT_NE(usageText().find("--ports"), std::string::npos);
}

TEST(CliPorts, TheProgramListsAPortMappedForThisRunAndTheLoopback) {
    test::TempFolder folder;
    int exitCode = -1;
    const std::string output =
        test::programOutput("env",
                            {"XDG_CONFIG_HOME=" + folder.file("config"),
                             "CORVANE_SYSFS_ROOT=" + folder.file("sys"), CORVANE_CLI_PROGRAM, "--port",
                             "COM7=" + folder.file("missing"), "--port", "COM9=/dev/null", "--ports"},
                            &exitCode)
            .value_or("");
    EXPECT_EQ(exitCode, 0) << output;
    const std::string missing = folder.file("missing");
    EXPECT_NE(output.find("COM7    " + missing + "  (not present)\n"), std::string::npos) << output;
    EXPECT_NE(output.find("COM9    /dev/null\n"), std::string::npos) << output;
    EXPECT_NE(output.find("COM256  loopback\n"), std::string::npos) << output;
}

} // namespace
} // namespace corvane::cli
