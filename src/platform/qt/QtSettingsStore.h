#pragma once

#include "platform/SettingsStore.h"

#include <memory>
#include <string>

class QSettings;

namespace corvane {

// The per-user program settings in an INI file through QSettings: organization and application
// "Corvane" (the user's configuration folder, ~/.config/Corvane/Corvane.conf), or a file of the caller's
// choice. Sections are INI groups; values are kept as strings.
class QtSettingsStore : public SettingsStore {
public:
    // The user's settings file.
    QtSettingsStore();
    // A settings file at the given path (tests use a temporary folder).
    explicit QtSettingsStore(const std::string& filePath);
    ~QtSettingsStore() override;

    std::optional<std::string> value(const std::string& section, const std::string& key) const override;
    void setValue(const std::string& section, const std::string& key, const std::string& value) override;
    void remove(const std::string& section, const std::string& key) override;
    std::vector<std::string> keys(const std::string& section) const override;
    bool sync() override;

    std::string fileName() const;

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace corvane
