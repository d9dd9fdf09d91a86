#include "app/control/OptionsCommands.h"

#include "app/control/CommunicationControl.h"
#include "app/control/DeferredCommands.h"
#include "app/control/LogFileDialogModel.h"
#include "app/control/ProgramContext.h"
#include "app/control/ProjectCommands.h"
#include "display/MdLogging.h"
#include "persistence/ProgramSettings.h"
#include "platform/SettingsStore.h"

namespace corvane {

namespace {

// The log file dialog as logging shows it: a fresh copy of the options each time, so that the
// dialog shown again after the overwrite question holds what was just confirmed.
class LogFileDialogRunner : public LogFileDialog {
public:
    LogFileDialogRunner(OptionsCommands& commands, ProgramContext& context, ProjectCommands& project,
                        OptionsDialogsView& view)
        : commands_(commands), context_(context), project_(project), view_(view) {}

    bool showModal() override {
        LogFileDialogModel model(
            context_.settings, context_.messages,
            proposedLogBase(context_.settings.logBaseFilePath, context_.current, project_.documentsFolder()),
            [this] { commands_.saveAllSettings(); });
        return view_.runLogFileDialog(model);
    }

private:
    OptionsCommands& commands_;
    ProgramContext& context_;
    ProjectCommands& project_;
    OptionsDialogsView& view_;
};

} // namespace

OptionsCommands::OptionsCommands(ProgramContext& context, CommunicationControl& communication,
                                 ProjectCommands& project, DeferredCommands& commands,
                                 OptionsDialogsView& view)
    : context_(context), communication_(communication), project_(project), commands_(commands), view_(view) {
    commands_.registerCommand("Options", [this] { showOptions(OptionsTab::ColorsAndFonts); });
    commands_.registerCommand("Options2", [this] { showOptions(OptionsTab::DisplayModes); });
    commands_.registerCommand("LogStart", [this] { startLogging(); });
}

OptionsCommands::~OptionsCommands() {
    commands_.registerCommand("Options", nullptr);
    commands_.registerCommand("Options2", nullptr);
    commands_.registerCommand("LogStart", nullptr);
}

void OptionsCommands::saveAllSettings() {
    ProjectEnvironment env = project_.environment();
    writeAllSettings(env);
    context_.store.sync();
}

bool OptionsCommands::showOptions(OptionsTab tab) {
    communication_.execUserStop();
    OptionsDialogModel model(context_.settings, context_.messages);
    const bool accepted = view_.runOptionsDialog(model, tab);
    if (accepted) {
        model.applyTo(context_.settings);
        saveAllSettings();
        view_.updateAfterOptionsChanged();
    }
    return accepted;
}

bool OptionsCommands::editShortcutTable() {
    const std::string before = modShortCutManagement::tableToText(context_.settings.userShortcuts);
    return showOptions(OptionsTab::Shortcuts) &&
           modShortCutManagement::tableToText(context_.settings.userShortcuts) != before;
}

void OptionsCommands::startLogging() {
    LogFileDialogRunner dialog(*this, context_, project_, view_);
    context_.logging.startLogging(dialog);
}

} // namespace corvane
