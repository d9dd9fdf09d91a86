#pragma once

#include "app/control/StatusBarPresenter.h"

#include <QColor>
#include <QObject>

#include <array>
#include <functional>

class QLabel;
class QStatusBar;
class QWidget;

namespace corvane {

class ClickableLabel;

// The widgets of the main window's status bar: the activity icon, five panels and the strip of
// six modem line indicators. The status bar presenter decides what they show.
class MainStatusBar : public QObject, public StatusBarView {
    Q_OBJECT
public:
    // window: the indicators count as shown when they would be visible in it.
    MainStatusBar(QStatusBar& bar, QWidget& window);

    // The colours of lines that are on: RTS and DTR in the first, the others in the second.
    void setLineColors(const QColor& outputs, const QColor& inputs);
    void setPanelDoubleClicked(std::function<void(int panel)> handler) {
        panelDoubleClicked_ = std::move(handler);
    }
    void setLineDoubleClicked(std::function<void(int line)> handler) {
        lineDoubleClicked_ = std::move(handler);
    }

    QLabel* statusPanel(int panel) const;
    QLabel* lineIndicator(int line) const;

    // StatusBarView.
    void showPanel(int panel, const std::string& text, bool visible) override;
    void showLineIndicators(bool visible, const std::string& rtsToolTip,
                            const std::string& dtrToolTip) override;
    bool lineIndicatorsShown() const override;
    void showLineStates(const std::array<bool, 6>& states, const std::array<bool, 6>& changed) override;
    void showActivityIcon(int icon) override;

private:
    QWidget& window_;
    std::array<ClickableLabel*, 5> panels_{};
    QLabel* activityLabel_ = nullptr;
    QWidget* lineStrip_ = nullptr;
    std::array<ClickableLabel*, 6> lines_{};
    QColor outputsOn_;
    QColor inputsOn_;
    std::function<void(int)> panelDoubleClicked_;
    std::function<void(int)> lineDoubleClicked_;
};

} // namespace corvane
