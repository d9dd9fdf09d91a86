#include "platform/qt/QtSettingsStore.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVariant>

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
          QSettings::IniFormat)) {}

QtSettingsStore::QtSettingsStore(const std::string& filePath)
    : settings_(std::make_unique<QSettings>(QString::fromStdString(filePath), QSettings::IniFormat)) {}

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
    return settings_->status() == QSettings::NoError;
}

std::string QtSettingsStore::fileName() const {
    return settings_->fileName().toStdString();
}

} // namespace corvane
