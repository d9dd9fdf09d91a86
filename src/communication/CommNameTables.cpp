#include "communication/CommNameTables.h"

namespace corvane {

namespace {

const char* const kBaudRates[kBaudRateCount] = {"110",   "300",    "600",    "1200",  "2400",  "4800",
                                                "9600",  "14400",  "19200",  "28800", "38400", "56000",
                                                "57600", "115200", "128000", "256000"};
const char* const kParities[kParityCount] = {"Even", "Mark", "None", "Odd", "Space"};
const char* const kDataBits[kDataBitsCount] = {"4", "5", "6", "7", "8"};
const char* const kStopBits[kStopBitsCount] = {"1", "1.5", "2"};
const char* const kFlowControls[kFlowControlCount] = {
    "No Handshaking",     "Manual RTS/DTR Control", "RTS/CTS Handshaking",   "XON/XOFF Handshaking",
    "RTS/CTS + XON/XOFF", "RTS/CTS (Single Byte)",  "RTS high while sending"};
const char* const kSignalLevels[kSignalLevelCount] = {"0-RS232/TTL", "1-RS422/485", "2-Inverted"};

template <int N> std::string lookup(const char* const (&table)[N], int index) {
    return index >= 0 && index < N ? table[index] : "";
}

} // namespace

std::string baudRateName(int index) {
    return lookup(kBaudRates, index);
}

int baudRateIndex(const std::string& text) {
    auto first = text.find_first_not_of(" \t");
    auto last = text.find_last_not_of(" \t");
    std::string trimmed = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    int found = 6;
    for (int i = 0; i < kBaudRateCount; ++i) {
        if (trimmed == kBaudRates[i]) {
            found = i;
        }
    }
    return found;
}

std::string baudRateText(std::int32_t baudRate) {
    return std::to_string(baudRate);
}
std::string parityName(Parity parity) {
    return lookup(kParities, toStored(parity));
}
std::string dataBitsName(DataBits dataBits) {
    return lookup(kDataBits, toStored(dataBits));
}
std::string stopBitsName(StopBits stopBits) {
    return lookup(kStopBits, toStored(stopBits));
}
std::string flowControlName(FlowControl flowControl) {
    return lookup(kFlowControls, static_cast<int>(flowControl));
}
std::string signalLevelName(int index) {
    return lookup(kSignalLevels, index);
}

} // namespace corvane
