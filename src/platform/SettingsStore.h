#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// The per-user program settings store: string values by section and key. The program uses the
// QSettings implementation (INI file, organization and application "Corvane"); tests use
// MemorySettingsStore or QSettings in a temporary folder.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored value, or nothing when the key is absent.
    virtual std::optional<std::string> value(const std::string& section, const std::string& key) const = 0;
    virtual void setValue(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual void remove(const std::string& section, const std::string& key) = 0;
    // The keys present in a section.
    virtual std::vector<std::string> keys(const std::string& section) const = 0;
    // Writes pending changes to permanent storage; false on failure.
    virtual bool sync() { return true; }
    // What the user should know when the stored settings could not be read as they are (a file
    // that can't be read, or a damaged one); empty when they could.
    virtual std::string loadWarning() const { return {}; }

    std::string valueOr(const std::string& section, const std::string& key,
                        const std::string& fallback) const {
        return value(section, key).value_or(fallback);
    }
};

// Settings held in memory only.
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> value(const std::string& section, const std::string& key) const override {
        auto s = sections_.find(section);
        if (s == sections_.end()) {
            return std::nullopt;
        }
        auto k = s->second.find(key);
        if (k == s->second.end()) {
            return std::nullopt;
        }
        return k->second;
    }
    void setValue(const std::string& section, const std::string& key, const std::string& value) override {
        sections_[section][key] = value;
    }
    void remove(const std::string& section, const std::string& key) override {
        auto s = sections_.find(section);
        if (s != sections_.end()) {
            s->second.erase(key);
        }
    }
    std::vector<std::string> keys(const std::string& section) const override {
        std::vector<std::string> result;
        auto s = sections_.find(section);
        if (s != sections_.end()) {
            for (const auto& [key, value] : s->second) {
                result.push_back(key);
            }
        }
        return result;
    }

private:
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

} // namespace corvane
