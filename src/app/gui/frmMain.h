#pragma once

#include "app/control/FindController.h"
#include "app/control/MainController.h"
#include "app/control/MainWindowView.h"
#include "app/control/ProgramContext.h"
#include "platform/PlacedWindow.h"
#include "platform/qt/QtPrintDevice.h"
#include "platform/qt/QtProjectFileDialog.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QSplitter;
class QTabBar;
class QTimer;
class QDialog;

namespace corvane {

class ClSequence;
class ClickableLabel;
class CommArea;
class CommWindows;
class HelpSystem;
class MainMenus;
class MainStatusBar;
class OptionsDialogs;
class ProgramState;
class SendSequenceParameterPrompt;
class SequenceEditorDialog;
class SequenceListTable;
class SequenceListsPanel;
class frmFind;
class SettingsDialogs;
class frmRTFNotepad;
struct ProjectEnvironment;

// The main window: the send and receive sequence lists, the four communication windows on a tab
// strip, menus, tool bar and status bar. It builds the widgets and wires them to the main
// controller, which decides; its commands are forwards to it.
class frmMain : public QMainWindow, public MainWindowView, public PlacedMainWindow, private FindWindowView {
    Q_OBJECT
public:
    // Answers the project file dialogs instead of QFileDialog (tests).
    using FileDialog = QtProjectFileDialog::Replacement;

    frmMain(ProgramState& state, HelpSystem& help, QWidget* parent = nullptr);
    ~frmMain() override;

    // The window's load handler.
    void load();
    MainController& controller() { return *controller_; }

    // The main loop.
    void MainLoop() { controller_->runMainLoop(); }
    void MainProcess(bool uiEventsOnly, bool idleSleep) {
        controller_->mainLoop().MainProcess(uiEventsOnly, idleSleep);
    }
    const corvane::MainLoop::PassStats& passStats() const { return controller_->mainLoop().passStats(); }
    std::string passStatsText() const { return controller_->mainLoop().passStatsText(); }
    void setPendingCommand(const std::string& command) { controller_->commands().setPendingCommand(command); }
    const std::string& pendingCommand() const { return controller_->commands().pendingCommand(); }
    void runDeferredCommand() { controller_->commands().runDeferredCommand(); }
    // A window registers the command that opens it; until then its items stay disabled.
    void setDialogCommand(const std::string& key, std::function<void()> command) {
        controller_->commands().registerCommand(key, std::move(command));
    }
    bool dialogCommandAvailable(const std::string& key) const {
        return controller_->commands().available(key);
    }

    // Communication.
    void execUserStart() { controller_->communication().execUserStart(); }
    void execUserStop() { controller_->communication().execUserStop(); }
    void consoleOn() { controller_->communication().consoleOn(); }
    void consoleOff() { controller_->communication().consoleOff(); }
    bool keyboardConsole() const { return controller_->communication().keyboardConsole(); }
    bool communicationRuns() const { return controller_->communication().communicationRuns(); }
    void replaceCommunicationPass(std::unique_ptr<CommunicationPass> pass) {
        controller_->communication().replacePass(std::move(pass));
    }
    CommunicationPass& communicationPass() { return controller_->communication().pass(); }

    // Project commands.
    void execProjectNew(bool askToSave = true) { controller_->project().execProjectNew(askToSave); }
    bool execSaveProject() { return controller_->project().execSaveProject(); }
    bool execSaveProjectAs() { return controller_->project().execSaveProjectAs(); }
    void execLoadProject(const std::string& initialDirectory, bool addToProject) {
        controller_->project().execLoadProject(initialDirectory, addToProject);
    }
    void execSwapSequenceList() { controller_->project().execSwapSequenceList(); }
    bool VerifyIfSaveActualProject() { return controller_->project().VerifyIfSaveActualProject(); }
    bool OpenExistingProject(const std::string& path) {
        return controller_->project().OpenExistingProject(path);
    }
    bool OpenExistingNotepad(const std::string& path) {
        return controller_->project().OpenExistingNotepad(path);
    }
    void DisableSave() { controller_->project().DisableSave(); }
    void EnableSave() { controller_->project().EnableSave(); }
    bool projectModified() const { return controller_->project().projectModified(); }
    void setFileDialog(FileDialog dialog) { fileDialog_.setReplacement(std::move(dialog)); }

