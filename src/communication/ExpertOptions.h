#pragma once

#include "platform/SettingsStore.h"

namespace corvane {

// The expert options of the communication engine, kept with the program settings.
struct ExpertOptions {
    // 0 internal driver, 1 external high priority process.
    int communicationDriverMode = 0;
    // 0 data forwarding in "Monitoring (Receive Only)", 1 no data forwarding.
    int dataForwarding = 0;

    bool operator==(const ExpertOptions&) const = default;
};

inline constexpr const char* kExpertOptionsSection = "ExpertOptions";
inline constexpr const char* kDriverModeKey = "CommDriverMode";
inline constexpr const char* kDataForwardingKey = "DataForwarding";

inline constexpr const char* kDriverModeTexts[] = {
    "Internal (default) - High data throughput, but lower monitoring accuracy (typ. 15 milliseconds)",
    "External / High Priority Process - High monitoring accuracy (limited by serial device latency), but "
    "lower "
    "data throughput and high CPU usage. Use 'Administrator' user account for best results."};
inline constexpr const char* kDataForwardingTexts[] = {
    "Data Forwarding for COM ports (default) - The data received on the first COM port is re-sent on the "
    "second "
    "COM, and vice versa. This allows routing serial data traffic through Corvane.",
    "No Data Forwarding -  passive COM port monitoring only. This can improve performance for RS232 data "
    "monitoring using Corvane Monitoring Cable."};

// Reads both options; a missing or malformed value keeps its default, anything but 1 reads as 0.
ExpertOptions readExpertOptions(const SettingsStore& store);
void writeExpertOptions(SettingsStore& store, const ExpertOptions& options);

} // namespace corvane
