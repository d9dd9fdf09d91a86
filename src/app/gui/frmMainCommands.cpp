// The main window's commands: the deferred command table, the project commands and the actions of
// the two sequence lists.
#include "app/gui/CommWindows.h"
#include "app/gui/CommunicationPass.h"
#include "app/gui/ProgramState.h"
#include "app/gui/frmMain.h"
#include "persistence/ProgramSettings.h"
#include "persistence/ProjectEnvironment.h"
#include "persistence/ProjectFiles.h"
#include "sequences/CharacterRepresentation.h"

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QStandardPaths>
#include <QTableWidget>
#include <QToolButton>

#include <filesystem>

namespace corvane {

namespace {

// A list cell showing a sequence as the clipboard writes it (no blanks between ASCII characters),
// with the whole text as tool tip for sequences wider than the column.
QTableWidgetItem* sequenceItem(const ClSequence& sequence, Representation representation) {
    const QString text = QString::fromStdString(sequence.getClipboardText(representation));
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    return item;
}

} // namespace

void frmMain::runCommand(const std::string& key) {
    setPendingCommand(key);
    runDeferredCommand();
}

const std::set<std::string>& dialogCommandKeys() {
    static const std::set<std::string> keys{"ProjectSettings",
                                            "ProjectSettings2",
                                            "ProjectSettings3",
                                            "Options",
                                            "Options2",
                                            "ExpOptions",
                                            "Find",
                                            "Print",
                                            "LogStart",
                                            "SnapStart",
                                            "SnapStop",
                                            "EditSendSeq",
                                            "EditReceiveSeq"};
    return keys;
}

void frmMain::setDialogCommand(const std::string& key, std::function<void()> command) {
    if (command) {
        dialogCommands_[key] = std::move(command);
    } else {
        dialogCommands_.erase(key);
    }
    setToolAndMenuStates();
}

bool frmMain::dialogCommandAvailable(const std::string& key) const {
    return dialogCommands_.count(key) != 0;
}

void frmMain::runDeferredCommand() {
    if (pendingCommand_.empty()) {
        return;
    }
    std::string command = pendingCommand_;
    pendingCommand_.clear();
    if (command == "New") {
        execProjectNew();
    } else if (command == "Open") {
        execLoadProject(std::string(), false);
    } else if (command == "Save") {
        execSaveProject();
    } else if (command == "Start") {
        execUserStart();
    } else if (command == "Stop") {
        execUserStop();
    } else if (command == "Clean") {
        ClearCommWindows();
    } else if (command == "LogStop") {
        state_.logging.stopLogging(false);
        setMainScreenDisplayStatus();
    } else if (command == "ConsoleOn") {
        consoleOn();
    } else if (command == "ConsoleOff") {
        consoleOff();
    } else if (dialogCommandKeys().count(command) != 0) {
        // A window that isn't there leaves everything as it is.
        auto it = dialogCommands_.find(command);
        if (it != dialogCommands_.end()) {
            // A copy: the command may replace its own registration.
            std::function<void()> run = it->second;
            run();
        }
    }
    // Any other key is dropped.
}

std::string frmMain::documentsFolder() const {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    std::string result = folder.toStdString();
    if (result.empty() || result.back() != kDirectorySeparator) {
        result.push_back(kDirectorySeparator);
    }
    return result;
}

std::string frmMain::askForProjectFile(const std::string& title, const std::string& directory, bool save,
                                       int& filter) {
    if (fileDialog_) {
        return fileDialog_(title, directory, save, filter);
    }
    QStringList filters;
    if (save) {
        filters << "Corvane Project File (*.ptp)"
                << "Corvane V1.6 Project File (*.ptp)"
                << "Corvane V1.3-V1.5 Project File (*.ptp)";
    } else {
        filters << "Corvane Project Files (*.ptp)";
    }
    QFileDialog dialog(this, QString::fromStdString(title), QString::fromStdString(directory));
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix("ptp");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    filter = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    if (filter < 0) {
        filter = 0;
    }
    return dialog.selectedFiles().first().toStdString();
}

bool frmMain::VerifyIfSaveActualProject() {
    if (!modified_) {
        return true;
    }
    MessageRequest request;
    request.text = "Save changes for this project?";
    request.icon = MessageIcon::Question;
    request.buttons = MessageButtons::YesNoCancel;
    switch (state_.messages.show(request)) {
    case MessageResult::Yes:
        return execSaveProject();
    case MessageResult::No:
        return true;
    default:
        return false;
    }
}

void frmMain::execProjectNew(bool askToSave) {
    if (askToSave && !VerifyIfSaveActualProject()) {
        return;
    }
    execUserStop();
    ProjectEnvironment env = environment();
    startNewProject(env);
    closeFindDialog();
    setWindowCaption();
    DisableSave();
    setMainScreenDisplayStatus();
    RefreshSendSeqList1();
    RefreshReceiveSeqList1();
}

bool frmMain::execSaveProject() {
    execUserStop();
    if (state_.current.directory.empty() || state_.current.baseName.empty()) {
        return execSaveProjectAs();
    }
    ProjectEnvironment env = environment();
    bool saved =
        saveProject(env, state_.current.directory, state_.current.baseName, kCurrentProjectFileVersion);
    if (saved) {
        DisableSave();
        setWindowCaption();
    }
    return saved;
}

bool frmMain::execSaveProjectAs() {
    execUserStop();
    std::string directory =
        state_.current.directory.empty() ? state_.settings.projectPath : state_.current.directory;
    if (directory.empty()) {
        directory = documentsFolder();
    }
    for (;;) {
        int filter = 0;
        std::string path =
            askForProjectFile(kSaveProjectTitle, directory + state_.current.baseName, true, filter);
        if (path.empty()) {
            return false;
        }
        int version = kSaveFilterVersions[std::clamp(filter, 0, 2)];
        MessageResult answer = askSaveAsOlderVersion(state_.messages, version);
        if (answer == MessageResult::No) {
            continue;
        }
        if (answer == MessageResult::Cancel) {
            return false;
        }
        ProjectIdentity target = projectIdentityOf(path);
        if (target.baseName.empty()) {
            continue;
        }
        ProjectEnvironment env = environment();
        bool saved = saveProject(env, target.directory, target.baseName, version);
        if (saved) {
            DisableSave();
            setWindowCaption();
        }
        return saved;
    }
}

void frmMain::execLoadProject(const std::string& initialDirectory, bool addToProject) {
    if (!VerifyIfSaveActualProject()) {
        return;
    }
    execUserStop();
    std::string directory = initialDirectory;
    if (directory.empty()) {
        directory = state_.current.directory.empty() ? state_.settings.projectPath : state_.current.directory;
    }
    if (directory.empty()) {
        directory = documentsFolder();
    }
    int filter = 0;
    std::string path = askForProjectFile(addToProject ? kImportSequenceListTitle : kOpenProjectTitle,
                                         directory, false, filter);
    if (path.empty()) {
        return;
    }
    ProjectIdentity chosen = projectIdentityOf(path);
    ProjectEnvironment env = environment();
    loadProject(env, chosen.directory, chosen.baseName, addToProject);
    setMainScreenDisplayStatus();
}

bool frmMain::OpenExistingProject(const std::string& path) {
    ProjectIdentity identity = projectIdentityOf(path);
    std::error_code error;
    if (identity.baseName.empty() || !std::filesystem::is_regular_file(identity.projectFilePath(), error)) {
        state_.messages.inform("Could not find project file " + path, MessageIcon::Error);
        return false;
    }
    execUserStop();
    ProjectEnvironment env = environment();
    // The loader reports what went wrong with the file itself, and a question the user declined
    // is no error; anything that escapes it is.
    bool loaded = false;
    try {
        loaded = loadProject(env, identity.directory, identity.baseName, false);
    } catch (const std::exception&) {
        state_.messages.inform("Error while trying to open project " + path, MessageIcon::Error);
        execProjectNew(false);
        return false;
    }
    setMainScreenDisplayStatus();
    return loaded;
}

bool frmMain::OpenExistingNotepad(const std::string& path) {
    ProjectIdentity identity = projectIdentityOf(path);
    std::error_code error;
    if (identity.baseName.empty() || !std::filesystem::is_regular_file(identity.notepadFilePath(), error)) {
        state_.messages.inform("Could not find notepad file " + path, MessageIcon::Error);
        return false;
    }
    if (std::filesystem::is_regular_file(identity.projectFilePath(), error)) {
        return OpenExistingProject(identity.projectFilePath());
    }
    execProjectNew(false);
    if (!state_.notepad.LoadRTFContents(identity.directory, identity.baseName)) {
        state_.messages.inform("Error while trying to open notepad file " + path, MessageIcon::Error);
        return false;
    }
    state_.notepad.show();
    state_.current = identity;
    setWindowCaption();
    return true;
}

void frmMain::execSwapSequenceList() {
    if (!VerifyIfSaveActualProject()) {
        return;
    }
    execUserStop();
    MessageRequest request;
    request.text =
        "Converting Send Sequences into Receive Sequences (and vice versa). All specific 'send' or "
        "'receive' information, e.g. actions defined for receive sequences, will be lost! Are you sure "
        "to swap the sequence lists?";
    request.title = "Swap Send and Receive Sequence List";
    request.icon = MessageIcon::Warning;
    request.buttons = MessageButtons::OKCancel;
    request.defaultButton = 1;
    if (state_.messages.show(request) == MessageResult::OK) {
        state_.lists.swapLists();
    }
}

void frmMain::assignChannelSettings() {
    if (!state_.communication) {
        return;
    }
    state_.channel1->setChannelSettings(state_.communication->setupCommChannelObjects(0));
    state_.channel2->setChannelSettings(state_.communication->setupCommChannelObjects(1));
}

// Sequence lists.

void frmMain::refreshSendRow(int index) {
    const auto& list = state_.lists.sendList();
    if (index < 0 || index >= list.sequenceCount() || index >= sendList_->rowCount()) {
        return;
    }
    const auto representation = static_cast<Representation>(state_.settings.dispSequListRepresentation);
    const auto& record = list[index];
    const bool periodic = record.repeat > 0;
    auto* send = qobject_cast<QToolButton*>(sendList_->cellWidget(index, 0));
    if (send == nullptr) {
        send = new QToolButton(sendList_);
        send->setObjectName(QString("cmdSend%1").arg(index));
        connect(send, &QToolButton::clicked, this, [this, index] {
            const auto& entries = state_.lists.sendList();
            if (index >= entries.sequenceCount()) {
                return;
            }
            // A periodic sequence starts and stops its periodic sending.
            SendKind kind =
                entries[index].repeat > 0
                    ? (entries[index].repeatRunning > 0 ? SendKind::StopPeriodic : SendKind::StartPeriodic)
                    : SendKind::Once;
            sendFromList(index, kind);
        });
        sendList_->setCellWidget(index, 0, send);
    }
    send->setText(periodic && record.repeatRunning > 0 ? "Stop" : "Send");
    send->setEnabled(!console_);
    sendList_->setItem(index, 1, new QTableWidgetItem(QString::fromStdString(record.name)));
    sendList_->setItem(index, 2, sequenceItem(record.sequence, representation));
    // "R": sent periodically.
    sendList_->setItem(index, 3, new QTableWidgetItem(periodic && record.repeatInterval > 0 ? "R" : ""));
}

void frmMain::RefreshSendSeqList1() {
    const int selected = sendList_->currentRow();
    sendList_->setRowCount(0);
    sendList_->setRowCount(state_.lists.sendList().sequenceCount());
    for (int i = 0; i < sendList_->rowCount(); ++i) {
        refreshSendRow(i);
    }
    if (selected >= 0 && selected < sendList_->rowCount()) {
        sendList_->selectRow(selected);
    }
}

void frmMain::RefreshReceiveSeqList1() {
    const int selected = receiveList_->currentRow();
    const auto representation = static_cast<Representation>(state_.settings.dispSequListRepresentation);
    const auto& list = state_.lists.receiveList();
    QSignalBlocker block(receiveList_);
    receiveList_->setRowCount(0);
    receiveList_->setRowCount(list.sequenceCount());
    for (int i = 0; i < list.sequenceCount(); ++i) {
        const auto& record = list[i];
        auto* active = new QTableWidgetItem;
        active->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        active->setCheckState(record.active > 0 ? Qt::Checked : Qt::Unchecked);
        receiveList_->setItem(i, 0, active);
        receiveList_->setItem(i, 1, new QTableWidgetItem(QString::fromStdString(record.name)));
        receiveList_->setItem(i, 2, sequenceItem(record.sequence, representation));
        receiveList_->setItem(i, 3, new QTableWidgetItem(QString::fromStdString(record.answerName)));
    }
    if (selected >= 0 && selected < receiveList_->rowCount()) {
        receiveList_->selectRow(selected);
    }
}

void frmMain::resetRepeatSend() {
    auto& list = state_.lists.sendList();
    for (int i = 0; i < list.sequenceCount(); ++i) {
        if (list[i].repeatRunning != 0) {
            list[i].repeatRunning = 0;
        }
        refreshSendRow(i);
    }
}

void frmMain::receiveActiveToggled(int row, bool active) {
    auto& list = state_.lists.receiveList();
    if (row < 0 || row >= list.sequenceCount()) {
        return;
    }
    std::int16_t value = active ? 1 : 0;
    if (list[row].active != value) {
        list[row].active = value;
        EnableSave();
    }
}

void frmMain::sendFromList(int index, SendKind kind) {
    if (!communicationRuns()) {
        execUserStart();
        if (!communicationRuns()) {
            return;
        }
    }
    pass_->sendSequence(index, kind);
    refreshSendRow(index);
}

void frmMain::copySequence(bool sendList, int index) {
    state_.lists.copyToClipboard(sendList ? SequenceListKind::Send : SequenceListKind::Receive, index,
                                 static_cast<Representation>(state_.settings.dispSequListRepresentation));
}

void frmMain::cutSequence(bool sendList, int index) {
    execUserStop();
    copySequence(sendList, index);
    if (sendList) {
        state_.lists.deleteSendSequence(index, true);
    } else {
        state_.lists.deleteReceiveSequence(index, true);
    }
    EnableSave();
}

void frmMain::deleteSequence(bool sendList, int index) {
    execUserStop();
    MessageRequest request;
    request.icon = MessageIcon::Warning;
    request.buttons = MessageButtons::OKCancel;
    request.title = windowTitle().toStdString();
    if (sendList) {
        request.text =
            state_.lists.answerInUse(index)
                ? "Deleting a sequence cannot be undone. Additionally, one or several Receive Sequences use "
                  "this Send Sequence as an automatic answer. Are you sure to delete this sequence?"
                : "Deleting a Send Sequence cannot be undone. Are you sure to delete this Send Sequence?";
    } else {
        request.text =
            "Deleting a Receive Sequence cannot be undone. Are you sure to delete this Receive Sequence?";
    }
    if (state_.messages.show(request) != MessageResult::OK) {
        return;
    }
    QTableWidget* table = sendList ? sendList_ : receiveList_;
    if (sendList) {
        state_.lists.deleteSendSequence(index, true);
    } else {
        state_.lists.deleteReceiveSequence(index, true);
    }
    EnableSave();
    table->setFocus();
    if (index < table->rowCount()) {
        table->selectRow(index);
    }
}

void frmMain::moveSequence(bool sendList, int from, int to) {
    const int count =
        sendList ? state_.lists.sendList().sequenceCount() : state_.lists.receiveList().sequenceCount();
    if (from < 0 || from >= count || to < 0 || to >= count || from == to) {
        return;
    }
    execUserStop();
    if (sendList) {
        state_.lists.moveSendSequence(from, to);
    } else {
        state_.lists.moveReceiveSequence(from, to);
    }
    EnableSave();
    QTableWidget* table = sendList ? sendList_ : receiveList_;
    table->selectRow(to);
}

void frmMain::editSequence(bool sendList, int index) {
    const std::string key = sendList ? "EditSendSeq" : "EditReceiveSeq";
    // Nothing to stop communication for while the editor isn't there.
    if (!dialogCommandAvailable(key)) {
        return;
    }
    execUserStop();
    editIndex_ = index;
    setPendingCommand(key);
}

void frmMain::pasteSequence(bool sendList, int index) {
    execUserStop();
    const auto representation = static_cast<Representation>(state_.settings.dispSequListRepresentation);
    const std::int32_t maximum = state_.settings.maximumSequenceLen;
    bool inserted = false;
    if (sendList) {
        SendSequenceRecord record = state_.lists.pasteSendFromClipboard(representation, maximum);
        if (record.sequence.size() > 0 && state_.lists.roomForSendSequence()) {
            state_.lists.InsertAction(record, index, true);
            inserted = true;
            setPendingCommand("EditSendSeq");
        } else if (record.sequence.size() == 0) {
            state_.messages.inform("Clipboard text format does not match current edit mode (" +
                                       representationName(representation) +
                                       "). Check data format of clipboard contents and try again.",
                                   MessageIcon::Error);
        }
    } else {
        ReceiveSequenceRecord record = state_.lists.pasteReceiveFromClipboard(representation, maximum);
        if (record.sequence.size() > 0 && state_.lists.roomForReceiveSequence()) {
            state_.lists.InsertEvent(record, index, true);
            inserted = true;
            setPendingCommand("EditReceiveSeq");
        } else if (record.sequence.size() == 0) {
            state_.messages.inform("Clipboard text format does not match current edit mode (" +
                                       representationName(representation) +
                                       "). Check data format of clipboard contents and try again.",
                                   MessageIcon::Error);
        }
    }
    if (inserted) {
        EnableSave();
    }
}

void frmMain::sendListContextMenu(const QPoint& position) {
    int row = sendList_->rowAt(position.y());
    const int upper = state_.lists.sendList().upperIndex();
    QMenu menu(this);
    const bool onSequence = row >= 0 && row < upper;
    menu.addAction("Send", this, [this, row] { sendFromList(row, SendKind::Once); })->setEnabled(onSequence);
    menu.addAction("Start Periodic Sending", this,
                   [this, row] { sendFromList(row, SendKind::StartPeriodic); })
        ->setEnabled(onSequence);
    menu.addAction("Stop Periodic Sending", this, [this, row] { sendFromList(row, SendKind::StopPeriodic); })
        ->setEnabled(onSequence);
    menu.addSeparator();
    menu.addAction("Copy", this, [this, row] { copySequence(true, row); })->setEnabled(onSequence);
    menu.addAction("Cut", this, [this, row] { cutSequence(true, row); })->setEnabled(onSequence);
    menu.addAction("Paste", this, [this, row, upper] { pasteSequence(true, row < 0 ? upper : row); });
    menu.addAction("Delete", this, [this, row] { deleteSequence(true, row); })->setEnabled(onSequence);
    menu.addSeparator();
    menu.addAction("Move Up", this, [this, row] { moveSequence(true, row, row - 1); })
        ->setEnabled(onSequence && row > 0);
    menu.addAction("Move Down", this, [this, row] { moveSequence(true, row, row + 1); })
        ->setEnabled(onSequence && row + 1 < upper);
    menu.exec(sendList_->viewport()->mapToGlobal(position));
}

void frmMain::receiveListContextMenu(const QPoint& position) {
    int row = receiveList_->rowAt(position.y());
    const int upper = state_.lists.receiveList().upperIndex();
    QMenu menu(this);
    const bool onSequence = row >= 0 && row < upper;
    menu.addAction("Copy", this, [this, row] { copySequence(false, row); })->setEnabled(onSequence);
    menu.addAction("Cut", this, [this, row] { cutSequence(false, row); })->setEnabled(onSequence);
    menu.addAction("Paste", this, [this, row, upper] { pasteSequence(false, row < 0 ? upper : row); });
    menu.addAction("Delete", this, [this, row] { deleteSequence(false, row); })->setEnabled(onSequence);
    menu.addSeparator();
    menu.addAction("Move Up", this, [this, row] { moveSequence(false, row, row - 1); })
        ->setEnabled(onSequence && row > 0);
    menu.addAction("Move Down", this, [this, row] { moveSequence(false, row, row + 1); })
        ->setEnabled(onSequence && row + 1 < upper);
    menu.exec(receiveList_->viewport()->mapToGlobal(position));
}

} // namespace corvane
