#pragma once

#include "platform/SettingsStore.h"

#include <cstdint>
#include <string>

namespace corvane {

// Reads and writes the keys of one settings section. A reading routine changes its target only
// when the key gives a usable value: a missing key gives the default, a malformed one leaves the
// target as it was.
class SettingsSection {
public:
    SettingsSection(const SettingsStore& store, std::string section)
        : store_(&store), section_(std::move(section)) {}
    SettingsSection(SettingsStore& store, std::string section)
        : store_(&store), writable_(&store), section_(std::move(section)) {}

    std::string text(const std::string& key, const std::string& fallback) const;
    void readText(const std::string& key, const std::string& fallback, std::string& target) const;
    void readBoolean(const std::string& key, bool fallback, bool& target) const;
    // Clamped to minimum..maximum.
    void readInteger(const std::string& key, std::int32_t fallback, std::int32_t minimum,
                     std::int32_t maximum, std::int32_t& target) const;
    void readTwips(const std::string& key, float fallback, float& target) const;

    void write(const std::string& key, const std::string& value);
    void writeBoolean(const std::string& key, bool value);
    void writeInteger(const std::string& key, std::int64_t value);
    void writeTwips(const std::string& key, float value);

private:
    const SettingsStore* store_;
    SettingsStore* writable_ = nullptr;
    std::string section_;
};

} // namespace corvane
