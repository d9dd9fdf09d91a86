#include "app/control/SettingsDialogCommands.h"

#include "app/control/CommunicationControl.h"
#include "app/control/ProgramContext.h"
#include "app/control/ProjectCommands.h"
#include "persistence/CommunicationNormalisation.h"
#include "persistence/ProgramSettings.h"
#include "persistence/ProgramSettingsData.h"
#include "platform/SettingsStore.h"

#include <algorithm>

namespace corvane {

SettingsDialogCommands::SettingsDialogCommands(ProgramContext& context, CommunicationControl& communication,
                                               ProjectCommands& project,
                                               std::function<void()> refreshDisplayStatus)
    : context_(context), communication_(communication), project_(project),
      refreshDisplayStatus_(std::move(refreshDisplayStatus)) {}

bool SettingsDialogCommands::stopCommunication() {
    communication_.execUserStop();
    return !communication_.communicationRuns();
}

void SettingsDialogCommands::afterDialog() {
    communication_.assignChannelSettings();
    refreshDisplayStatus_();
}

void SettingsDialogCommands::showProjectSettings(int tab, const ProjectSettingsDialog& dialog) {
    if (!stopCommunication()) {
        return;
    }
    const std::optional<CommunicationSettings> chosen = dialog(std::clamp(tab, 1, 3));
    if (chosen) {
        context_.communicationSettings = *chosen;
        normaliseCommunicationSettings(context_.communicationSettings);
        communication_.assignChannelSettings();
        project_.EnableSave();
        writeCommunicationSettings(context_.store, context_.communicationSettings);
        context_.store.sync();
    }
    afterDialog();
}

bool SettingsDialogCommands::showExpertOptions(const ExpertOptionsDialog& dialog) {
    if (!stopCommunication()) {
        return false;
    }
    const std::optional<ExpertOptions> chosen = dialog();
    if (chosen) {
        context_.settings.expertOptions = *chosen;
        ProjectEnvironment env = project_.environment();
        writeAllSettings(env);
    }
    afterDialog();
    return chosen.has_value();
}

} // namespace corvane
