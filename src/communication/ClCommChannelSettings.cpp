// Settings strings of the communication channel: normalisation, the checks of each kind and the
// line settings of device ports.
#include "communication/ClCommChannel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace corvane {

namespace {

std::string trim(const std::string& text) {
    auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool allDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

// A non-negative integer of at most nine digits (larger ones are out of every range here).
bool parseCount(const std::string& text, long& value) {
    if (!allDigits(text)) {
        return false;
    }
    std::string digits = text;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (digits.size() > 9) {
        value = 1000000000L;
        return true;
    }
    value = std::strtol(digits.c_str(), nullptr, 10);
    return true;
}

// A decimal number such as "9600" or "9600.5"; false for anything else.
bool parseDecimal(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value) &&
           text.find_first_of("xXpPnN") == std::string::npos;
}

// Port of a TCP or UDP setting: empty gives the default, else 1 to 65535.
bool parsePort(const std::string& text, int& port) {
    if (text.empty()) {
        port = ClCommChannel::kDefaultTcpPort;
        return true;
    }
    long value = 0;
    if (!parseCount(text, value) || value < 1 || value > 65535) {
        return false;
    }
    port = static_cast<int>(value);
    return true;
}

bool isDottedAddress(const std::string& host) {
    int fields = 0;
    std::size_t start = 0;
    while (true) {
        std::size_t dot = host.find('.', start);
        std::string field = host.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        long value = 0;
        if (field.size() > 3 || !parseCount(field, value) || value > 255) {
            return false;
        }
        ++fields;
        if (dot == std::string::npos) {
            break;
        }
        start = dot + 1;
    }
    return fields == 4;
}

bool legalHost(const std::string& host) {
    if (host.empty()) {
        return false;
    }
    if (host == "LOCALHOST" || host == "LOCALIP") {
        return true;
    }
    // Digits and dots only: it must be a real dotted address, a name can't look like that.
    if (host.find_first_not_of("0123456789.") == std::string::npos) {
        return isDottedAddress(host);
    }
    return host.find_first_of("\"*/<>?\\|") == std::string::npos;
}

std::string storedHost(const std::string& host) {
    return host == "LOCALIP" ? "LOCALHOST" : host;
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

} // namespace

std::vector<std::string> ClCommChannel::splitParts(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t at = text.find(separator, start);
        parts.push_back(trim(text.substr(start, at == std::string::npos ? std::string::npos : at - start)));
        if (at == std::string::npos) {
            break;
        }
        start = at + 1;
    }
    return parts;
}

std::string ClCommChannel::part(const std::vector<std::string>& parts, std::size_t index) {
    return index < parts.size() ? parts[index] : std::string();
}

std::string ClCommChannel::normaliseSettings(const std::string& settings) {
    std::string text = trim(settings);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (text.empty()) {
        return "COM1";
    }
    if (allDigits(text)) {
        return "COM" + text;
    }
    return text;
}

ChannelType ClCommChannel::typeOfSettings(const std::string& normalised) {
    if (startsWith(normalised, "COM")) {
        return ChannelType::Com;
    }
    if (startsWith(normalised, "TAP")) {
        return ChannelType::Tap;
    }
    if (startsWith(normalised, "VTP")) {
        return ChannelType::Vtp;
    }
    if (startsWith(normalised, "SERVER")) {
        return ChannelType::TcpServer;
    }
    if (startsWith(normalised, "UDP")) {
        return ChannelType::Udp;
    }
    return ChannelType::TcpClient;
}

bool ClCommChannel::checkCOMSettings(const std::string& settings, int& portNumber,
                                     std::string& lineSettings) {
    auto parts = splitParts(settings, ':');
    std::string port = part(parts, 0);
    if (port.size() < 4) {
        return false;
    }
    std::string word = port.substr(0, 3);
    long number = 0;
    if (!parseCount(trim(port.substr(3)), number)) {
        return false;
    }
    if (word == "COM") {
        if (number < 1 || number > kMaxComNumber) {
            return false;
        }
    } else if (word == "TAP" || word == "VTP") {
        if (number > 255) {
            return false;
        }
    } else {
        return false;
    }
    std::string line = part(parts, 1);
    if (line.empty()) {
        line = "9600,NONE,8,1";
    } else if (line != "NONE") {
        auto fields = splitParts(line, ',');
        double baud = 0;
        if (fields.size() < 4 || !parseDecimal(fields[0], baud) || baud <= 0 || baud > 2147483647.0) {
            return false;
        }
    }
    portNumber = static_cast<int>(number);
    lineSettings = line;
    return true;
}

bool ClCommChannel::checkTCPClientSettings(const std::string& settings, std::string& host, int& port) {
    auto parts = splitParts(settings, ':');
    if (parts.size() > 2 || !legalHost(part(parts, 0)) || !parsePort(part(parts, 1), port)) {
        return false;
    }
    host = storedHost(part(parts, 0));
    return true;
}

bool ClCommChannel::checkServerSettings(const std::string& settings, int& port) {
    auto parts = splitParts(settings, ':');
    return parts.size() <= 2 && part(parts, 0) == "SERVER" && parsePort(part(parts, 1), port);
}

