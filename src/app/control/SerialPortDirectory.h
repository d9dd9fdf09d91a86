#pragma once

#include <string>
#include <vector>

namespace corvane {

// One COM name of the port map: its number and how a list shows it
// ("COM3  (/dev/ttyUSB0, FT232R USB UART)").
struct SerialPortEntry {
    int comNumber = 0;
    std::string displayText;
};

// The COM names that the port map knows, in COM order. Whether each one exists right now is the
// serial library's answer.
class SerialPortDirectory {
public:
    virtual ~SerialPortDirectory() = default;
    virtual std::vector<SerialPortEntry> listSerialPorts() = 0;
};

} // namespace corvane
