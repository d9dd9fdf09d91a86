#pragma once

#include <QDialog>

namespace corvane {

// "About Corvane": the program name, its version and what the system says about itself.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
    QString systemInformation() const;
};

} // namespace corvane
