#pragma once

#include "app/control/StatusTexts.h"

#include <array>
#include <string>

namespace corvane {

class CommunicationControl;
class DeferredCommands;
class SnapshotMode;
struct ProgramContext;

// The status bar's widgets as the presenter fills them.
class StatusBarView {
public:
    virtual ~StatusBarView() = default;
    // Panels 1 to 5.
    virtual void showPanel(int panel, const std::string& text, bool visible) = 0;
    virtual void showLineIndicators(bool visible, const std::string& rtsToolTip,
                                    const std::string& dtrToolTip) = 0;
    virtual bool lineIndicatorsShown() const = 0;
    // RTS, DTR, CTS, DSR, DCD, RI; only the changed ones need drawing again.
    virtual void showLineStates(const std::array<bool, 6>& states, const std::array<bool, 6>& changed) = 0;
    virtual void showActivityIcon(int icon) = 0;
};

// The five-panel status bar, the activity icon and the six modem line indicators: what they show,
// refreshed only where it changed, and what their double clicks do.
class StatusBarPresenter {
public:
    StatusBarPresenter(ProgramContext& context, CommunicationControl& communication,
                       DeferredCommands& commands, StatusBarView& view);

    // The snapshot mode whose state the status text shows; none: never on.
    void setSnapshotMode(const SnapshotMode* snapshot) { snapshot_ = snapshot; }

    // Every panel from the current settings, then the indicators and the status text.
    void setStatusBar();
    // Panel 1, written only when its text changed.
    void refreshStatusText();
    void updateStatusLinesIndicators(bool force);
    // Activity of the main loop pass, shown at the next tick of the activity icon.
    void noteActivity(bool direction0, bool direction1);
    void tickActivityIcon();
    // Panel 1 starts or stops communication at once; the others post the settings they show.
    void statusPanelDoubleClicked(int panel);
    // RTS (0) and DTR (1) are set by hand, starting communication first if needed.
    void lineIndicatorDoubleClicked(int line);

    int activityIcon() const { return activity_.current(); }
    int statusTextWrites() const { return statusTextWrites_; }

private:
    ProgramContext& context_;
    CommunicationControl& communication_;
    DeferredCommands& commands_;
    StatusBarView& view_;
    const SnapshotMode* snapshot_ = nullptr;
    FlowPanel flowPanel_;
    std::string statusText_;
    bool statusTextShown_ = false;
    int statusTextWrites_ = 0;
    std::array<bool, 6> lineStates_{};
    bool lineStatesKnown_ = false;
    ActivityIcon activity_;
    std::array<bool, 2> activityFlags_{false, false};
};

} // namespace corvane
