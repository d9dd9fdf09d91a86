#pragma once

#include "app/control/SerialPortDirectory.h"

#include <functional>
#include <vector>

namespace corvane {

class HelpSystem;
class frmExpertOptions;
class frmMain;
class frmProjectSettings;

// The main window's project settings and expert options dialogs: registers their commands
// ("ProjectSettings", "ProjectSettings2", "ProjectSettings3", "ExpOptions"), builds each dialog
// over the program's port map and taps, and runs it modally.
class SettingsDialogs : public SerialPortDirectory {
public:
    // Runs a dialog instead of exec() (tests); true when it was accepted.
    using ProjectSettingsRunner = std::function<bool(frmProjectSettings&)>;
    using ExpertOptionsRunner = std::function<bool(frmExpertOptions&)>;

    SettingsDialogs(frmMain& window, HelpSystem& help);
    ~SettingsDialogs() override;
    SettingsDialogs(const SettingsDialogs&) = delete;
    SettingsDialogs& operator=(const SettingsDialogs&) = delete;

    void setProjectSettingsRunner(ProjectSettingsRunner runner) { projectRunner_ = std::move(runner); }
    void setExpertOptionsRunner(ExpertOptionsRunner runner) { expertRunner_ = std::move(runner); }

    // tab 1 to 3.
    void showProjectSettings(int tab);
    void showExpertOptions();

    // SerialPortDirectory: the port map's COM names.
    std::vector<SerialPortEntry> listSerialPorts() override;

private:
    frmMain& window_;
    HelpSystem& help_;
    ProjectSettingsRunner projectRunner_;
    ExpertOptionsRunner expertRunner_;
};

} // namespace corvane
