#include "app/control/MainLoop.h"

#include "app/control/CommunicationControl.h"
#include "app/control/DeferredCommands.h"
#include "app/control/MainWindowView.h"
#include "app/control/ProgramContext.h"
#include "app/control/StatusBarPresenter.h"
#include "communication/CommunicationEngine.h"
#include "display/MdLogging.h"
#include "persistence/ProgramSettingsData.h"
#include "platform/InternalError.h"
#include "platform/SystemClock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace corvane {

MainLoop::MainLoop(ProgramContext& context, CommunicationControl& communication, DeferredCommands& commands,
                   StatusBarPresenter& statusBar, MainWindowView& view, SystemClock& clock)
    : context_(context), communication_(communication), commands_(commands), statusBar_(statusBar),
      view_(view), clock_(clock) {}

void MainLoop::run() {
    while (!context_.stopRequested) {
        MainProcess(false, true);
    }
    communication_.execUserStop();
    context_.logging.stopLogging(true);
    if (std::getenv("CORVANE_PASS_STATS") != nullptr) {
        std::fprintf(stderr, "%s\n", passStatsText().c_str());
    }
}

std::string MainLoop::passStatsText() const {
    const double longestMs = std::chrono::duration<double, std::milli>(stats_.longest).count();
    const MdCommunicationReceive& receive = context_.engine.receive();
    char text[240];
    std::snprintf(text, sizeof text,
                  "corvane: %llu main loop passes, longest %.1f ms, %llu above %lld ms; %llu data bytes "
                  "received, %llu receive queue overflows",
                  static_cast<unsigned long long>(stats_.passes), longestMs,
                  static_cast<unsigned long long>(stats_.slowPasses),
                  static_cast<long long>(kSlowPass.count()),
                  static_cast<unsigned long long>(receive.receivedDataBytes()),
                  static_cast<unsigned long long>(receive.queueOverflows()));
    return text;
}

void MainLoop::refreshStatusWhenDue() {
    // The absolute difference of the time of day: a wrap at midnight triggers a refresh too.
    const double now = static_cast<double>(clock_.timeOfDayMs()) / 1000.0;
    if (std::fabs(now - statusRefreshTime_) >= kStatusRefreshSeconds) {
        statusRefreshTime_ = now;
        statusBar_.updateStatusLinesIndicators(false);
        if (communication_.communicationRuns()) {
            statusBar_.refreshStatusText();
        }
    }
}

bool MainLoop::windowRefreshDue() {
    // Stopped, what is pending moves at once (it is little, and nothing else comes).
    if (!communication_.communicationRuns()) {
        windowRefreshTime_ = -1;
        return true;
    }
    const std::int64_t now = clock_.timeOfDayMs();
    // The absolute difference: a wrap at midnight counts as due.
    const std::int64_t elapsed = now - windowRefreshTime_;
    if (windowRefreshTime_ >= 0 && elapsed >= 0 && elapsed < windowRefreshMs_) {
        return false;
    }
    windowRefreshTime_ = now;
    return true;
}

bool MainLoop::eventPumpDue() const {
    // The absolute difference: a wrap at midnight counts as due.
    const std::int64_t elapsed = clock_.timeOfDayMs() - eventPumpTime_;
    return eventPumpTime_ < 0 || elapsed < 0 || elapsed >= kEventPumpMs;
}

void MainLoop::MainProcess(bool uiEventsOnly, bool idleSleep) {
    using Clock = std::chrono::steady_clock;
    auto segmentStart = Clock::now();
    Clock::duration work{};
    bool moved = false;
    try {
        if (!uiEventsOnly) {
            if (!(context_.logging.loggingRuns() && context_.settings.logCommWindowDisabled) &&
                windowRefreshDue()) {
                // While a flood replaces all the window shows at every refresh, it is refreshed
                // half as often: a screen that is gone again after 40 ms can't be read either.
                windowRefreshMs_ = view_.copyCommWindowBuffers() ? kFloodRefreshMs : kWindowRefreshMs;
                moved = true;
            }
            bool idle = true;
            if (communication_.communicationRuns()) {
                CommunicationPass& pass = communication_.pass();
                idle = pass.runPass();
                bool direction0 = false;
                bool direction1 = false;
                pass.takeActivity(direction0, direction1);
                statusBar_.noteActivity(direction0, direction1);
            }
            if (idle && idleSleep && communication_.communicationRuns()) {
                // Returns early when a packet arrives.
                work += Clock::now() - segmentStart;
                communication_.pass().idleWait(communication_.pass().idleWaitMs());
                segmentStart = Clock::now();
            }
            refreshStatusWhenDue();
        }
        commands_.runDeferredCommand();
    } catch (const InternalError&) {
        // The report has been shown and the operation under way abandoned. As the report's
        // button says, the program ends: through the ordinary close, which still offers to save.
        view_.closeAfterInternalError();
    }
    const bool runs = communication_.communicationRuns();
    if (uiEventsOnly || (runs && (moved || eventPumpDue()))) {
        view_.processEvents(false);
        eventPumpTime_ = clock_.timeOfDayMs();
    }
    const bool poll = runs || uiEventsOnly;
    work += Clock::now() - segmentStart;
    if (!poll) {
        // Nothing to poll: sleep until the user does something or the status refresh is due.
        view_.processEvents(true);
    }
    ++stats_.passes;
    stats_.longest = std::max(stats_.longest, work);
    if (work > kSlowPass) {
        ++stats_.slowPasses;
    }
}

} // namespace corvane
