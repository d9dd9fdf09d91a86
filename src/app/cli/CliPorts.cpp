#include "CliPorts.h"

#include <algorithm>
#include <array>

namespace corvane::cli {

CliPortStore::CliPortStore(SettingsStore& user) : user_(user), useCopy_(!user.loadWarning().empty()) {
    if (useCopy_) {
        for (const std::string& key : user.keys(PortMap::kSection)) {
            if (auto value = user.value(PortMap::kSection, key)) {
                copy_.setValue(PortMap::kSection, key, *value);
            }
        }
    }
}

std::string portsListing(const std::vector<PortListEntry>& ports) {
    std::vector<std::array<std::string, 4>> rows;
    for (const PortListEntry& port : ports) {
        std::array<std::string, 4> row{"COM" + std::to_string(port.comNumber), "", "", ""};
        if (port.loopback) {
            row[1] = "loopback";
        } else if (port.present) {
            row[1] = port.systemPath;
            row[2] = port.description;
            row[3] = port.stablePath != port.systemPath ? port.stablePath : "";
        } else {
            row[1] = port.devicePath;
            row[2] = "(not present)";
        }
        rows.push_back(row);
    }
    std::array<std::size_t, 3> widths{};
    for (const auto& row : rows) {
        for (std::size_t column = 0; column < widths.size(); ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            line += row[column];
            if (column < widths.size()) {
                line += std::string(widths[column] - row[column].size() + 2, ' ');
            }
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    }
    return text;
}

} // namespace corvane::cli
