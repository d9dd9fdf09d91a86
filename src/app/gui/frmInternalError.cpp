#include "app/gui/frmInternalError.h"

#include "platform/InternalError.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace corvane {

frmInternalError::frmInternalError(const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName("frmInternalError");
    setWindowTitle("Corvane Internal Error");
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setPlainText(text);
    layout->addWidget(text_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* exit = buttons->addButton("Exit Corvane", QDialogButtonBox::AcceptRole);
    exit->setObjectName("cmdExit");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(520, 240);
}

QString frmInternalError::reportText() const {
    return text_->toPlainText();
}

std::string internalErrorDialogText(const InternalError& error, const std::string& osDescription) {
    return error.reportText() + "\r\n" + error.description() + "\r\n" + "Windows OS: " + osDescription;
}

std::string operatingSystemDescription() {
    return QSysInfo::prettyProductName().toStdString() + " (" + QSysInfo::kernelType().toStdString() + " " +
           QSysInfo::kernelVersion().toStdString() + ", " + QSysInfo::currentCpuArchitecture().toStdString() +
           ")";
}

} // namespace corvane
