#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace corvane {

class InternalError;

// "Corvane Internal Error": the composed report, the description and the operating system.
class frmInternalError : public QDialog {
    Q_OBJECT
public:
    explicit frmInternalError(const QString& text, QWidget* parent = nullptr);
    QString reportText() const;

private:
    QPlainTextEdit* text_ = nullptr;
};

// The dialog's text: report CR LF description CR LF "Windows OS: " and the system's description.
std::string internalErrorDialogText(const InternalError& error, const std::string& osDescription);
// The running system as the dialog names it.
std::string operatingSystemDescription();

} // namespace corvane
