#include "app/gui/frmSendSequenceParameter.h"

#include "app/gui/EditSequence.h"
#include "app/gui/HelpSystem.h"
#include "persistence/ProgramSettingsData.h"
#include "sequences/modSequenceManagement.h"
#include "sequences/modShortCutManagement.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace corvane {

namespace {

QLabel* namedLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

frmSendSequenceParameter::frmSendSequenceParameter(ProgramSettingsData& settings,
                                                   modSequenceManagement& lists, HelpSystem* help,
                                                   std::function<void(Representation)> displayModeChanged,
                                                   QWidget* parent)
    : QDialog(parent), settings_(settings), lists_(lists), help_(help),
      displayModeChanged_(std::move(displayModeChanged)) {
    setObjectName("frmSendSequenceParameter");
    setWindowTitle("Send Sequence Parameter");
    setModal(true);
    buildControls();
    edit_->setAllowedSpecialCharacters("");
    edit_->setCharacterColorMode(settings_.editCharacterColorMode);
    edit_->setClipboard(lists_.clipboardText(), lists_.clipboardSequence().IntSequence());
    edit_->setShortcutTable(modShortCutManagement::tableToText(settings_.userShortcuts));
    const int representation = std::clamp(settings_.dispSequListRepresentation, 0, 3);
    modes_[static_cast<std::size_t>(representation)]->setChecked(true);
    edit_->setEditRepresentation(static_cast<Representation>(representation));
    loading_ = false;
}

frmSendSequenceParameter::~frmSendSequenceParameter() = default;

void frmSendSequenceParameter::buildControls() {
    auto* outer = new QVBoxLayout(this);
    parNo_ = namedLabel("labParNo", this);
    QFont bold = parNo_->font();
    bold.setBold(true);
    parNo_->setFont(bold);
    outer->addWidget(parNo_);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Sequence before:", this), 0, 0);
    before_ = namedLabel("labSequenceBefore", this);
    grid->addWidget(before_, 0, 1);
    grid->addWidget(new QLabel("Wildcards:", this), 1, 0);
    wildcards_ = namedLabel("labWildcards", this);
    grid->addWidget(wildcards_, 1, 1);
    grid->addWidget(new QLabel("Sequence after:", this), 2, 0);
    after_ = namedLabel("labSequenceAfter", this);
    grid->addWidget(after_, 2, 1);
    grid->setColumnStretch(1, 1);
    outer->addLayout(grid);
    charsRequired_ = namedLabel("labCharsRequired", this);
    outer->addWidget(charsRequired_);

    auto* row = new QHBoxLayout;
    edit_ = new EditSequence(this);
    edit_->setObjectName("EditSequence1");
    edit_->setDisplayOption(EditSequence::kDisplaySingleLine);
    edit_->installEventFilter(this);
    row->addWidget(edit_, 1);
    auto* modeBox = new QGroupBox("Edit Mode", this);
    modeBox->setObjectName("OptionEditMode");
    auto* modeLayout = new QVBoxLayout(modeBox);
    const char* const names[4] = {"ASCII", "HEX", "Decimal", "Binary"};
    for (int i = 0; i < 4; ++i) {
        auto*& option = modes_[static_cast<std::size_t>(i)];
        option = new QRadioButton(names[i], modeBox);
        option->setObjectName(QString("OptionEditMode%1").arg(i));
        modeLayout->addWidget(option);
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) {
                editModeChanged(static_cast<Representation>(i));
            }
        });
    }
    row->addWidget(modeBox);
    outer->addLayout(row);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    send_ = new QPushButton("Next >", this);
    send_->setObjectName("cmdSend");
    send_->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cmdCancel");
    cancel->setAutoDefault(false);
    auto* helpButton = new QPushButton("Help", this);
    helpButton->setObjectName("cmdHelp");
    helpButton->setAutoDefault(false);
    buttons->addWidget(send_);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton);
    outer->addLayout(buttons);

    connect(edit_, &EditSequence::contentChanged, this, [this] { contentChanged(); });
    connect(send_, &QPushButton::clicked, this, [this] { sendClicked(); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    connect(helpButton, &QPushButton::clicked, this, [this] {
        if (help_ != nullptr) {
            help_->showHelpTopic(kHelpContext, kHelpTopic);
        }
    });
    resize(560, 260);
}

QLabel* frmSendSequenceParameter::label(const QString& objectName) const {
    return findChild<QLabel*>(objectName);
}

void frmSendSequenceParameter::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        parameters_.reset(original_);
        startParameter();
    }
}

void frmSendSequenceParameter::startParameter() {
    const ParameterDisplay shown = parameters_.display(edit_->editRepresentation());
    edit_->setSequence({});
    edit_->setMaximumLength(std::max(shown.maximumCharacters, 1));
    edit_->setDisplayOption(EditSequence::kDisplaySingleLine);
    send_->setText(QString::fromStdString(parameters_.sendCaption()));
    refreshDisplay();
    contentChanged();
    edit_->focusWithCaret(-1);
}

void frmSendSequenceParameter::refreshDisplay() {
    const ParameterDisplay shown = parameters_.display(edit_->editRepresentation());
    parNo_->setText(QString("Parameter No. %1").arg(shown.parameterNumber));
    wildcards_->setText(QString::fromStdString(shown.wildcards));
    before_->setText(QString::fromStdString(shown.before));
    after_->setText(QString::fromStdString(shown.after));
    charsRequired_->setText(QString("Minimum Characters Required: %1").arg(shown.minimumCharacters));
}

void frmSendSequenceParameter::contentChanged() {
    const bool enough = parameters_.enoughCharacters(edit_->length());
    send_->setEnabled(enough);
    // Red (colour value 255) while too few characters are typed.
    charsRequired_->setStyleSheet(enough ? QString() : QString("color: #ff0000;"));
}

void frmSendSequenceParameter::sendClicked() {
    if (!send_->isEnabled()) {
        return;
    }
    ClSequence typed;
    typed.setSequence(edit_->getSequence());
    switch (parameters_.takeParameter(typed)) {
    case SendSequenceParameters::Step::Complete:
        accept();
        break;
    case SendSequenceParameters::Step::NextParameter:
        startParameter();
        break;
    case SendSequenceParameters::Step::Refused:
        break;
    }
}

void frmSendSequenceParameter::editModeChanged(Representation representation) {
    edit_->setEditRepresentation(representation);
    if (started_) {
        refreshDisplay();
    }
    if (!loading_) {
        if (displayModeChanged_) {
            displayModeChanged_(representation);
        }
        settings_.dispSequListRepresentation = static_cast<int>(representation);
    }
}

bool frmSendSequenceParameter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            sendClicked();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSendSequenceParameter::done(int result) {
    std::string text;
    std::vector<CharCode> codes;
    edit_->getClipboard(text, codes);
    ClSequence clipboard;
    clipboard.setSequence(codes);
    lists_.takeClipboardFromEditControl(
        clipboard, static_cast<Representation>(std::clamp(settings_.dispSequListRepresentation, 0, 3)));
    QDialog::done(result);
}

} // namespace corvane
