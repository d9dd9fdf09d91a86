#pragma once

#include "platform/SettingsStore.h"

#include <memory>
#include <string>

class QSettings;

namespace corvane {

// The per-user program settings in an INI file through QSettings: organization and application
// "Corvane" (the user's configuration folder, ~/.config/Corvane/Corvane.conf), or a file of the caller's
// choice. Sections are INI groups; values are kept as strings. QSettings writes a new file beside
// the old one and renames it over the old one once it is flushed, so a failed write keeps the old
// file. A file it can't parse would be rewritten with only what it could read: such a file is
// copied aside first ("Corvane.conf.corrupt") and the user is warned.
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
    std::string loadWarning() const override { return loadWarning_; }

    std::string fileName() const;

private:
    // Looks at how the file was read and keeps a copy of a damaged one.
    void inspectFile();

    std::unique_ptr<QSettings> settings_;
    std::string loadWarning_;
    // The file read was damaged and has not been written since.
    bool damaged_ = false;
};

} // namespace corvane
