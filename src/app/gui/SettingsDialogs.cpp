#include "app/gui/SettingsDialogs.h"

#include "app/gui/HelpSystem.h"
#include "app/gui/ProgramState.h"
#include "app/gui/frmExpertOptions.h"
#include "app/gui/frmMain.h"
#include "app/gui/frmProjectSettings.h"

namespace corvane {

SettingsDialogs::SettingsDialogs(frmMain& window, HelpSystem& help)
    : window_(window), help_(help),
      projectRunner_([](frmProjectSettings& dialog) { return dialog.exec() == QDialog::Accepted; }),
      expertRunner_([](frmExpertOptions& dialog) { return dialog.exec() == QDialog::Accepted; }) {
    window_.setDialogCommand("ProjectSettings", [this] { showProjectSettings(1); });
    window_.setDialogCommand("ProjectSettings2", [this] { showProjectSettings(2); });
    window_.setDialogCommand("ProjectSettings3", [this] { showProjectSettings(3); });
    window_.setDialogCommand("ExpOptions", [this] { showExpertOptions(); });
}

SettingsDialogs::~SettingsDialogs() = default;

std::vector<SerialPortEntry> SettingsDialogs::listSerialPorts() {
    std::vector<SerialPortEntry> entries;
    for (const PortListEntry& port : window_.state().library.portMap().listPorts()) {
        entries.push_back({port.comNumber, port.displayText});
    }
    return entries;
}

void SettingsDialogs::showProjectSettings(int tab) {
    ProgramState& state = window_.state();
    const auto help = [this](int topic) { help_.showHelpTopic(kHelpDisplayTopic, topic); };
    window_.controller().settingsDialogs().showProjectSettings(
        tab, [&](int shownTab) -> std::optional<CommunicationSettings> {
            frmProjectSettings dialog({state.messages, state.library, *this, &state.taps},
                                      state.communicationSettings, shownTab, help, &window_);
            if (projectRunner_(dialog) && dialog.form().accepted()) {
                return dialog.form().result();
            }
            return std::nullopt;
        });
}

void SettingsDialogs::showExpertOptions() {
    ProgramState& state = window_.state();
    const auto help = [this](int topic) { help_.showHelpTopic(kHelpDisplayTopic, topic); };
    const bool stored =
        window_.controller().settingsDialogs().showExpertOptions([&]() -> std::optional<ExpertOptions> {
            frmExpertOptions dialog(state.messages, state.settings.expertOptions, help, &window_);
            if (expertRunner_(dialog) && dialog.form().accepted()) {
                return dialog.form().choices();
            }
            return std::nullopt;
        });
    if (stored) {
        window_.updateAfterOptionsChanged();
    }
}

} // namespace corvane
