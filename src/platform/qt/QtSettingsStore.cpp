#include "platform/qt/QtSettingsStore.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace corvane {

namespace {

QString path(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(
          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
              QStringLiteral("/Corvane/Corvane.conf"),
          QSettings::IniFormat)) {
    inspectFile();
}

QtSettingsStore::QtSettingsStore(const std::string& filePath)
    : settings_(std::make_unique<QSettings>(QString::fromStdString(filePath), QSettings::IniFormat)) {
    inspectFile();
}

void QtSettingsStore::inspectFile() {
    // Never write in place: a write that can't replace the file whole fails instead.
    settings_->setAtomicSyncRequired(true);
    const std::string file = fileName();
    switch (settings_->status()) {
    case QSettings::NoError:
        return;
    case QSettings::AccessError: {
        std::string reason = "it cannot be opened";
        if (std::ifstream probe(file, std::ios::binary); !probe) {
            reason = std::strerror(errno);
        }
        std::error_code ignored;
        if (std::filesystem::is_directory(file, ignored)) {
            reason = "it is a folder";
        }
        loadWarning_ = "The program settings file " + file + " cannot be read (" + reason +
                       "). Corvane starts with the default settings, and changed settings cannot be saved.";
        return;
    }
    case QSettings::FormatError: {
        damaged_ = true;
        const std::string copy = file + ".corrupt";
        std::error_code error;
        std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing, error);
        loadWarning_ =
            "The program settings file " + file +
            " is damaged. Corvane uses the settings it can still read and the default settings for "
            "the others.";
        loadWarning_ +=
            error ? " The damaged file could not be copied: it is replaced when the settings are saved."
                  : " A copy of the damaged file is kept as " + copy + ".";
        return;
    }
    }
}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<std::string> QtSettingsStore::value(const std::string& section, const std::string& key) const {
    const QVariant stored = settings_->value(path(section, key));
    if (!stored.isValid()) {
        return std::nullopt;
    }
    // A hand-edited value with unquoted commas comes back as a list; it is one text to us.
    if (stored.typeId() == QMetaType::QStringList) {
        return stored.toStringList().join(QLatin1Char(',')).toStdString();
    }
    if (!stored.canConvert<QString>()) {
        return std::nullopt;
    }
    return stored.toString().toStdString();
}

void QtSettingsStore::setValue(const std::string& section, const std::string& key, const std::string& value) {
    settings_->setValue(path(section, key), QString::fromStdString(value));
}

void QtSettingsStore::remove(const std::string& section, const std::string& key) {
    settings_->remove(path(section, key));
}

std::vector<std::string> QtSettingsStore::keys(const std::string& section) const {
    std::vector<std::string> result;
    settings_->beginGroup(QString::fromStdString(section));
    const QStringList keys = settings_->childKeys();
    settings_->endGroup();
    for (const QString& key : keys) {
        result.push_back(key.toStdString());
    }
    return result;
}

bool QtSettingsStore::sync() {
    settings_->sync();
    if (!damaged_) {
        return settings_->status() == QSettings::NoError;
    }
    // The status keeps the first error met, the damage that was read. Whether the settings were
    // written shows in the file itself, which reads cleanly once it is.
    QSettings written(settings_->fileName(), QSettings::IniFormat);
    damaged_ = written.status() != QSettings::NoError;
    return !damaged_;
}

std::string QtSettingsStore::fileName() const {
    return settings_->fileName().toStdString();
}

} // namespace corvane
