#include "app/control/MainController.h"

#include "app/control/DisplayStatus.h"
#include "app/control/MainWindowView.h"
#include "app/control/ProgramContext.h"
#include "communication/CommunicationEngine.h"
#include "display/CommOutputRouter.h"
#include "display/DataOutputSettings.h"
#include "display/MdLogging.h"
#include "persistence/ProgramSettings.h"
#include "persistence/ProgramSettingsData.h"
#include "platform/NotepadCompanion.h"
#include "platform/SettingsStore.h"
#include "sequences/CharacterRepresentation.h"

#include <algorithm>

namespace corvane {

MainController::MainController(ProgramContext& context, MainWindowView& view, StatusBarView& statusView,
                               ProjectFileDialog& fileDialog, SystemClock& clock,
                               std::unique_ptr<CommunicationPass> pass)
    : context_(context), view_(view),
      communication_(context, view, std::move(pass), [this] { setMainScreenDisplayStatus(); }),
      project_(context, *this, communication_, fileDialog),
      lists_(context, communication_, commands_, view, [this] { project_.EnableSave(); }),
      statusBar_(context, communication_, commands_, statusView),
      mainLoop_(context, communication_, commands_, statusBar_, view, clock), printing_(context, view),
      settingsDialogs_(context, communication_, project_, [this] { setMainScreenDisplayStatus(); }),
      snapshot_(context.engine, context.router, context.lists.receiveList(), context.messages, *this) {
    statusBar_.setSnapshotMode(&snapshot_);
    // The window's widgets are built after the controller: what is registered now is shown when
    // the window sets its display status.
    registerProgramCommands();
    project_.setModifiedListener([this] { setToolAndMenuStates(); });
    commands_.setChangeListener([this] { setToolAndMenuStates(); });
}

MainController::~MainController() {
    commands_.setChangeListener(nullptr);
}

void MainController::registerProgramCommands() {
    commands_.registerCommand("New", [this] { project_.execProjectNew(); });
    commands_.registerCommand("Open", [this] { project_.execLoadProject(std::string(), false); });
    commands_.registerCommand("Save", [this] { project_.execSaveProject(); });
    commands_.registerCommand("Start", [this] { communication_.execUserStart(); });
    commands_.registerCommand("Stop", [this] { communication_.execUserStop(); });
    commands_.registerCommand("Clean", [this] { view_.clearCommWindows(); });
    commands_.registerCommand("LogStop", [this] {
        context_.logging.stopLogging(false);
        setMainScreenDisplayStatus();
    });
    commands_.registerCommand("ConsoleOn", [this] { communication_.consoleOn(); });
    // Snapshot mode and logging exclude each other (their commands are disabled).
    commands_.registerCommand("SnapStart", [this] {
        if (context_.logging.loggingRuns()) {
            setMainScreenDisplayStatus();
            return;
        }
        snapshot_.start();
    });
    commands_.registerCommand("SnapStop", [this] { snapshot_.stopByUser(); });
    commands_.registerCommand("ConsoleOff", [this] { communication_.consoleOff(); });
}

void MainController::setWindowCaption() {
    view_.showCaption(windowCaptionOf(context_.current.baseName));
    context_.notepad.setProjectName(context_.current.baseName);
}

void MainController::setToolAndMenuStates() {
    CommandStateInputs inputs;
    inputs.communicationRuns = communication_.communicationRuns();
    inputs.loggingRuns = context_.logging.loggingRuns();
    inputs.snapshotModeOn = snapshot_.modeOn();
    inputs.keyboardConsole = communication_.keyboardConsole();
    inputs.projectModified = project_.projectModified();
    inputs.sendReceiveMode =
        context_.communicationSettings.communicationMode == CommunicationMode::SendReceive;
    view_.showCommandStates(commandStatesOf(inputs, commands_));
}

void MainController::applyDataOutputOptions() {
    DataOutput& output = context_.engine.output();
    output.setOptions(dataOutputOptionsFrom(context_.settings));
    const bool logging = context_.logging.loggingRuns();
    output.setEnabledRepresentations(
        enabledRepresentationsFrom(context_.settings, logging, context_.logging.recordedViews()));
    context_.router.setWindowViews(context_.settings.commDisplayModeEnabled);
    context_.router.setWindowSwitchedOff(logging && context_.settings.logCommWindowDisabled);
}

void MainController::setMainScreenDisplayStatus() {
    const ClickLabels labels =
        clickLabelsOf(context_.communicationSettings, context_.settings.expertOptions,
                      communication_.keyboardConsole(), communication_.communicationRuns());
    view_.showClickLabels(labels);
    setWindowCaption();
    setToolAndMenuStates();
    statusBar_.setStatusBar();
    view_.setCommTabs();
    applyDataOutputOptions();
}

void MainController::runMainLoop() {
    setMainScreenDisplayStatus();
    mainLoop_.run();
}

bool MainController::closeRequested() {
    if (!context_.stopRequested) {
        if (!project_.VerifyIfSaveActualProject()) {
            return false;
        }
        context_.stopRequested = true;
    }
    return true;
}

void MainController::unload() {
    closing_ = true;
    ProjectEnvironment env = project_.environment();
    writeSettingsOnUnload(env);
    context_.store.sync();
    context_.logging.stopLogging(true);
}

bool MainController::readSequence(const std::string& text, int view, ClSequence& sequence) const {
    sequence.clear();
    sequence.parseText(static_cast<Representation>(std::clamp(view, 0, 3)), text,
                       context_.settings.maximumSequenceLen);
    return sequence.size() > 0;
}

void MainController::pasteIntoRunningWindow(const std::string& text, int view) {
    ClSequence sequence;
    if (readSequence(text, view, sequence)) {
        communication_.pass().enqueue(sequence);
    }
}

void MainController::rememberCopiedText(const std::string& text, int view) {
    ClSequence sequence;
    readSequence(text, view, sequence);
    context_.lists.takeClipboardFromEditControl(sequence,
                                                static_cast<Representation>(std::clamp(view, 0, 3)));
}

void MainController::emptyCommWindows() {
    view_.emptyCommWindows();
    // The snapshot's trigger: the history and the marker show at the next pass.
    mainLoop_.refreshWindowNow();
}

void MainController::clearSnapshotMarkers() {
    view_.clearSnapshotMarkers();
}

std::string MainController::messageTitle() const {
    return view_.caption();
}

void MainController::setWaitCursor(bool waiting) {
    view_.setWaitCursor(waiting);
}

void MainController::closeFindDialog() {
    view_.closeFindDialog();
}

void MainController::refreshCaption(const std::string&) {
    setWindowCaption();
}

void MainController::setProjectModified(bool modified) {
    if (modified) {
        project_.EnableSave();
    } else {
        project_.DisableSave();
    }
}

void MainController::refreshSendList() {
    view_.refreshSequenceList(SequenceListKind::Send);
}

void MainController::refreshReceiveList() {
    view_.refreshSequenceList(SequenceListKind::Receive);
}

void MainController::rebuildRecentMenu(int listKind) {
    if (listKind == kRecentProjects) {
        view_.rebuildRecentMenu();
    }
}

} // namespace corvane
