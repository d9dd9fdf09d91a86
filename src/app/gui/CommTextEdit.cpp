#include "app/gui/CommTextEdit.h"

#include "app/gui/CommLineFolding.h"
#include "app/gui/CommScrollBarStyle.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>

#include <algorithm>

namespace corvane {

CommTextEdit::CommTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The scroll bars paint every pixel of theirs (see CommScrollBarStyle), so the windows below
    // them need not be painted first each time they move.
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
        bar->setStyle(CommScrollBarStyle::instance());
        bar->setAttribute(Qt::WA_OpaquePaintEvent);
    }
}

void CommTextEdit::defer(const std::string& command) {
    if (hooks_.deferCommand) {
        hooks_.deferCommand(command);
    }
}

void CommTextEdit::copySelection() {
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        return;
    }
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    auto* mime = new QMimeData;
    const QString plain = selectedUnfoldedText();
    mime->setHtml(unfoldedFragment(*document(), cursor.selectionStart(), cursor.selectionEnd()).toHtml());
    mime->setText(plain);
    clipboard->setMimeData(mime);
    if (hooks_.copied) {
        hooks_.copied(plain);
    }
}

int CommTextEdit::foldWidth() const {
    QFont bold = font();
    bold.setBold(true);
    const qreal advance = std::max(QFontMetricsF(font()).horizontalAdvance(QLatin1Char('0')),
                                   QFontMetricsF(bold).horizontalAdvance(QLatin1Char('0')));
    // The width with the vertical scroll bar shown, as it is once the window holds a screenful:
    // the lines keep their length when it appears.
    int viewportWidth = viewport()->width();
    if (!verticalScrollBar()->isVisible()) {
        viewportWidth -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    }
    const qreal room = viewportWidth - 2 * document()->documentMargin() - cursorWidth();
    // One column to spare: a line folded a little early looks the same, one too long would wrap
    // its last word onto a line of its own.
    const int columns = advance > 0 ? static_cast<int>(room / advance) - 1 : 0;
    return columns >= kMinFoldWidth ? columns : 0;
}

int CommTextEdit::foldWidthForAppend() {
    refoldIfNeeded();
    foldedWidth_ = foldWidth();
    return foldedWidth_;
}

void CommTextEdit::refoldIfNeeded() {
    const int width = foldWidth();
    if (width == foldedWidth_ || foldedWidth_ < 0) {
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    refoldDocument(*document(), width);
    foldedWidth_ = width;
    if (atEnd) {
        bar->setValue(bar->maximum());
    }
}

void CommTextEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    refoldIfNeeded();
}

QString CommTextEdit::unfoldedPlainText() const {
    return unfoldedText(*document(), 0, document()->characterCount() - 1);
}

QString CommTextEdit::selectedUnfoldedText() const {
    const QTextCursor cursor = textCursor();
    return unfoldedText(*document(), cursor.selectionStart(), cursor.selectionEnd());
}

void CommTextEdit::pasteClipboard() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (mime == nullptr) {
        return;
    }
    if (running()) {
        if (hooks_.consoleOn && hooks_.consoleOn() && hooks_.pasteAsSequence && mime->hasText()) {
            hooks_.pasteAsSequence(mime->text());
        }
        return;
    }
    keepingFolds([this, mime] {
        QTextCursor cursor = textCursor();
        if (mime->hasHtml()) {
            cursor.insertHtml(mime->html());
        } else if (mime->hasText()) {
            cursor.insertText(mime->text(), commentFormat_);
        }
    });
}

void CommTextEdit::keepingFolds(const std::function<void()>& edit) {
    // The separator that ends the paragraph of the selection's end survives the edit.
    const int state = document()->findBlock(textCursor().selectionEnd()).userState();
    int changeFrom = -1;
    int changeEnd = -1;
    const auto connection =
        connect(document(), &QTextDocument::contentsChange, this, [&](int from, int, int added) {
            changeFrom = changeFrom < 0 ? from : std::min(changeFrom, from);
            changeEnd = std::max(changeEnd, from + added);
        });
    edit();
    disconnect(connection);
    if (changeFrom < 0) {
        return;
    }
    // Qt leaves a split paragraph's state on its first part, but the fold (if the paragraph ended
    // with one) now ends the last part; the line breaks typed or pasted are the user's own.
    QTextBlock last = document()->findBlock(changeEnd);
    QTextBlock block = document()->findBlock(changeFrom);
    if (last.blockNumber() <= block.blockNumber()) {
        return;
    }
    for (; block.isValid() && block != last; block = block.next()) {
        block.setUserState(-1);
    }
    last.setUserState(state);
}

