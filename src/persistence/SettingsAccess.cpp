#include "persistence/SettingsAccess.h"

#include "persistence/SettingsValueFormat.h"

#include <algorithm>
#include <exception>

namespace corvane {

namespace sf = settingsformat;

std::string SettingsSection::text(const std::string& key, const std::string& fallback) const {
    try {
        return store_->value(section_, key).value_or(fallback);
    } catch (const std::exception&) {
        return fallback;
    }
}

void SettingsSection::readText(const std::string& key, const std::string& fallback,
                               std::string& target) const {
    target = text(key, fallback);
}

void SettingsSection::readBoolean(const std::string& key, bool fallback, bool& target) const {
    const std::string stored = text(key, sf::formatBoolean(fallback));
    target = sf::parseBoolean(stored).value_or(fallback);
}

void SettingsSection::readInteger(const std::string& key, std::int32_t fallback, std::int32_t minimum,
                                  std::int32_t maximum, std::int32_t& target) const {
    const auto value = sf::parseInteger(text(key, std::to_string(fallback)));
    if (value) {
        target = std::clamp(*value, minimum, maximum);
    }
}

void SettingsSection::readTwips(const std::string& key, float fallback, float& target) const {
    const auto value = sf::parseTwips(text(key, sf::formatTwips(fallback)));
    if (value) {
        target = *value;
    }
}

void SettingsSection::write(const std::string& key, const std::string& value) {
    if (writable_ == nullptr) {
        return;
    }
    try {
        writable_->setValue(section_, key, value);
    } catch (const std::exception&) {
        // A failed write is skipped.
    }
}

void SettingsSection::writeBoolean(const std::string& key, bool value) {
    write(key, sf::formatBoolean(value));
}

void SettingsSection::writeInteger(const std::string& key, std::int64_t value) {
    write(key, std::to_string(value));
}

void SettingsSection::writeTwips(const std::string& key, float value) {
    write(key, sf::formatTwips(value));
}

} // namespace corvane
