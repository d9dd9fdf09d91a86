#include "app/gui/NotepadTextEdit.h"

#include "app/control/NotepadController.h"
#include "app/gui/KeyCodes.h"
#include "app/gui/RichTextConversion.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

namespace corvane {

namespace {

// The names Rich Text Format goes by on the clipboard, the usual one first.
const char* const kRtfMimeTypes[] = {"text/rtf", "application/rtf", "text/richtext"};

bool isTypedCharacter(const QKeyEvent& event) {
    const int key = event.key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backspace) {
        return true;
    }
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
}

} // namespace

NotepadTextEdit::NotepadTextEdit(NotepadController& controller, QWidget* parent)
    : QTextEdit(parent), controller_(controller) {
    setObjectName("rtfNotepad");
    setAcceptRichText(true);
    setTabChangesFocus(false);
}

void NotepadTextEdit::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    const NotepadCommand command = notepadCommandOfKey(virtualKeyOf(event->key()), ctrl, shift);
    if (command != NotepadCommand::None) {
        controller_.runCommand(command);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        QTextEdit::keyPressEvent(event);
        controller_.textChangedByUser();
        return;
    }
    if (!ctrl && isTypedCharacter(*event)) {
        const QTextCursor cursor = textCursor();
        controller_.characterTyped(!cursor.hasSelection() && cursor.atEnd());
    }
    QTextEdit::keyPressEvent(event);
}

void NotepadTextEdit::contextMenuEvent(QContextMenuEvent* event) {
    const NotepadMenuStates states = notepadMenuStatesOf(textCursor().hasSelection());
    QMenu menu(this);
    auto add = [this, &menu](const char* text, bool enabled, NotepadCommand command) {
        QAction* item = menu.addAction(text, this, [this, command] { controller_.runCommand(command); });
        item->setEnabled(enabled);
    };
    add("Cut", states.cut, NotepadCommand::Cut);
    add("Copy", states.copy, NotepadCommand::Copy);
    add("Paste", states.paste, NotepadCommand::Paste);
    add("Delete", states.remove, NotepadCommand::Delete);
    menu.addSeparator();
    add("Select All", states.selectAll, NotepadCommand::SelectAll);
    add("Default Font", states.defaultFont, NotepadCommand::DefaultFont);
    menu.exec(event->globalPos());
}

QMimeData* NotepadTextEdit::createMimeDataFromSelection() const {
    QMimeData* mime = QTextEdit::createMimeDataFromSelection();
    const std::string rtf = writeRtf(richTextOfSelection(textCursor()));
    for (const char* type : kRtfMimeTypes) {
        mime->setData(type, QByteArray::fromStdString(rtf));
    }
    return mime;
}

bool NotepadTextEdit::canInsertFromMimeData(const QMimeData* source) const {
    for (const char* type : kRtfMimeTypes) {
        if (source->hasFormat(type)) {
            return true;
        }
    }
    return QTextEdit::canInsertFromMimeData(source);
}

void NotepadTextEdit::insertFromMimeData(const QMimeData* source) {
    for (const char* type : kRtfMimeTypes) {
        if (source->hasFormat(type)) {
            QTextCursor cursor = textCursor();
            insertRichText(cursor, readRtf(source->data(type).toStdString()), controller_.defaultFormat());
            setTextCursor(cursor);
            ensureCursorVisible();
            return;
        }
    }
    QTextEdit::insertFromMimeData(source);
}

} // namespace corvane
