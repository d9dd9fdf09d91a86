#pragma once

#include "app/control/ExpertOptionsForm.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QTabWidget;

namespace corvane {

// The expert options dialog: the communication driver mode and data forwarding, one tab each.
// OK asks its form, which asks the user before high priority mode is taken.
class frmExpertOptions : public QDialog {
    Q_OBJECT
public:
    frmExpertOptions(MessageService& messages, const ExpertOptions& current,
                     std::function<void(int topic)> help, QWidget* parent = nullptr);

    ExpertOptionsForm& form() { return form_; }
    QTabWidget* tabs() const { return tabs_; }

private:
    QWidget* buildChoices(const char* title, const char* const* texts, const char* name, QButtonGroup*& group,
                          int chosen);

    ExpertOptionsForm form_;
    std::function<void(int)> help_;
    QTabWidget* tabs_ = nullptr;
    QButtonGroup* driverMode_ = nullptr;
    QButtonGroup* forwarding_ = nullptr;
};

} // namespace corvane
