// What the main window shows for the controller, its keys, its close and the files dropped on it,
// and its placement.
#include "app/control/DisplayStatus.h"
#include "app/control/KeyboardCommands.h"
#include "app/gui/ClickableLabel.h"
#include "app/gui/CommArea.h"
#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindows.h"
#include "app/gui/HelpSystem.h"
#include "app/gui/KeyCodes.h"
#include "app/gui/MainMenus.h"
#include "app/gui/MainStatusBar.h"
#include "app/gui/ProgramState.h"
#include "app/gui/SequenceListTable.h"
#include "app/gui/SequenceListsPanel.h"
#include "app/gui/frmMain.h"
#include "app/gui/frmRTFNotepad.h"
#include "persistence/ProgramSettings.h"
#include "persistence/WindowPlacement.h"
#include "sequences/Windows1252.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QSplitter>
#include <QTabBar>
#include <QUrl>

namespace corvane {

CommWindows& frmMain::commWindows() {
    return commArea_->windows();
}

QTabBar* frmMain::tabBar() const {
    return commArea_->tabs();
}

SequenceListTable* frmMain::sendListWidget() const {
    return lists_->table(SequenceListKind::Send);
}

SequenceListTable* frmMain::receiveListWidget() const {
    return lists_->table(SequenceListKind::Receive);
}

QLabel* frmMain::statusPanel(int panel) const {
    return statusBar_->statusPanel(panel);
}

QLabel* frmMain::lineIndicator(int line) const {
    return statusBar_->lineIndicator(line);
}

QAction* frmMain::action(const std::string& key) const {
    return menus_->action(key);
}

QAction* frmMain::toolAction(const std::string& key) const {
    return menus_->toolAction(key);
}

// MainWindowView.

void frmMain::showCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

std::string frmMain::caption() const {
    return windowTitle().toStdString();
}

void frmMain::showCommandStates(const CommandStates& states) {
    if (menus_ == nullptr) {
        return;
    }
    menus_->showCommandStates(states);
    lists_->changeModeLabel()->setEnabled(states.changeModeEnabled);
    commArea_->commWindowModesLabel()->setEnabled(states.commWindowModesEnabled);
    expertLabel_->setEnabled(states.expertEnabled);
    filterLabel_->setEnabled(states.filterEnabled);
}

void frmMain::showClickLabels(const ClickLabels& labels) {
    lists_->showReceiveOnlyOverlay(labels.receiveOnlyOverlay);
    expertLabel_->setText(QString::fromStdString(labels.expertText));
    expertLabel_->setVisible(!labels.expertText.empty());
    filterLabel_->setText(QString::fromStdString(labels.filterText));
    filterLabel_->setVisible(!labels.filterText.empty());
    consoleLabel_->setVisible(labels.consoleShown);
    lists_->setSendButtonsEnabled(!keyboardConsole());
}

void frmMain::setCommTabs() {
    const int previous = visibleView_;
    visibleView_ = std::clamp(tabBar()->currentIndex(), 0, 3);
    const bool windowSwitchedOff = state_.logging.loggingRuns() && state_.settings.logCommWindowDisabled;
    const SnapshotMode& snapshot = controller_->snapshot();
    commWindows().setSnapshotState(snapshot.modeOn(), snapshot.triggered());
    commArea_->showView(visibleView_, windowSwitchedOff, snapshot.waiting());
    // What arrived for the view while it was hidden shows at once, not at the next window refresh.
    if (visibleView_ != previous && !windowSwitchedOff) {
        copyCommWindowBuffers();
    }
    if (state_.settings.dispSequListRepresentation != visibleView_) {
        setSequencesDisplayMode(visibleView_);
    }
}

void frmMain::setSequencesDisplayMode(int representation) {
    representation = std::clamp(representation, 0, 3);
    if (state_.settings.dispSequListRepresentation != representation) {
        state_.settings.dispSequListRepresentation = representation;
        RefreshSendSeqList1();
        RefreshReceiveSeqList1();
    }
    if (tabBar()->currentIndex() != representation) {
        tabBar()->setCurrentIndex(representation);
    }
}

void frmMain::selectNextView() {
    const bool enabled[4] = {commWindows().viewEnabled(0), commWindows().viewEnabled(1),
                             commWindows().viewEnabled(2), commWindows().viewEnabled(3)};
    tabBar()->setCurrentIndex(nextEnabledView(visibleView_, enabled));
    tabBar()->setFocus();
}

void frmMain::setWaitCursor(bool waiting) {
    if (waiting) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        while (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
    }
}

void frmMain::rebuildRecentMenu() {
    // The list keeps directory + base name; the file is the project file.
    const auto& entries = state_.settings.recent[kRecentProjects];
    std::array<std::string, 4> paths;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        paths[i] = entries[i].empty() ? std::string() : entries[i] + ".ptp";
    }
    menus_->showRecentProjects(paths);
}

void frmMain::refreshSequenceList(SequenceListKind kind) {
    if (kind == SequenceListKind::Send) {
        lists_->setSendButtonsEnabled(!keyboardConsole());
    }
    lists_->refresh(kind);
}

void frmMain::refreshSendRow(int index) {
    lists_->refreshSendRow(index);
}

void frmMain::selectSequenceRow(SequenceListKind kind, int row, bool focus) {
    lists_->selectRow(kind, row, focus);
}

void frmMain::InitCommWindows() {
    commWindows().InitCommWindows();
}

