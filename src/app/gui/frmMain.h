#pragma once

#include "app/gui/StatusTexts.h"
#include "communication/CommunicationHooks.h"
#include "platform/PlacedWindow.h"
#include "platform/ProjectHost.h"

#include <QMainWindow>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QTableWidget;
class QTimer;
class QToolBar;

namespace corvane {

class ClSequence;
class ClickableLabel;
class CommTextEdit;
class CommWindows;
class CommunicationPass;
class HelpSystem;
class ProgramState;
struct ProjectEnvironment;

// Deferred command keys whose command opens a window of its own ("ProjectSettings", "Find", ...).
const std::set<std::string>& dialogCommandKeys();

// The main window: the send and receive sequence lists, the four communication windows on a tab
// strip, menus, tool bar and status bar, and the main loop that drives the program.
class frmMain : public QMainWindow, public ProjectHost, public PlacedMainWindow, public CommunicationHooks {
    Q_OBJECT
public:
    // Asks the user for a project file: title, start directory, save or open. Empty: cancelled.
    // For a save, the filter index (0 to 2) chooses file version 8, 7 or 6.
    using FileDialog = std::function<std::string(const std::string& title, const std::string& directory,
                                                 bool save, int& filter)>;

    frmMain(ProgramState& state, HelpSystem& help, QWidget* parent = nullptr);
    ~frmMain() override;

    // The window's load handler.
    void load();

    // The main loop: passes until the program is asked to stop, then communication and logging end.
    void MainLoop();
    void MainProcess(bool uiEventsOnly, bool idleSleep);
    // Work time of the main loop passes. The idle wait doesn't count, nor does the event pump while
    // communication is stopped (it waits for user input); deferred commands and their dialogs do.
    struct PassStats {
        std::uint64_t passes = 0;
        std::chrono::steady_clock::duration longest{};
        std::uint64_t slowPasses = 0; // passes longer than kSlowPass
    };
    static constexpr std::chrono::milliseconds kSlowPass{50};
    const PassStats& passStats() const { return passStats_; }
    // One line for stderr: passes, longest pass in milliseconds, passes above 50 ms.
    std::string passStatsText() const;
    void setPendingCommand(const std::string& command) { pendingCommand_ = command; }
    const std::string& pendingCommand() const { return pendingCommand_; }
    // Runs the deferred command now, if there is one.
    void runDeferredCommand();
    // Commands that open windows of their own (settings, options, editors, find, printing,
    // logging, snapshot mode, notepad). A window registers the command that opens it; until then
    // its menu items and tool buttons stay disabled and its deferred key does nothing.
    void setDialogCommand(const std::string& key, std::function<void()> command);
    bool dialogCommandAvailable(const std::string& key) const;
    void copyCommWindowBuffers();

    // Communication.
    void execUserStart();
    void execUserStop();
    void consoleOn();
    void consoleOff();
    bool keyboardConsole() const { return console_; }
    bool communicationRuns() const;
    void replaceCommunicationPass(std::unique_ptr<CommunicationPass> pass);
    CommunicationPass& communicationPass() { return *pass_; }

    // Project commands.
    void execProjectNew(bool askToSave = true);
    bool execSaveProject();
    bool execSaveProjectAs();
    void execLoadProject(const std::string& initialDirectory, bool addToProject);
    void execSwapSequenceList();
    bool VerifyIfSaveActualProject();
    bool OpenExistingProject(const std::string& path);
    bool OpenExistingNotepad(const std::string& path);
    void DisableSave();
    void EnableSave();
    bool projectModified() const { return modified_; }
    void setFileDialog(FileDialog dialog) { fileDialog_ = std::move(dialog); }

    // Display.
    void setMainScreenDisplayStatus();
    void setWindowCaption();
    void setStatusBar();
    void refreshStatusText();
    void updateStatusLinesIndicators(bool force);
    void setCommTabs();
    void setSequencesDisplayMode(int representation);
    void RefreshSendSeqList1();
    // One row of the send list, after its periodic sending started or stopped.
    void refreshSendRow(int index);
    void RefreshReceiveSeqList1();
    void resetRepeatSend() override;
    void updateAfterOptionsChanged();
    void InitCommWindows();
    void ClearCommWindows();
    bool commWindowGetSelectedSequence(ClSequence& sequence);
    void selectNextView();
    void minimiseAll();
    void tickActivityIcon();
    void lineIndicatorDoubleClicked(int line);
    void statusPanelDoubleClicked(int panel);
    // What the two list controls report, with the sequence index.
    void pasteSequence(bool sendList, int index);
    void copySequence(bool sendList, int index);
    void cutSequence(bool sendList, int index);
    void deleteSequence(bool sendList, int index);
    void moveSequence(bool sendList, int from, int to);
    void editSequence(bool sendList, int index);
    // The sequence the next editor command opens.
    int editIndex() const { return editIndex_; }

