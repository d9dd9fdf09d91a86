#include "app/gui/frmEditAction.h"

#include "sequences/CharacterRepresentation.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace corvane {

frmEditAction::frmEditAction(ProgramContext& context, const Setup& setup, SequenceEditorHooks hooks,
                             QWidget* parent)
    : SequenceEditorDialog(setup, "Edit Send Sequence", "lblActionID", "txtActionName", kAllowedListSymbols,
                           kHelpTopic, parent) {
    setObjectName("frmEditAction");
    buildSettings();
    editor_ = std::make_unique<SendSequenceEditor>(context, *this, *this, std::move(hooks),
                                                   QLocale().decimalPoint().toStdString());
    attach(*editor_);
    connect(repeat_, &QCheckBox::toggled, this, [this] { editor_->repeatChanged(); });
    connect(interval_, &QLineEdit::textEdited, this, [this] { editor_->contentChanged(); });
    editor_->open();
}

frmEditAction::~frmEditAction() = default;

void frmEditAction::buildSettings() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tbsSettings");
    auto* page = new QWidget(tabs_);
    auto* layout = new QVBoxLayout(page);
    repeat_ =
        new QCheckBox("Send periodically  (if not sent as an automatic answer to a receive sequence)", page);
    repeat_->setObjectName("chkRepeat");
    layout->addWidget(repeat_);
    auto* row = new QHBoxLayout;
    intervalBefore_ = new QLabel("Repeat sequence every ", page);
    interval_ = new QLineEdit(page);
    interval_->setObjectName("txtInterval");
    interval_->setMaximumWidth(90);
    intervalAfter_ = new QLabel("seconds", page);
    row->addSpacing(20);
    row->addWidget(intervalBefore_);
    row->addWidget(interval_);
    row->addWidget(intervalAfter_);
    row->addStretch();
    layout->addLayout(row);
    layout->addStretch();
    tabs_->addTab(page, "3 - Additional Settings");
    settingsArea()->addWidget(tabs_);
}

bool frmEditAction::eventFilter(QObject* watched, QEvent* event) {
    if (watched == interval_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && text.at(0).unicode() > 32) {
            const std::string tenth = QLocale().toString(0.1).toStdString();
            if (numericKeyFilter(text.at(0).unicode(), tenth) == 0) {
                QApplication::beep();
                return true;
            }
        }
    }
    if (watched == interval_ && event->type() == QEvent::FocusOut) {
        // Cancel closes without checking anything.
        if (!closing() && isVisible() &&
            QApplication::focusWidget() != static_cast<QWidget*>(button("cmdCancel"))) {
            editor_->intervalLeft();
        }
    }
    return SequenceEditorDialog::eventFilter(watched, event);
}

bool frmEditAction::repeat() const {
    return repeat_->isChecked();
}

void frmEditAction::showRepeat(bool repeat) {
    repeat_->setChecked(repeat);
}

std::string frmEditAction::intervalText() const {
    return interval_->text().toStdString();
}

void frmEditAction::showInterval(const std::string& text) {
    interval_->setText(QString::fromStdString(text));
}

void frmEditAction::setIntervalEnabled(bool enabled) {
    intervalBefore_->setEnabled(enabled);
    interval_->setEnabled(enabled);
    intervalAfter_->setEnabled(enabled);
}

} // namespace corvane
