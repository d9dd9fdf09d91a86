#include "app/gui/EditSequence.h"

#include "app/control/SequenceEditHelp.h"
#include "app/control/SequenceEditModel.h"
#include "app/gui/KeyCodes.h"
#include "platform/qt/QtClipboard.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace corvane {

EditSequence::EditSequence(QWidget* parent) : QWidget(parent), model_(std::make_unique<SequenceEditModel>()) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_KeyCompression, false);
    setCursor(Qt::IBeamCursor);
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    setFont(font);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->setCursor(Qt::ArrowCursor);
    connect(scrollBar_, &QScrollBar::valueChanged, this, &EditSequence::scrollToLine);
    placeScrollBar();
    refreshToolTip();
}

EditSequence::~EditSequence() = default;

// ---------------------------------------------------------------- the dialogs' operations

void EditSequence::setAllowedSpecialCharacters(const std::string& symbols) {
    allowed_ = symbols;
    model_->setAllowedSpecialCharacters(symbols);
    refreshToolTip();
}

std::string EditSequence::allowedSpecialCharacters() const {
    return allowed_;
}

void EditSequence::setMaximumLength(int maximum) {
    model_->setMaximumLength(maximum);
}

int EditSequence::maximumLength() const {
    return model_->maximumLength();
}

void EditSequence::setDisplayOption(int option) {
    if (option != kDisplaySingleLine && option != kDisplayMultiLine) {
        return;
    }
    displayOption_ = option;
    setSizePolicy(QSizePolicy::Expanding,
                  option == kDisplaySingleLine ? QSizePolicy::Fixed : QSizePolicy::Expanding);
    firstLine_ = 0;
    firstCell_ = 0;
    placeScrollBar();
    updateGeometry();
    afterCommand({});
}

int EditSequence::displayOption() const {
    return displayOption_;
}

void EditSequence::setCharacterColorMode(int mode) {
    colorMode_ = mode == 1 ? 1 : 0;
    update();
}

int EditSequence::characterColorMode() const {
    return colorMode_;
}

void EditSequence::setEditRepresentation(Representation representation) {
    const int before = model_->length();
    model_->setRepresentation(representation);
    refreshToolTip();
    afterCommand(SequenceEditModel::Outcome{model_->length() != before, false});
}

Representation EditSequence::editRepresentation() const {
    return model_->representation();
}

int EditSequence::length() const {
    return model_->length();
}

void EditSequence::setSequence(const std::vector<CharCode>& codes) {
    model_->setCodes(codes);
    firstLine_ = 0;
    firstCell_ = 0;
    // The dialog's position label is shown afresh for every sequence.
    reportedCaret_ = -1;
    afterCommand({});
}

std::vector<CharCode> EditSequence::getSequence() const {
    return model_->sequenceWithEndMarker();
}

void EditSequence::setClipboard(const std::string& text, const std::vector<CharCode>& codes) {
    model_->setSequenceClipboard(text, codes);
}

void EditSequence::getClipboard(std::string& text, std::vector<CharCode>& codes) const {
    text = model_->clipboardText();
    codes = model_->clipboardSequence();
}

void EditSequence::setShortcutTable(const std::string& text) {
    model_->setShortcutTable(text);
    refreshToolTip();
}

void EditSequence::focusWithCaret(int position) {
    const int target = position < 0 ? model_->length() : position;
    const auto outcome = model_->moveCaret(target, false);
    setFocus(Qt::OtherFocusReason);
    reportedCaret_ = -1;
    afterCommand(outcome);
}

int EditSequence::caretPosition() const {
    return model_->caret();
}

const SequenceEditModel& EditSequence::model() const {
    return *model_;
}

// ---------------------------------------------------------------- commands

void EditSequence::afterCommand(SequenceEditModel::Outcome outcome) {
    if (outcome.refused) {
        QApplication::beep();
    }
    if (outcome.changed) {
        emit contentChanged();
    }
    ensureCaretVisible();
    update();
    // The position label shows the length as well, so a change of either is reported.
    if (model_->caret() != reportedCaret_ || model_->length() != reportedLength_) {
        reportedCaret_ = model_->caret();
        reportedLength_ = model_->length();
        emit caretMoved(reportedCaret_);
    }
}