    // Parts the tests look at.
    CommWindows& commWindows() { return *commWindows_; }
    QTabBar* tabBar() const { return tabs_; }
    QTableWidget* sendListWidget() const { return sendList_; }
    QTableWidget* receiveListWidget() const { return receiveList_; }
    QLabel* statusPanel(int panel) const;
    QLabel* lineIndicator(int line) const;
    // Menu items and tool buttons by their command key.
    QAction* action(const std::string& key) const;
    QAction* toolAction(const std::string& key) const;
    int visibleView() const { return visibleView_; }
    int activityIcon() const { return activity_.current(); }
    int statusTextWrites() const { return statusTextWrites_; }
    ProjectEnvironment environment();
    ProgramState& state() { return state_; }

    // ProjectHost.
    void setWaitCursor(bool waiting) override;
    void closeFindDialog() override {}
    void refreshCaption(const std::string& baseName) override;
    void setProjectModified(bool modified) override;
    void refreshDisplayStatus() override { setMainScreenDisplayStatus(); }
    void refreshSendList() override { RefreshSendSeqList1(); }
    void refreshReceiveList() override { RefreshReceiveSeqList1(); }
    void assignChannelSettings() override;
    void rebuildRecentMenu(int listKind) override;

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

    // CommunicationHooks.
    void showWaitCursor(bool wait) override { setWaitCursor(wait); }
    void resetDataOutputBuffers() override;
    void prepareSequenceLists() override;
    void refreshMainWindowStatus() override { setMainScreenDisplayStatus(); }
    bool isShuttingDown() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildCentralArea();
    void buildStatusBar();
    void setToolAndMenuStates();
    void runCommand(const std::string& key);
    void applyDataOutputOptions();
    bool handleConsoleKey(QKeyEvent* event);
    bool handleWindowKey(QKeyEvent* event);
    void sendListContextMenu(const QPoint& position);
    void receiveListContextMenu(const QPoint& position);
    void sendFromList(int index, SendKind kind);
    void receiveActiveToggled(int row, bool active);
    void pasteIntoRunningWindow(const QString& text);
    void rememberCopiedText(const QString& text);
    std::string askForProjectFile(const std::string& title, const std::string& directory, bool save,
                                  int& filter);
    std::string documentsFolder() const;

    ProgramState& state_;
    HelpSystem& help_;
    std::unique_ptr<CommunicationPass> pass_;
    std::unique_ptr<CommWindows> commWindows_;
    FileDialog fileDialog_;

    std::string pendingCommand_;
    double statusRefreshTime_ = -1;
    PassStats passStats_;
    bool modified_ = false;
    bool console_ = false;
    bool closing_ = false;
    int visibleView_ = 0;
    std::map<std::string, QAction*> actions_;
    std::map<std::string, QAction*> toolActions_;
    std::map<std::string, std::function<void()>> dialogCommands_;
    int editIndex_ = -1;
    std::array<QAction*, 4> recentActions_{};
    QMenu* fileMenu_ = nullptr;
    QAction* stopMenuAction_ = nullptr;
    std::vector<QMenu*> mainMenus_;
    QToolBar* toolBar_ = nullptr;
    QSplitter* verticalSplitter_ = nullptr;
    QSplitter* horizontalSplitter_ = nullptr;
    QTableWidget* sendList_ = nullptr;
    QTableWidget* receiveList_ = nullptr;
    QLabel* receiveOnlyOverlay_ = nullptr;
    QTabBar* tabs_ = nullptr;
    QStackedWidget* commStack_ = nullptr;
    QWidget* disabledViewPage_ = nullptr;
    QWidget* loggingOverlay_ = nullptr;
    ClickableLabel* stopLoggingLabel_ = nullptr;
    ClickableLabel* consoleLabel_ = nullptr;
    ClickableLabel* changeModeLabel_ = nullptr;
    ClickableLabel* commWindowModesLabel_ = nullptr;
    ClickableLabel* expertLabel_ = nullptr;
    ClickableLabel* filterLabel_ = nullptr;
    std::array<ClickableLabel*, 5> panels_{};
    QLabel* activityLabel_ = nullptr;
    QWidget* lineStrip_ = nullptr;
    std::array<ClickableLabel*, 6> lines_{};
    std::array<bool, 6> lineStates_{};
    bool lineStatesKnown_ = false;
    FlowPanel flowPanel_;
    ActivityIcon activity_;
    std::array<bool, 2> activityFlags_{false, false};
    QTimer* activityTimer_ = nullptr;
    QTimer* idleWakeTimer_ = nullptr;
    int statusTextWrites_ = 0;
    bool manualRts_ = false;
    bool manualDtr_ = false;
};

} // namespace corvane
