#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace corvane {

std::string QtClipboard::text() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard == nullptr ? std::string() : clipboard->text().toStdString();
}

void QtClipboard::setText(const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(QString::fromStdString(text));
    }
}

} // namespace corvane