    // Printing: the project listing with the notepad, and the visible communication window.
    void printProject();
    void printCommunication();
    // Answers the print dialog instead of QPrintDialog (tests).
    void setPrintDialog(QtPrintDevice::DialogReplacement dialog) {
        printDevice_.setDialogReplacement(std::move(dialog));
    }
    ProjectEnvironment environment() { return controller_->project().environment(); }

    // Display.
    void setMainScreenDisplayStatus() { controller_->setMainScreenDisplayStatus(); }
    void setWindowCaption() { controller_->setWindowCaption(); }
    void setStatusBar() { controller_->statusBar().setStatusBar(); }
    void refreshStatusText() { controller_->statusBar().refreshStatusText(); }
    void updateStatusLinesIndicators(bool force) {
        controller_->statusBar().updateStatusLinesIndicators(force);
    }
    void setSequencesDisplayMode(int representation);
    void RefreshSendSeqList1() { refreshSequenceList(SequenceListKind::Send); }
    void RefreshReceiveSeqList1() { refreshSequenceList(SequenceListKind::Receive); }
    void resetRepeatSend() { controller_->lists().resetRepeatSend(); }
    void updateAfterOptionsChanged();
    // The options dialog on a page (1 colours and fonts, 2 window modes, 3 stamps, 4 shortcuts);
    // true on OK.
    bool showOptions(int tab);
    // The options dialog on its shortcut page, for the sequence editors' "Control Characters
    // Shortcuts": true when the user shortcut table changed.
    bool editShortcutTable();
    // The options, log file and HTML template dialogs.
    OptionsDialogs& optionsDialogs() { return *optionsDialogs_; }
    // The settings dialogs: project settings on a tab (1 to 3), expert options.
    void showProjectSettings(int tab);
    void showExpertOptions();
    SettingsDialogs& settingsDialogs() { return *settingsDialogs_; }
    void InitCommWindows();
    void ClearCommWindows() { clearCommWindows(); }
    bool commWindowGetSelectedSequence(ClSequence& sequence);
    void selectNextView();
    void minimiseAll();
    void tickActivityIcon() { controller_->statusBar().tickActivityIcon(); }
    void lineIndicatorDoubleClicked(int line) { controller_->statusBar().lineIndicatorDoubleClicked(line); }
    void statusPanelDoubleClicked(int panel) { controller_->statusBar().statusPanelDoubleClicked(panel); }

    // What the two list controls report, with the sequence index.
    void pasteSequence(SequenceListKind list, int index) { controller_->lists().pasteSequence(list, index); }
    void copySequence(SequenceListKind list, int index) { controller_->lists().copySequence(list, index); }
    void cutSequence(SequenceListKind list, int index) { controller_->lists().cutSequence(list, index); }
    void deleteSequence(SequenceListKind list, int index) {
        controller_->lists().deleteSequence(list, index);
    }
    void moveSequence(SequenceListKind list, int from, int to) {
        controller_->lists().moveSequence(list, from, to);
    }
    void editSequence(SequenceListKind list, int index) { controller_->lists().editSequence(list, index); }
    int editIndex() const { return controller_->lists().editIndex(); }

    // The sequence editors ("EditSendSeq", "EditReceiveSeq"), modal, on the list's current index.
    void showSendSequenceEditor();
    void showReceiveSequenceEditor();
    // Runs instead of an editor's own event loop (tests drive the dialog and close it).
    void setEditorRunner(std::function<void(SequenceEditorDialog&)> runner) {
        editorRunner_ = std::move(runner);
    }
    // The send processing's parameter dialog.
    SendSequenceParameterPrompt& parameterPrompt() { return *parameterPrompt_; }
    // The editors' "Control Characters Shortcuts" link: opens the options dialog at its shortcut
    // page. Until it is set the link is disabled.
    void setControlCharacterShortcutsHook(std::function<void()> openShortcutPage) {
        openShortcutPage_ = std::move(openShortcutPage);
    }