void EditSequence::undo() {
    afterCommand(model_->undo());
}

void EditSequence::redo() {
    afterCommand(model_->redo());
}

void EditSequence::cut() {
    QtClipboard clipboard;
    afterCommand(model_->cut(clipboard));
}

void EditSequence::copy() {
    QtClipboard clipboard;
    // A token typed halfway is part of what the user sees selected.
    const auto completed = model_->completePartial();
    model_->copy(clipboard);
    afterCommand(completed);
}

void EditSequence::paste() {
    QtClipboard clipboard;
    afterCommand(model_->paste(clipboard));
}

void EditSequence::selectAll() {
    afterCommand(model_->selectAll());
}

bool EditSequence::runStandardKey(const QKeyEvent& key) {
    if (key.matches(QKeySequence::Undo)) {
        undo();
    } else if (key.matches(QKeySequence::Redo) ||
               (key.key() == Qt::Key_Y && key.modifiers() == Qt::ControlModifier)) {
        redo();
    } else if (key.matches(QKeySequence::Cut)) {
        cut();
    } else if (key.matches(QKeySequence::Copy)) {
        copy();
    } else if (key.matches(QKeySequence::Paste)) {
        paste();
    } else if (key.matches(QKeySequence::SelectAll)) {
        selectAll();
    } else {
        return false;
    }
    return true;
}

bool EditSequence::runMoveKey(const QKeyEvent& key) {
    static constexpr int kMoveKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home,
                                        Qt::Key_End,  Qt::Key_Up,    Qt::Key_Down};
    if (std::find(std::begin(kMoveKeys), std::end(kMoveKeys), key.key()) == std::end(kMoveKeys)) {
        return false;
    }
    // A token typed halfway is taken first; Right then only steps behind it.
    const bool typing = !model_->partialToken().empty();
    const auto completed = model_->completePartial();
    const bool extend = (key.modifiers() & Qt::ShiftModifier) != 0;
    const int caret = model_->caret();
    int target = caret;
    switch (key.key()) {
    case Qt::Key_Left:
        // Without Shift a selection collapses to its start.
        target = model_->hasSelection() && !extend ? model_->selectionStart() : caret - 1;
        break;
    case Qt::Key_Right:
        target = model_->hasSelection() && !extend ? model_->selectionEnd() : caret + (typing ? 0 : 1);
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = model_->length();
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        target = positionOnNextLine(key.key() == Qt::Key_Up ? -1 : 1);
        break;
    default:
        break;
    }
    auto outcome = model_->moveCaret(target, extend);
    outcome.changed = outcome.changed || completed.changed;
    outcome.refused = outcome.refused || completed.refused;
    afterCommand(outcome);
    return true;
}

