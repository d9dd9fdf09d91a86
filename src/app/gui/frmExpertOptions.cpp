#include "app/gui/frmExpertOptions.h"

#include "app/gui/ClickableLabel.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace corvane {

frmExpertOptions::frmExpertOptions(MessageService& messages, const ExpertOptions& current,
                                   std::function<void(int)> help, QWidget* parent)
    : QDialog(parent), form_(messages, current), help_(std::move(help)) {
    setObjectName("frmExpertOptions");
    setWindowTitle(ExpertOptionsForm::kTitle);
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tabExpertOptions");
    tabs_->addTab(buildChoices("Communication Driver Mode", kDriverModeTexts, "optDriverMode", driverMode_,
                               form_.choices().communicationDriverMode),
                  "Communication Driver");
    tabs_->addTab(buildChoices("Monitoring (Receive Only)", kDataForwardingTexts, "optDataForwarding",
                               forwarding_, form_.choices().dataForwarding),
                  "Data Forwarding");
    layout->addWidget(tabs_);
    connect(driverMode_, &QButtonGroup::idClicked, this, [this](int mode) { form_.chooseDriverMode(mode); });
    connect(forwarding_, &QButtonGroup::idClicked, this,
            [this](int forwarding) { form_.chooseDataForwarding(forwarding); });
    form_.setTabRequest([this](int tab) { tabs_->setCurrentIndex(tab); });

    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cmdCancel");
    auto* helpButton = new QPushButton("Help", this);
    helpButton->setObjectName("cmdHelp");
    for (QPushButton* button : {ok, cancel, helpButton}) {
        row->addWidget(button);
    }
    connect(ok, &QPushButton::clicked, this, [this] {
        if (form_.ok()) {
            accept();
        }
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this] {
        if (help_) {
            help_(ExpertOptionsForm::helpTopicOf(tabs_->currentIndex()));
        }
    });
    layout->addLayout(row);
}

QWidget* frmExpertOptions::buildChoices(const char* title, const char* const* texts, const char* name,
                                        QButtonGroup*& group, int chosen) {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* box = new QGroupBox(title, page);
    auto* choices = new QVBoxLayout(box);
    group = new QButtonGroup(this);
    for (int value = 0; value < 2; ++value) {
        // The texts are long: each choice is a button with its text beside it, wrapped.
        auto* line = new QHBoxLayout;
        auto* button = new QRadioButton(box);
        button->setObjectName(QString("%1%2").arg(name).arg(value));
        button->setChecked(value == chosen);
        auto* text = new ClickableLabel(texts[value], box);
        text->setObjectName(QString("lbl%1%2").arg(QString(name).mid(3)).arg(value));
        text->setWordWrap(true);
        // A click on the text chooses like a click on the button.
        connect(text, &ClickableLabel::clicked, button, &QRadioButton::click);
        line->addWidget(button, 0, Qt::AlignTop);
        line->addWidget(text, 1);
        group->addButton(button, value);
        choices->addLayout(line);
    }
    layout->addWidget(box);
    layout->addStretch();
    page->setMinimumWidth(520);
    return page;
}

} // namespace corvane