bool ClCommChannel::checkUDPSettings(const std::string& settings, std::string& host, int& remotePort,
                                     int& localPort) {
    auto parts = splitParts(settings, ':');
    if (part(parts, 0) != "UDP" || parts.size() < 2 || parts.size() > 4) {
        return false;
    }
    if (parts.size() == 2 && allDigits(parts[1])) {
        // A local port alone: listen only.
        long value = 0;
        if (!parseCount(parts[1], value) || value < 1 || value > 65535) {
            return false;
        }
        host.clear();
        remotePort = 0;
        localPort = static_cast<int>(value);
        return true;
    }
    int remote = 0;
    if (!legalHost(part(parts, 1)) || !parsePort(part(parts, 2), remote)) {
        return false;
    }
    int local = remote;
    std::string localText = part(parts, 3);
    if (!localText.empty()) {
        long value = 0;
        if (!parseCount(localText, value) || value < 1 || value > 65535) {
            return false;
        }
        local = static_cast<int>(value);
    }
    host = storedHost(part(parts, 1));
    remotePort = remote;
    localPort = local;
    return true;
}

bool ClCommChannel::storedSettings(ChannelType type, const std::string& normalised, std::string& stored) {
    switch (type) {
    case ChannelType::Com:
    case ChannelType::Tap:
    case ChannelType::Vtp: {
        int number = 0;
        std::string line;
        if (!checkCOMSettings(normalised, number, line) || typeOfSettings(normalised) != type) {
            return false;
        }
        stored = normalised.substr(0, 3) + std::to_string(number) + ":" + line;
        return true;
    }
    case ChannelType::TcpServer: {
        int port = 0;
        if (!checkServerSettings(normalised, port)) {
            return false;
        }
        stored = "SERVER:" + std::to_string(port);
        return true;
    }
    case ChannelType::Udp: {
        std::string host;
        int remote = 0;
        int local = 0;
        if (!checkUDPSettings(normalised, host, remote, local)) {
            return false;
        }
        if (host.empty()) {
            stored = "UDP:" + std::to_string(local);
        } else {
            stored = "UDP:" + host + ":" + std::to_string(remote);
            if (local != remote) {
                stored += ":" + std::to_string(local);
            }
        }
        return true;
    }
    default: {
        std::string host;
        int port = 0;
        if (!checkTCPClientSettings(normalised, host, port)) {
            return false;
        }
        stored = host + ":" + std::to_string(port);
        return true;
    }
    }
}

ClCommChannel::LineParameters ClCommChannel::parseLineSettings(const std::string& lineSettings,
                                                               ChannelType type) {
    LineParameters p;
    if (lineSettings.empty()) {
        return p;
    }
    if (lineSettings == "NONE") {
        p.baudRate = 0;
        return p;
    }
    auto fields = splitParts(lineSettings, ',');
    double baud = 0;
    if (parseDecimal(part(fields, 0), baud) && baud > 0 && baud <= 2147483647.0) {
        p.baudRate = static_cast<int>(std::lround(baud));
    }
    std::string parity = part(fields, 1);
    p.parity = parity == "ODD"     ? kParityOdd
               : parity == "EVEN"  ? kParityEven
               : parity == "MARK"  ? kParityMark
               : parity == "SPACE" ? kParitySpace
                                   : kParityNone;
    std::string data = part(fields, 2);
    p.dataBits = (data == "4" || data == "5") ? 5 : data == "6" ? 6 : data == "7" ? 7 : 8;
    std::string stop = part(fields, 3);
    p.stopBits = stop == "1.5" ? kStopBitsOneAndHalf : stop == "2" ? kStopBitsTwo : kStopBitsOne;
    std::string flow = part(fields, 4);
    p.flowControl = flow == "RTSCTS"    ? kFlowRtsCts
                    : flow == "XONXOFF" ? kFlowXonXoff
                    : flow == "RTSSEND" ? kFlowRtsSend
                                        : kFlowOff;
    long value = 0;
    if (parseCount(part(fields, 5), value)) {
        p.parityErrorChar = static_cast<int>(value & 0xFF);
    }
    if (type == ChannelType::Vtp) {
        std::string level = part(fields, 6);
        double number = 0;
        if (parseDecimal(level, number)) {
            p.signalLevel = number < 0 ? 0 : number > 2 ? 2 : static_cast<int>(number);
        }
    }
    return p;
}

const char* ClCommChannel::illegalSettingsMessage(ChannelType type) {
    switch (type) {
    case ChannelType::Com:
        return "Illegal settings for a local serial port (COM). Valid ports are COM1 to COM256.";
    case ChannelType::Tap:
        return "Illegal settings for USB Monitoring Tap. Specify a valid USB TAP port, e.g. TAP0 or TAP1";
    case ChannelType::Vtp:
        return "Illegal settings for Kito-Tap Pro / Lumo Tap. Specify a valid port, e.g. VTP0 or VTP1";
    case ChannelType::TcpServer:
        return "Illegal settings for a TCP server. Specify a valid port number, e.g. SERVER:3001";
    case ChannelType::Udp:
        return "Illegal settings for an UDP peer. Specify remote IP address and UDP port (e.g. "
               "UDP:10.0.0.1:3001). "
               "Add a local port to listen to, if required (e.g. UDP:10.0.0.1:3001:3002 - send to port 3001, "
               "receive on port 3002).";
    default:
        return "Illegal settings for a TCP client. Use IP address and port number of the client device (e.g. "
               "10.0.0.1:3001), or connect to a server on the same PC (e.g. LOCALHOST:502)";
    }
}

} // namespace corvane