    // Parts the tests look at.
    CommWindows& commWindows();
    QTabBar* tabBar() const;
    SequenceListTable* sendListWidget() const;
    SequenceListTable* receiveListWidget() const;
    QLabel* statusPanel(int panel) const;
    QLabel* lineIndicator(int line) const;
    // Menu items and tool buttons by their command key.
    QAction* action(const std::string& key) const;
    QAction* toolAction(const std::string& key) const;
    int visibleView() const { return visibleView_; }
    frmRTFNotepad& notepad() { return *notepad_; }
    // The find dialog ("Find"), created at its first opening; null before.
    void showFind();
    frmFind* findDialog() const { return findDialog_; }
    bool findDialogVisible() const { return findDialogVisible_; }
    int activityIcon() const { return controller_->statusBar().activityIcon(); }
    int statusTextWrites() const { return controller_->statusBar().statusTextWrites(); }
    ProgramState& state() { return state_; }

    // MainWindowView.
    void showCaption(const std::string& caption) override;
    std::string caption() const override;
    void showCommandStates(const CommandStates& states) override;
    void showClickLabels(const ClickLabels& labels) override;
    void setCommTabs() override;
    void setWaitCursor(bool waiting) override;
    void closeFindDialog() override;
    void rebuildRecentMenu() override;
    void refreshSequenceList(SequenceListKind kind) override;
    void refreshSendRow(int index) override;
    void selectSequenceRow(SequenceListKind kind, int row, bool focus) override;
    bool copyCommWindowBuffers() override;
    void clearCommWindows() override;
    void focusVisibleCommWindow() override;
    void emptyCommWindows() override;
    void clearSnapshotMarkers() override;
    void processEvents(bool waitForMore) override;
    void closeAfterInternalError() override;

    // PlacedMainWindow.
    bool isMinimized() const override { return QMainWindow::isMinimized(); }
    bool isMaximized() const override { return QMainWindow::isMaximized(); }
    TwipRect bounds() const override;
    void setBounds(const TwipRect& bounds) override;
    void showNormal() override { QMainWindow::showNormal(); }
    void showMaximized() override { QMainWindow::showMaximized(); }
    float verticalSplitter() const override;
    float horizontalSplitter() const override;
    void setSplitters(float vertical, float horizontal) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void wireNotepad();
    void registerPrintCommands();
    void registerEditorCommands();
    void runEditor(SequenceEditorDialog& dialog, SequenceListKind kind);
    void buildMenus();
    void buildCentralArea();
    void wireCommWindows();
    void runMenuItem(const std::string& key);
    bool handleWindowKey(QKeyEvent* event);
    bool handleConsoleKey(QKeyEvent* event);
    std::string documentsFolder() const;

    // FindWindowView (frmMainFind.cpp).
    std::string visibleWindowText() const override;
    Representation visibleRepresentation() const override;
    void selectInVisibleWindow(int start, int length) override;
    int searchPosition() const override;
    void setSearchPosition(int position) override;

    ProgramState& state_;
    HelpSystem& help_;
    // Before the context, which hands its controller to the project files as their notepad.
    std::unique_ptr<frmRTFNotepad> notepad_;
    ProgramContext context_;
    QtProjectFileDialog fileDialog_;
    QtPrintDevice printDevice_;
    std::unique_ptr<MainController> controller_;
    std::unique_ptr<FindController> find_;
    frmFind* findDialog_ = nullptr;
    bool findDialogVisible_ = false;
    std::unique_ptr<OptionsDialogs> optionsDialogs_;
    std::unique_ptr<SettingsDialogs> settingsDialogs_;
    std::unique_ptr<SendSequenceParameterPrompt> parameterPrompt_;
    std::function<void(SequenceEditorDialog&)> editorRunner_;
    std::function<void()> openShortcutPage_;

    MainMenus* menus_ = nullptr;
    MainStatusBar* statusBar_ = nullptr;
    SequenceListsPanel* lists_ = nullptr;
    CommArea* commArea_ = nullptr;
    QSplitter* verticalSplitter_ = nullptr;
    ClickableLabel* consoleLabel_ = nullptr;
    ClickableLabel* expertLabel_ = nullptr;
    ClickableLabel* filterLabel_ = nullptr;
    QTimer* activityTimer_ = nullptr;
    QTimer* idleWakeTimer_ = nullptr;
    int visibleView_ = 0;
};

} // namespace corvane
