#pragma once

#include "app/control/OptionsDialogModel.h"

namespace corvane {

class CommunicationControl;
class DeferredCommands;
class LogFileDialogModel;
class ProjectCommands;
struct ProgramContext;

// What the options and log file commands ask of the widgets: the dialogs, shown modally, and the
// main window's update after the options changed.
class OptionsDialogsView {
public:
    virtual ~OptionsDialogsView() = default;
    // True on OK.
    virtual bool runOptionsDialog(OptionsDialogModel& model, OptionsTab tab) = 0;
    virtual bool runLogFileDialog(LogFileDialogModel& model) = 0;
    // Colours, fonts, format and enabled views of the running window, then its display status.
    virtual void updateAfterOptionsChanged() = 0;
};

// The commands of the options dialog ("Options", "Options2") and of logging ("LogStart"): they
// stop communication where the options change, run the dialogs and apply what was confirmed.
class OptionsCommands {
public:
    OptionsCommands(ProgramContext& context, CommunicationControl& communication, ProjectCommands& project,
                    DeferredCommands& commands, OptionsDialogsView& view);
    // Withdraws the commands it registered.
    ~OptionsCommands();
    OptionsCommands(const OptionsCommands&) = delete;
    OptionsCommands& operator=(const OptionsCommands&) = delete;

    // Stops communication and shows the options dialog on the page; OK replaces the options,
    // writes all program settings and updates the window. True on OK.
    bool showOptions(OptionsTab tab);
    // The sequence editors' "Control Characters Shortcuts": the options dialog on its shortcut
    // page. True when the dialog was confirmed and the shortcut table differs from before; the
    // editors then hand modShortCutManagement::tableToText(settings.userShortcuts) to their edit
    // control.
    bool editShortcutTable();

    // "LogStart": the log file dialog, the overwrite question, the files opened with headers.
    void startLogging();
    // Writes every program setting (the dialogs' OK).
    void saveAllSettings();

private:
    ProgramContext& context_;
    CommunicationControl& communication_;
    ProjectCommands& project_;
    DeferredCommands& commands_;
    OptionsDialogsView& view_;
};

} // namespace corvane