void CommTextEdit::cutSelection() {
    if (running() || !textCursor().hasSelection()) {
        return;
    }
    copySelection();
    deleteSelection();
}

void CommTextEdit::deleteSelection() {
    if (running()) {
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
}

bool CommTextEdit::event(QEvent* event) {
    // Ctrl+Tab would otherwise move the focus out of the window.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ControlModifier)) {
            if (hooks_.nextView) {
                hooks_.nextView();
            }
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void CommTextEdit::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    const int key = event->key();
    if ((ctrl && key == Qt::Key_X) || (shift && key == Qt::Key_Delete)) {
        cutSelection();
        return;
    }
    if (ctrl && (key == Qt::Key_C || key == Qt::Key_Insert)) {
        copySelection();
        return;
    }
    if ((ctrl && key == Qt::Key_V) || (shift && key == Qt::Key_Insert)) {
        pasteClipboard();
        return;
    }
    if (ctrl && key == Qt::Key_A) {
        selectAll();
        return;
    }
    if (ctrl && key == Qt::Key_W) {
        defer("Clean");
        return;
    }
    if (ctrl && key == Qt::Key_F) {
        defer("Find");
        return;
    }
    if (ctrl) {
        // The window's own shortcuts stay with the main window's menus.
        if (key == Qt::Key_S || key == Qt::Key_N || key == Qt::Key_O || key == Qt::Key_P ||
            key == Qt::Key_T) {
            event->ignore();
            return;
        }
        if (key >= Qt::Key_A && key <= Qt::Key_Z) {
            return;
        }
    }
    if (running()) {
        // Typing belongs to the keyboard console; the text can't be changed.
        bool editing = key == Qt::Key_Delete || key == Qt::Key_Backspace || key == Qt::Key_Return ||
                       key == Qt::Key_Enter ||
                       (!event->text().isEmpty() && event->text().at(0).unicode() >= 32);
        if (editing) {
            event->ignore();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    keepingFolds([this, event, ctrl] {
        if (!event->text().isEmpty() && event->text().at(0).unicode() >= 32 && !ctrl) {
            textCursor().insertText(event->text(), commentFormat_);
        } else {
            QPlainTextEdit::keyPressEvent(event);
        }
    });
}

void CommTextEdit::keyReleaseEvent(QKeyEvent* event) {
    QPlainTextEdit::keyReleaseEvent(event);
    if (hooks_.caretMoved) {
        hooks_.caretMoved(textCursor().position());
    }
}

void CommTextEdit::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (hooks_.caretMoved) {
        hooks_.caretMoved(textCursor().position());
    }
}

void CommTextEdit::insertFromMimeData(const QMimeData* source) {
    keepingFolds([this, source] {
        if (source != nullptr && source->hasHtml() && !isReadOnly()) {
            textCursor().insertHtml(source->html());
            ensureCursorVisible();
            return;
        }
        QPlainTextEdit::insertFromMimeData(source);
    });
}

void CommTextEdit::contextMenuEvent(QContextMenuEvent* event) {
    const bool selection = textCursor().hasSelection();
    const bool stopped = !running();
    QMenu menu(this);
    QAction* cut = menu.addAction("Cut", this, &CommTextEdit::cutSelection);
    cut->setEnabled(stopped && selection);
    QAction* copy = menu.addAction("Copy", this, &CommTextEdit::copySelection);
    copy->setEnabled(selection);
    QAction* paste = menu.addAction("Paste", this, &CommTextEdit::pasteClipboard);
    paste->setEnabled(stopped);
    QAction* del = menu.addAction("Delete", this, &CommTextEdit::deleteSelection);
    del->setEnabled(stopped && selection);
    menu.addAction("Select All", this, &QPlainTextEdit::selectAll);
    menu.addSeparator();
    menu.addAction("Find Sequence ...", this, [this] { defer("Find"); });
    menu.addAction("Clear All Communication Windows", this, [this] { defer("Clean"); });
    menu.exec(event->globalPos());
}

} // namespace corvane
