#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace corvane {

class CommunicationControl;
class DeferredCommands;
class MainWindowView;
class StatusBarPresenter;
class SystemClock;
struct ProgramContext;

// The program's driver: passes of the main loop until the program is asked to stop. One pass, in
// this order: pending display text into the visible window (unless logging runs with the window
// switched off; while communication runs at most every 40 ms, so the window is drawn at screen
// rate and not for every few bytes, and every 80 ms while each refresh replaces all the window
// shows); while communication runs, its work (receive processing, send queue, periodic sending,
// channel error check); the idle wait when that found nothing; at most every 0.05 s the status
// indicators; the deferred command; the user interface's events (while communication runs, after
// every window refresh and otherwise at most every 10 ms: a pass per packet received would
// otherwise poll the user interface hundreds of times a second).
class MainLoop {
public:
    // Work time of the passes. The idle wait doesn't count, nor does the event pump while
    // communication is stopped (it waits for user input); deferred commands and their dialogs do.
    struct PassStats {
        std::uint64_t passes = 0;
        std::chrono::steady_clock::duration longest{};
        std::uint64_t slowPasses = 0; // passes longer than kSlowPass
    };
    static constexpr std::chrono::milliseconds kSlowPass{50};
    static constexpr double kStatusRefreshSeconds = 0.05;
    static constexpr std::int64_t kWindowRefreshMs = 40;
    static constexpr std::int64_t kFloodRefreshMs = 80;
    static constexpr std::int64_t kEventPumpMs = 10;

    MainLoop(ProgramContext& context, CommunicationControl& communication, DeferredCommands& commands,
             StatusBarPresenter& statusBar, MainWindowView& view, SystemClock& clock);

    // The next pass moves pending text into the window whenever the last refresh was.
    void refreshWindowNow() { windowRefreshTime_ = -1; }

    // Passes until stopRequested; then communication and logging end.
    void run();
    // One pass. uiEventsOnly: only the deferred command and the events; idleSleep: a pass that
    // found nothing may wait.
    void MainProcess(bool uiEventsOnly, bool idleSleep);

    const PassStats& passStats() const { return stats_; }
    // One line for stderr: passes, longest pass in milliseconds, passes above 50 ms.
    std::string passStatsText() const;

private:
    void refreshStatusWhenDue();
    bool windowRefreshDue();
    bool eventPumpDue() const;

    ProgramContext& context_;
    CommunicationControl& communication_;
    DeferredCommands& commands_;
    StatusBarPresenter& statusBar_;
    MainWindowView& view_;
    SystemClock& clock_;
    double statusRefreshTime_ = -1;
    std::int64_t windowRefreshTime_ = -1;
    std::int64_t eventPumpTime_ = -1;
    std::int64_t windowRefreshMs_ = kWindowRefreshMs;
    PassStats stats_;
};

} // namespace corvane
