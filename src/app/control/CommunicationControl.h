#pragma once

#include "app/control/CommunicationPass.h"

#include <functional>
#include <memory>

namespace corvane {

class MainWindowView;
struct ProgramContext;

// Start and stop of communication as the user commands them (F5, F6, the tool bar, the lists),
// the keyboard console, and the RTS and DTR lines the user sets by hand.
class CommunicationControl {
public:
    // refreshDisplayStatus runs the main window's display status after every change.
    CommunicationControl(ProgramContext& context, MainWindowView& view,
                         std::unique_ptr<CommunicationPass> pass, std::function<void()> refreshDisplayStatus);

    bool communicationRuns() const;
    // Gives both channel objects the settings strings of the current communication settings.
    void assignChannelSettings();
    // Starts communication when it is stopped; the lines set by hand start from channel 1's.
    void execUserStart();
    // Stops communication when it runs; what is pending reaches the window.
    void execUserStop();
    // On: starts communication if needed; the console is on while communication runs.
    void consoleOn();
    void consoleOff();
    bool keyboardConsole() const { return console_; }

    // The RTS and DTR levels set by hand (double click on their indicators).
    bool manualRts() const { return manualRts_; }
    bool manualDtr() const { return manualDtr_; }
    void setManualLines(bool rts, bool dtr);

    CommunicationPass& pass() { return *pass_; }
    void replacePass(std::unique_ptr<CommunicationPass> pass) { pass_ = std::move(pass); }

private:
    ProgramContext& context_;
    MainWindowView& view_;
    std::unique_ptr<CommunicationPass> pass_;
    std::function<void()> refreshDisplayStatus_;
    bool console_ = false;
    bool manualRts_ = false;
    bool manualDtr_ = false;
};

} // namespace corvane
