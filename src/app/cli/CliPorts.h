#pragma once

#include "platform/SettingsStore.h"
#include "platform/serial/PortMap.h"

#include <string>
#include <vector>

namespace corvane::cli {

// The store that keeps the COM numbers of the serial devices for corvane-cli. It is the user's
// own settings, so that an adapter plugged in since the last run gets its number as the window
// program would give it. When the user's settings could not be read as they are (a damaged file,
// one that can't be read), it is a copy of their "Ports" section in memory: numbers hold for this
// run and the file is left exactly as it is.
class CliPortStore {
public:
    explicit CliPortStore(SettingsStore& user);
    SettingsStore& store() { return useCopy_ ? static_cast<SettingsStore&>(copy_) : user_; }
    bool keepsNumbersForThisRunOnly() const { return useCopy_; }

private:
    SettingsStore& user_;
    MemorySettingsStore copy_;
    bool useCopy_;
};

// What "corvane-cli --ports" prints: one line per COM name with its device node, description and
// stable /dev/serial/by-id name, in columns:
//   COM2    /dev/ttyUSB0  FT232R USB UART  /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0
//   COM256  loopback
std::string portsListing(const std::vector<PortListEntry>& ports);

} // namespace corvane::cli
