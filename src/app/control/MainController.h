#pragma once

#include "app/control/CommunicationControl.h"
#include "app/control/DeferredCommands.h"
#include "app/control/MainLoop.h"
#include "app/control/PrintCommands.h"
#include "app/control/ProjectCommands.h"
#include "app/control/SequenceListCommands.h"
#include "app/control/SettingsDialogCommands.h"
#include "app/control/StatusBarPresenter.h"
#include "communication/CommunicationHooks.h"
#include "display/SnapshotMode.h"
#include "platform/ProjectHost.h"

#include <memory>
#include <string>

namespace corvane {

class ClSequence;
class MainWindowView;
class ProjectFileDialog;
class SystemClock;
struct ProgramContext;

// What the main window decides, apart from its widgets: the command table with the program's own
// commands, communication start and stop, the project, list and print commands, the status bar,
// the display status and the main loop. The window builds widgets, implements the view interfaces and
// forwards its commands here.
class MainController : public ProjectHost, public CommunicationHooks, private SnapshotHost {
public:
    MainController(ProgramContext& context, MainWindowView& view, StatusBarView& statusView,
                   ProjectFileDialog& fileDialog, SystemClock& clock,
                   std::unique_ptr<CommunicationPass> pass);
    ~MainController() override;
    MainController(const MainController&) = delete;
    MainController& operator=(const MainController&) = delete;

    DeferredCommands& commands() { return commands_; }
    CommunicationControl& communication() { return communication_; }
    ProjectCommands& project() { return project_; }
    SequenceListCommands& lists() { return lists_; }
    StatusBarPresenter& statusBar() { return statusBar_; }
    MainLoop& mainLoop() { return mainLoop_; }
    PrintCommands& printing() { return printing_; }
    SnapshotMode& snapshot() { return snapshot_; }
    SettingsDialogCommands& settingsDialogs() { return settingsDialogs_; }

    // The display status, in this order: the receive-only overlay, the caption, tool bar and menu
    // states, the status bar, the communication tabs, the data output's options, the click labels.
    void setMainScreenDisplayStatus();
    void setToolAndMenuStates();
    void setWindowCaption();
    // The data output and the window router follow the options and the logging state.
    void applyDataOutputOptions();
    // The main loop: the display status, then passes until the program is asked to stop.
    void runMainLoop();

    // The window's close request: the save question (Cancel keeps the program running). True when
    // the close goes on; the main loop then ends after its pass.
    bool closeRequested();
    // The window unloads: the program settings are written and logging ends.
    void unload();

    // Text of the visible communication window as a sequence in its representation: pasted while
    // communication runs, it is queued for sending; copied, it becomes the sequence clipboard.
    void pasteIntoRunningWindow(const std::string& text, int view);
    void rememberCopiedText(const std::string& text, int view);
    bool readSequence(const std::string& text, int view, ClSequence& sequence) const;

    // ProjectHost.
    void setWaitCursor(bool waiting) override;
    void closeFindDialog() override;
    void refreshCaption(const std::string& baseName) override;
    void setProjectModified(bool modified) override;
    // Also SnapshotHost's.
    void refreshDisplayStatus() override { setMainScreenDisplayStatus(); }
    void refreshSendList() override;
    void refreshReceiveList() override;
    void assignChannelSettings() override { communication_.assignChannelSettings(); }
    void rebuildRecentMenu(int listKind) override;

    // CommunicationHooks.
    void showWaitCursor(bool wait) override { setWaitCursor(wait); }
    void resetDataOutputBuffers() override { applyDataOutputOptions(); }
    void refreshMainWindowStatus() override { setMainScreenDisplayStatus(); }
    void resetRepeatSend() override { lists_.resetRepeatSend(); }
    bool isShuttingDown() const override { return closing_; }

private:
    void registerProgramCommands();

    // SnapshotHost.
    void startCommunication() override { communication_.execUserStart(); }
    bool keyboardConsoleOn() const override { return communication_.keyboardConsole(); }
    void keyboardConsoleOff() override { communication_.consoleOff(); }
    void emptyCommWindows() override;
    void clearSnapshotMarkers() override;
    std::string messageTitle() const override;

    ProgramContext& context_;
    MainWindowView& view_;
    DeferredCommands commands_;
    CommunicationControl communication_;
    ProjectCommands project_;
    SequenceListCommands lists_;
    StatusBarPresenter statusBar_;
    MainLoop mainLoop_;
    PrintCommands printing_;
    SettingsDialogCommands settingsDialogs_;
    SnapshotMode snapshot_;
    bool closing_ = false;
};

} // namespace corvane
