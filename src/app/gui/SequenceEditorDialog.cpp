#include "app/gui/SequenceEditorDialog.h"

#include "app/control/SequenceEditor.h"
#include "app/gui/ClickableLabel.h"
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
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace corvane {

namespace {

const char* const kModeNames[4] = {"ASCII", "HEX", "Decimal", "Binary"};

} // namespace

SequenceEditorDialog::SequenceEditorDialog(const Setup& setup, const QString& title, const QString& indexName,
                                           const QString& nameName, const std::string& allowedSymbols,
                                           int helpTopic, QWidget* parent)
    : QDialog(parent), setup_(setup), helpTopic_(helpTopic) {
    setWindowTitle(title);
    setModal(true);
    buildControls(indexName, nameName);
    setUpControl(allowedSymbols);
}

SequenceEditorDialog::~SequenceEditorDialog() = default;

void SequenceEditorDialog::buildControls(const QString& indexName, const QString& nameName) {
    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Index", this));
    index_ = new QLabel(this);
    index_->setObjectName(indexName);
    index_->setMinimumWidth(40);
    top->addWidget(index_);
    top->addSpacing(12);
    top->addWidget(new QLabel("1 - Name", this));
    name_ = new QLineEdit(this);
    name_->setObjectName(nameName);
    top->addWidget(name_, 1);
    outer->addLayout(top);

    auto* frame = new QGroupBox("Sequence Definition", this);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel("2 - Sequence", frame), 0, 0, 1, 2);
    edit_ = new EditSequence(frame);
    edit_->setObjectName("EditSequence1");
    grid->addWidget(edit_, 1, 0, 3, 1);
    auto* modeBox = new QGroupBox("Edit Mode", frame);
    modeBox->setObjectName("OptionEditMode");
    auto* modeLayout = new QVBoxLayout(modeBox);
    for (int i = 0; i < 4; ++i) {
        modes_[static_cast<std::size_t>(i)] = new QRadioButton(kModeNames[i], modeBox);
        modes_[static_cast<std::size_t>(i)]->setObjectName(QString("OptionEditMode%1").arg(i));
        modeLayout->addWidget(modes_[static_cast<std::size_t>(i)]);
    }
    grid->addWidget(modeBox, 1, 1);
    cursorPos_ = new QLabel(SequenceEditor::cursorPositionText(0, 0).c_str(), frame);
    cursorPos_->setObjectName("labCursorPos");
    cursorPos_->setToolTip("Cursor Position / Sequence Size");
    grid->addWidget(cursorPos_, 2, 1);
    shortcutLink_ = new ClickableLabel("<u>Control Characters Shortcuts</u>", frame);
    shortcutLink_->setObjectName("labClickShortcut");
    // Disabled until the program can open the options dialog at its shortcut page.
    shortcutLink_->setEnabled(static_cast<bool>(setup_.openShortcutPage));
    grid->addWidget(shortcutLink_, 3, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(3, 1);
    outer->addWidget(frame, 1);

    settingsArea_ = new QVBoxLayout;
    outer->addLayout(settingsArea_);
    buildButtons(outer);
}

void SequenceEditorDialog::buildButtons(QVBoxLayout* outer) {
    auto* row = new QHBoxLayout;
    auto make = [this, row](const char* name, const char* text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        // Enter is the dialog's: it goes to the editor, then to OK when OK is the default.
        button->setAutoDefault(false);
        row->addWidget(button);
        return button;
    };
    back_ = make("cmdBack", "<");
    forward_ = make("cmdForward", ">");
    back_->setMaximumWidth(32);
    forward_->setMaximumWidth(32);
    delete_ = make("cmdDelete", "Delete Sequence");
    row->addStretch();
    ok_ = make("cmdOK", "OK");
    cancel_ = make("cmdCancel", "Cancel");
    apply_ = make("cmdApply", "Apply");
    helpButton_ = make("cmdHelp", "Help");
    outer->addLayout(row);
}

void SequenceEditorDialog::setUpControl(const std::string& allowedSymbols) {
    edit_->setAllowedSpecialCharacters(allowedSymbols);
    edit_->setMaximumLength(std::clamp(setup_.settings.maximumSequenceLen, 1, 32767));
    edit_->setDisplayOption(EditSequence::kDisplayMultiLine);
    edit_->setCharacterColorMode(setup_.settings.editCharacterColorMode);
    edit_->setClipboard(setup_.lists.clipboardText(), setup_.lists.clipboardSequence().IntSequence());
    edit_->setShortcutTable(modShortCutManagement::tableToText(setup_.settings.userShortcuts));
}

void SequenceEditorDialog::attach(SequenceEditor& editor) {
    editor_ = &editor;
    connect(name_, &QLineEdit::textChanged, this, [this] { editor_->contentChanged(); });
    connect(edit_, &EditSequence::contentChanged, this, [this] { editor_->contentChanged(); });
    connect(edit_, &EditSequence::caretMoved, this, [this](int caret) { refreshCursorPosition(caret); });
    for (int i = 0; i < 4; ++i) {
        connect(modes_[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) {
                edit_->setEditRepresentation(static_cast<Representation>(i));
                editor_->editModeChanged(static_cast<Representation>(i));
            }
        });
    }
    connect(back_, &QPushButton::clicked, this, [this] { editor_->back(); });
    connect(forward_, &QPushButton::clicked, this, [this] { editor_->forward(); });
    connect(delete_, &QPushButton::clicked, this, [this] { editor_->deleteSequence(); });
    connect(ok_, &QPushButton::clicked, this, [this] { editor_->ok(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { editor_->cancel(); });
    connect(apply_, &QPushButton::clicked, this, [this] { editor_->apply(); });
    connect(helpButton_, &QPushButton::clicked, this, [this] {
        if (setup_.help != nullptr) {
            setup_.help->showHelpTopic(kHelpContext, helpTopic_);
        }
    });
    connect(shortcutLink_, &ClickableLabel::clicked, this, [this] {
        if (setup_.openShortcutPage) {
            setup_.openShortcutPage();
            edit_->setShortcutTable(modShortCutManagement::tableToText(setup_.settings.userShortcuts));
        }
    });
    watchKeys(this);
}

void SequenceEditorDialog::watchKeys(QWidget* widget) {
    widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

bool SequenceEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && editor_ != nullptr && isVisible()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (!editor_->enterPressed() && ok_->isDefault()) {
                editor_->ok();
            }
            return true;
        }
        if (key == Qt::Key_Escape) {
            editor_->cancel();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SequenceEditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_ && editor_ != nullptr) {
        activated_ = true;
        editor_->activated();
    }
}

void SequenceEditorDialog::reject() {
    if (!closing_ && editor_ != nullptr) {
        editor_->cancel();
        return;
    }
    QDialog::reject();
}

void SequenceEditorDialog::done(int result) {
    if (editor_ != nullptr) {
        std::string text;
        std::vector<CharCode> codes;
        edit_->getClipboard(text, codes);
        ClSequence clipboard;
        clipboard.setSequence(codes);
        editor_->closing(clipboard);
        editor_ = nullptr;
    }
    QDialog::done(result);
}

void SequenceEditorDialog::refreshCursorPosition(int caret) {
    cursorPos_->setText(QString::fromStdString(SequenceEditor::cursorPositionText(caret, edit_->length())));
}

QPushButton* SequenceEditorDialog::button(const QString& objectName) const {
    return findChild<QPushButton*>(objectName);
}

std::string SequenceEditorDialog::caption() const {
    return windowTitle().toStdString();
}

void SequenceEditorDialog::showIndex(int index) {
    index_->setText(QString::number(index));
}

std::string SequenceEditorDialog::name() const {
    return name_->text().toStdString();
}

void SequenceEditorDialog::showName(const std::string& name) {
    name_->setText(QString::fromStdString(name));
}

ClSequence SequenceEditorDialog::sequence() const {
    ClSequence sequence;
    sequence.setSequence(edit_->getSequence());
    return sequence;
}

void SequenceEditorDialog::showSequence(const ClSequence& sequence) {
    edit_->setSequence(sequence.IntSequence());
    refreshCursorPosition(edit_->caretPosition());
}

void SequenceEditorDialog::showEditMode(Representation representation) {
    const auto index = static_cast<std::size_t>(std::clamp(static_cast<int>(representation), 0, 3));
    if (modes_[index]->isChecked()) {
        edit_->setEditRepresentation(representation);
        editor_->editModeChanged(representation);
    } else {
        modes_[index]->setChecked(true);
    }
}

void SequenceEditorDialog::showButtons(const SequenceEditorButtons& buttons) {
    apply_->setEnabled(buttons.apply);
    delete_->setEnabled(buttons.deleteSequence);
    ok_->setDefault(buttons.okDefault);
    back_->setEnabled(buttons.back);
    forward_->setEnabled(buttons.forward);
}

void SequenceEditorDialog::focusName() {
    name_->setFocus();
}

void SequenceEditorDialog::focusSequence() {
    edit_->focusWithCaret(-1);
}

void SequenceEditorDialog::closeDialog() {
    closing_ = true;
    done(QDialog::Accepted);
}

} // namespace corvane
