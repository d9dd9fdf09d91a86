#pragma once

#include <map>
#include <string>

namespace corvane {

class DeferredCommands;
struct CommunicationSettings;
struct ExpertOptions;

// The state of one command's menu item and tool button.
struct CommandState {
    bool enabled = false;
    // The tool button may be hidden where the menu item is only disabled.
    bool buttonShown = true;
};

// What the tool bar and the menus show.
struct CommandStates {
    // The menus File, Edit, Run, Tools and Help; while communication runs a single
    // "Stop Communication  (F6)" item stands in for them.
    bool menusShown = true;
    bool stopMenuShown = false;
    // By command key ("Start", "Save", "LogStart", ...).
    std::map<std::string, CommandState> commands;
    // The click labels that post a window's command work once that window is there.
    bool changeModeEnabled = false;
    bool commWindowModesEnabled = false;
    bool expertEnabled = false;
    bool filterEnabled = false;
};

// The program state the command states follow.
struct CommandStateInputs {
    bool communicationRuns = false;
    bool loggingRuns = false;
    bool snapshotModeOn = false;
    bool keyboardConsole = false;
    bool projectModified = false;
    bool sendReceiveMode = true;
};

// Enabled and shown: Start, Print and Find while communication is stopped, Stop while it runs,
// Save when stopped and modified, the logging, snapshot and console pairs as their states say
// (logging and snapshot mode exclude each other); a command whose window isn't registered stays
// disabled.
CommandStates commandStatesOf(const CommandStateInputs& inputs, const DeferredCommands& commands);

// The small clickable texts and the overlay of the main window.
struct ClickLabels {
    // Over the send list in "Monitoring (Receive Only)".
    bool receiveOnlyOverlay = false;
    // "Expert option: " followed by what is on; empty when nothing is.
    std::string expertText;
    // The contents filter ("[TX] only", "[COM1] only", "comments only"); empty without a filter.
    std::string filterText;
    // "Keyboard Console on - click to turn off".
    bool consoleShown = false;
};

ClickLabels clickLabelsOf(const CommunicationSettings& communication, const ExpertOptions& expert,
                          bool keyboardConsole, bool communicationRuns);

// The application title, and " - Project: " with the project's name when it has one.
std::string windowCaptionOf(const std::string& projectName);

} // namespace corvane
