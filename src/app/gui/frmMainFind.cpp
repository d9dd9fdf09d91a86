// The main window's side of the find dialog: opening and closing it, and the visible
// communication window as the search reads and selects it.
#include "app/gui/CommArea.h"
#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindows.h"
#include "app/gui/HelpSystem.h"
#include "app/gui/ProgramState.h"
#include "app/gui/frmFind.h"
#include "app/gui/frmMain.h"

#include <QTextCursor>

namespace corvane {

void frmMain::showFind() {
    if (findDialog_ == nullptr) {
        frmFind::Hooks hooks;
        hooks.selectedSequence = [this](ClSequence& sequence) {
            return commWindowGetSelectedSequence(sequence);
        };
        hooks.representationChanged = [this](int representation) { setSequencesDisplayMode(representation); };
        hooks.visibilityChanged = [this](bool visible) { findDialogVisible_ = visible; };
        hooks.help = [this] { help_.showHelpTopic(kHelpDisplayTopic, kHelpContents); };
        findDialog_ = new frmFind(*find_, state_.lists, state_.settings, std::move(hooks), this);
    }
    findDialog_->openFind(visibleRepresentation());
}

void frmMain::closeFindDialog() {
    if (findDialog_ != nullptr && findDialog_->isVisible()) {
        findDialog_->closeFind();
    }
}

std::string frmMain::visibleWindowText() const {
    return commArea_->windows().window(visibleView_)->unfoldedPlainText().toStdString();
}

Representation frmMain::visibleRepresentation() const {
    return static_cast<Representation>(std::clamp(visibleView_, 0, 3));
}

void frmMain::selectInVisibleWindow(int start, int length) {
    CommTextEdit* window = commArea_->windows().window(visibleView_);
    QTextCursor cursor(window->document());
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    window->setTextCursor(cursor);
    window->ensureCursorVisible();
}

int frmMain::searchPosition() const {
    return commArea_->windows().caretPosition();
}

void frmMain::setSearchPosition(int position) {
    commArea_->windows().setCaretPosition(position);
}

} // namespace corvane
