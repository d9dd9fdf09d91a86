#pragma once

#include "app/gui/frmWelcome.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace corvane {

class HelpSystem;
class MessageService;
class ProgramState;
class SettingsStore;
class frmMain;

// The program's start-up and shut-down: library check, settings, command line, channels, main
// window, the project or notepad files named on the command line or the welcome dialog, the main
// loop, and the release of everything in reverse.
class MdMain {
public:
    struct StartOptions {
        std::unique_ptr<SettingsStore> store;
        // The folder of the executable; "Samples" lies in it.
        std::string programDirectory;
        std::string currentDirectory;
        std::vector<std::string> arguments;
        // Where messages go instead of message boxes (tests); none for message boxes.
        MessageService* messages = nullptr;
    };

    // Runs the welcome dialog; returns whether it was accepted. Tests replace it.
    using WelcomeRunner = std::function<bool(frmWelcome&)>;

    static constexpr const char* kLibraryMessage =
        "Missing Corvane appplication file CvnFctLb.dll, or wrong DLL file version. Please re-install the "
        "application or contact the Corvane support.";

    explicit MdMain(StartOptions options);
    ~MdMain();
    MdMain(const MdMain&) = delete;
    MdMain& operator=(const MdMain&) = delete;

    void setWelcomeRunner(WelcomeRunner runner) { welcomeRunner_ = std::move(runner); }

    // Steps up to the arguments or the welcome dialog. False when the library check failed (the
    // process then ends without a window).
    bool startUp();
    // The main loop, then the release of the main window and the channels.
    void run();
    // Both.
    int Main();

    // One command-line argument, as start-up processes it.
    void processArgument(const std::string& argument);
    // What the welcome dialog's choice leads to.
    void applyWelcomeChoice(frmWelcome::Choice choice, bool skipInFuture);
    void showWelcome();

    std::string samplesFolder() const;
    ProgramState& state() { return *state_; }
    frmMain* mainWindow() { return main_.get(); }
    HelpSystem& help() { return *help_; }

private:
    StartOptions options_;
    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<HelpSystem> help_;
    std::unique_ptr<frmMain> main_;
    WelcomeRunner welcomeRunner_;
};

// Installs the internal error reporter that shows the "Corvane Internal Error" dialog.
void installInternalErrorDialog(std::function<QWidget*()> parent);

} // namespace corvane
