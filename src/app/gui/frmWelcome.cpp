#include "app/gui/frmWelcome.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace corvane {

frmWelcome::frmWelcome(QWidget* parent) : QDialog(parent) {
    setObjectName("frmWelcome");
    setWindowTitle("Welcome to Corvane");
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel("<b>Welcome to Corvane</b>", this);
    layout->addWidget(heading);
    const char* texts[4] = {
        "Open a sample / demo project for sending test commands to a standard analog modem",
        "Open a sample / demo project and learn how to react to a specific data sequence received and send "
        "out new data",
        "Open an existing Corvane project (.ptp) file",
        "Start with a blank project / blank script",
    };
    for (int i = 0; i < 4; ++i) {
        options_[i] = new QRadioButton(texts[i], this);
        layout->addWidget(options_[i]);
    }
    options_[ModemSample]->setChecked(true);
    layout->addSpacing(12);
    skip_ = new QCheckBox("Do not show this dialog again in the future", this);
    layout->addWidget(skip_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* cont = buttons->addButton("Continue", QDialogButtonBox::AcceptRole);
    cont->setObjectName("cmdContinue");
    cont->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

frmWelcome::Choice frmWelcome::choice() const {
    for (int i = 0; i < 4; ++i) {
        if (options_[i]->isChecked()) {
            return static_cast<Choice>(i);
        }
    }
    return BlankProject;
}

void frmWelcome::setChoice(Choice choice) {
    options_[choice]->setChecked(true);
}

bool frmWelcome::skipInFuture() const {
    return skip_->isChecked();
}

void frmWelcome::setSkipInFuture(bool skip) {
    skip_->setChecked(skip);
}

} // namespace corvane
