#pragma once

#include <QDialog>

class QCheckBox;
class QRadioButton;

namespace corvane {

// "Welcome to Corvane": four ways to begin and the check box that hides the dialog in future.
class frmWelcome : public QDialog {
    Q_OBJECT
public:
    enum Choice { ModemSample = 0, PingPongSample = 1, OpenProject = 2, BlankProject = 3 };

    explicit frmWelcome(QWidget* parent = nullptr);

    Choice choice() const;
    void setChoice(Choice choice);
    bool skipInFuture() const;
    void setSkipInFuture(bool skip);

    QRadioButton* option(Choice choice) const { return options_[choice]; }
    QCheckBox* skipBox() const { return skip_; }

private:
    QRadioButton* options_[4] = {};
    QCheckBox* skip_ = nullptr;
};

} // namespace corvane
