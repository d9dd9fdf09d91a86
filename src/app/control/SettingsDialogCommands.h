#pragma once

#include "communication/CommunicationSettings.h"
#include "communication/ExpertOptions.h"

#include <functional>
#include <optional>

namespace corvane {

class CommunicationControl;
class ProjectCommands;
struct ProgramContext;

// What the main window does around its settings dialogs: communication is stopped first (and the
// dialog opens only when it did), what the dialog accepted is applied and stored, and afterwards
// both channels get their settings strings and the display status is refreshed.
class SettingsDialogCommands {
public:
    // Shows the project settings dialog on a tab (1 to 3) and returns the accepted settings, or
    // nothing after Cancel.
    using ProjectSettingsDialog = std::function<std::optional<CommunicationSettings>(int tab)>;
    // Shows the expert options dialog; the accepted options, or nothing after Cancel.
    using ExpertOptionsDialog = std::function<std::optional<ExpertOptions>()>;

    SettingsDialogCommands(ProgramContext& context, CommunicationControl& communication,
                           ProjectCommands& project, std::function<void()> refreshDisplayStatus);

    // OK replaces the current communication settings, normalises them, marks the project
    // modified and writes the "Communication" section of the program settings.
    void showProjectSettings(int tab, const ProjectSettingsDialog& dialog);
    // OK stores both options and writes the program settings. True when they were stored (the
    // window then updates after changed options).
    bool showExpertOptions(const ExpertOptionsDialog& dialog);

private:
    bool stopCommunication();
    void afterDialog();

    ProgramContext& context_;
    CommunicationControl& communication_;
    ProjectCommands& project_;
    std::function<void()> refreshDisplayStatus_;
};

} // namespace corvane