// A key bound to a character: a keyboard shortcut of the table, or Alt with an editor character.
int EditSequence::codeOfBoundKey(const QKeyEvent& key) const {
    // Shortcuts are keys with Ctrl or Alt; Shift alone types capitals.
    const int shiftState = shiftStateOf(key.modifiers());
    if (shiftState > modShortCutManagement::kShift) {
        const int shortcut = model_->shortcutCode(virtualKeyOf(key.key()), shiftState);
        if (shortcut >= 0) {
            return shortcut;
        }
    }
    const bool altOnly = (key.modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == Qt::AltModifier;
    if (altOnly && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) {
        const bool upper = (key.modifiers() & Qt::ShiftModifier) != 0;
        const char letter = static_cast<char>((upper ? 'A' : 'a') + (key.key() - Qt::Key_A));
        return model_->editorCharacterCode(letter);
    }
    return -1;
}

void EditSequence::keyPressEvent(QKeyEvent* event) {
    const int bound = codeOfBoundKey(*event);
    if (bound >= 0) {
        afterCommand(model_->typeCode(bound));
        return;
    }
    if (runStandardKey(*event) || runMoveKey(*event)) {
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
        afterCommand(model_->backspace());
        return;
    case Qt::Key_Delete:
        afterCommand(model_->deleteForward());
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Left to the dialog: default button, Cancel, focus chain.
        event->ignore();
        return;
    default:
        break;
    }
    const bool commandKey = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0;
    const QString text = event->text();
    if (!commandKey && !text.isEmpty() && text.at(0).unicode() >= 32) {
        afterCommand(model_->typeText(text.toStdString()));
        return;
    }
    if ((event->modifiers() & Qt::AltModifier) != 0 && event->key() >= Qt::Key_A &&
        event->key() <= Qt::Key_Z) {
        // Alt with a letter that stands for no character.
        QApplication::beep();
        return;
    }
    event->ignore();
}

// Keys the field uses itself: typing, editing and moving keys, its standard commands and the keys
// bound to characters. Enter, Esc, Tab and the function keys stay the dialog's.
bool EditSequence::usesKey(const QKeyEvent& key) const {
    if (codeOfBoundKey(key) >= 0 || key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo) ||
        key.matches(QKeySequence::Cut) || key.matches(QKeySequence::Copy) ||
        key.matches(QKeySequence::Paste) || key.matches(QKeySequence::SelectAll) ||
        (key.key() == Qt::Key_Y && key.modifiers() == Qt::ControlModifier)) {
        return true;
    }
    if ((key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0) {
        return false;
    }
    switch (key.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return true;
    default:
        return !key.text().isEmpty() && key.text().at(0).unicode() >= 32;
    }
}

bool EditSequence::event(QEvent* event) {
    // The dialog's shortcuts and mnemonics must not take keys the field uses.
    if (event->type() == QEvent::ShortcutOverride && usesKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

// ---------------------------------------------------------------- mouse

void EditSequence::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const bool extend = (event->modifiers() & Qt::ShiftModifier) != 0;
        // The token typed halfway keeps its width when taken, so the point stays on the same token.
        const auto completed = model_->completePartial();
        auto outcome = model_->moveCaret(positionAtPoint(event->position().toPoint()), extend);
        outcome.changed = outcome.changed || completed.changed;
        afterCommand(outcome);
        dragging_ = true;
    }
    QWidget::mousePressEvent(event);
}

void EditSequence::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        afterCommand(model_->moveCaret(positionAtPoint(event->position().toPoint()), true));
    }
}

void EditSequence::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

void EditSequence::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        selectAll();
    }
}

void EditSequence::wheelEvent(QWheelEvent* event) {
    if (displayOption_ == kDisplayMultiLine) {
        scrollToLine(firstLine_ - event->angleDelta().y() / 120);
        event->accept();
        return;
    }
    QWidget::wheelEvent(event);
}

void EditSequence::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(tr("&Undo"), this, &EditSequence::undo)->setEnabled(model_->canUndo());
    menu.addAction(tr("&Redo"), this, &EditSequence::redo)->setEnabled(model_->canRedo());
    menu.addSeparator();
    menu.addAction(tr("Cu&t"), this, &EditSequence::cut)->setEnabled(model_->hasSelection());
    menu.addAction(tr("&Copy"), this, &EditSequence::copy)->setEnabled(model_->hasSelection());
    menu.addAction(tr("&Paste"), this, &EditSequence::paste);
    menu.addSeparator();
    menu.addAction(tr("Select &All"), this, &EditSequence::selectAll);
    menu.exec(event->globalPos());
}

void EditSequence::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void EditSequence::focusOutEvent(QFocusEvent* event) {
    // A token typed halfway is taken as it stands when the user leaves the field.
    if (event->reason() != Qt::PopupFocusReason) {
        afterCommand(model_->completePartial());
    }
    QWidget::focusOutEvent(event);
}

void EditSequence::refreshToolTip() {
    setToolTip(QString::fromStdString(sequenceEditToolTip(*model_)));
}

} // namespace corvane
