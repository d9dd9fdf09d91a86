#include "communication/ExpertOptions.h"

#include <string>

namespace corvane {

namespace {

int readFlag(const SettingsStore& store, const char* key) {
    auto value = store.value(kExpertOptionsSection, key);
    if (!value) {
        return 0;
    }
    std::string text = *value;
    auto first = text.find_first_not_of(" \t");
    auto last = text.find_last_not_of(" \t");
    return first != std::string::npos && text.substr(first, last - first + 1) == "1" ? 1 : 0;
}

} // namespace

ExpertOptions readExpertOptions(const SettingsStore& store) {
    ExpertOptions options;
    options.communicationDriverMode = readFlag(store, kDriverModeKey);
    options.dataForwarding = readFlag(store, kDataForwardingKey);
    return options;
}

void writeExpertOptions(SettingsStore& store, const ExpertOptions& options) {
    store.setValue(kExpertOptionsSection, kDriverModeKey, options.communicationDriverMode == 1 ? "1" : "0");
    store.setValue(kExpertOptionsSection, kDataForwardingKey, options.dataForwarding == 1 ? "1" : "0");
}

} // namespace corvane