bool frmMain::copyCommWindowBuffers() {
    return commWindows().copyCommWindowBuffers(communicationRuns(), visibleView_);
}

void frmMain::clearCommWindows() {
    commWindows().ClearCommWindows();
}

void frmMain::emptyCommWindows() {
    commWindows().emptyWindows();
}

void frmMain::clearSnapshotMarkers() {
    commWindows().clearSnapshotMarkers();
}

void frmMain::focusVisibleCommWindow() {
    commWindows().window(visibleView_)->setFocus();
}

bool frmMain::commWindowGetSelectedSequence(ClSequence& sequence) {
    const CommTextEdit* window = commWindows().window(visibleView_);
    const std::string text =
        window->textCursor().hasSelection() ? window->selectedUnfoldedText().toStdString() : std::string();
    return controller_->readSequence(text, visibleView_, sequence);
}

void frmMain::processEvents(bool waitForMore) {
    QApplication::processEvents(waitForMore ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

void frmMain::closeAfterInternalError() {
    QMetaObject::invokeMethod(this, "close", Qt::QueuedConnection);
}

void frmMain::minimiseAll() {
    setWindowState(windowState() | Qt::WindowMinimized);
    notepad_->setWindowState(notepad_->windowState() | Qt::WindowMinimized);
}

// Keys: the window sees them before its controls.

bool frmMain::handleConsoleKey(QKeyEvent* event) {
    if (!keyboardConsole() || !communicationRuns()) {
        return false;
    }
    TypedKey key;
    key.virtualKey = virtualKeyOf(event->key());
    key.shiftState = shiftStateOf(event->modifiers());
    key.returnKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    for (QChar c : event->text()) {
        key.codes.push_back(windows1252::fromUnicode(c.unicode()));
    }
    const ClSequence characters = keyboardConsoleCharacters(state_.settings, key);
    if (characters.size() == 0) {
        return false;
    }
    communicationPass().sendTyped(characters);
    return true;
}

bool frmMain::handleWindowKey(QKeyEvent* event) {
    const WindowKey key =
        windowKeyOf(virtualKeyOf(event->key()), (event->modifiers() & Qt::ControlModifier) != 0);
    switch (key.action) {
    case WindowKey::Action::Command:
        setPendingCommand(key.command);
        return true;
    case WindowKey::Action::ShowNotepad:
        controller_->commands().runNow("Notepad");
        return true;
    case WindowKey::Action::NextView:
        selectNextView();
        return true;
    case WindowKey::Action::None:
        break;
    }
    return handleConsoleKey(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this && QApplication::activeModalWidget() == nullptr &&
            handleWindowKey(static_cast<QKeyEvent*>(event))) {
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent* event) {
    help_.closeAll();
    const bool firstRequest = !state_.stopRequested;
    if (!controller_->closeRequested()) {
        event->ignore();
        return;
    }
    if (firstRequest && isVisible()) {
        writeMainWindowPlacement(*state_.store, *this, state_.settings);
    }
    notepad_->unload(*state_.store, state_.settings);
    controller_->unload();
    event->accept();
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (isEnabled() && event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    if (!isEnabled()) {
        return;
    }
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        paths.push_back(url.toLocalFile().toStdString());
    }
    if (controller_->project().openDroppedFiles(paths)) {
        event->acceptProposedAction();
    }
}

// Placement, in twips.

TwipRect frmMain::bounds() const {
    const double tx = state_.screens.twipsPerPixelX();
    const double ty = state_.screens.twipsPerPixelY();
    QRect r = isMaximized() ? frameGeometry() : normalGeometry();
    if (!r.isValid()) {
        r = frameGeometry();
    }
    return TwipRect{static_cast<float>(r.x() * tx), static_cast<float>(r.y() * ty),
                    static_cast<float>(r.width() * tx), static_cast<float>(r.height() * ty)};
}

void frmMain::setBounds(const TwipRect& b) {
    const double tx = state_.screens.twipsPerPixelX();
    const double ty = state_.screens.twipsPerPixelY();
    if (tx <= 0 || ty <= 0 || b.width <= 0 || b.height <= 0) {
        return;
    }
    setGeometry(static_cast<int>(b.left / tx), static_cast<int>(b.top / ty), static_cast<int>(b.width / tx),
                static_cast<int>(b.height / ty));
}

float frmMain::verticalSplitter() const {
    auto sizes = verticalSplitter_->sizes();
    return sizes.isEmpty() ? 0.0F : static_cast<float>(sizes[0] * state_.screens.twipsPerPixelX());
}

float frmMain::horizontalSplitter() const {
    auto sizes = lists_->sizes();
    return sizes.isEmpty() ? 0.0F : static_cast<float>(sizes[0] * state_.screens.twipsPerPixelY());
}

void frmMain::setSplitters(float vertical, float horizontal) {
    const double tx = state_.screens.twipsPerPixelX();
    const double ty = state_.screens.twipsPerPixelY();
    if (vertical > 0 && tx > 0) {
        const int left = static_cast<int>(vertical / tx);
        const int total = std::max(verticalSplitter_->width(), width());
        verticalSplitter_->setSizes({left, std::max(total - left, 107)});
    }
    if (horizontal > 0 && ty > 0) {
        const int top = static_cast<int>(horizontal / ty);
        const int total = std::max(lists_->height(), height() - 120);
        lists_->setSizes({top, std::max(total - top, 60)});
    }
}

} // namespace corvane
