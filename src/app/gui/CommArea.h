#pragma once

#include <QWidget>

#include <array>
#include <memory>

class QStackedWidget;
class QTabBar;

namespace corvane {

class ClickableLabel;
class CommTextEdit;
class CommWindows;

// The communication area right of the lists: the tab strip " ASCII", " HEX", " Decimal",
// " Binary", the four communication windows, the page shown for a disabled representation with its
// "Communication Window Modes" click label, the overlay shown while logging runs with the
// window switched off, with its "Stop Logging" click label, and the overlay shown while snapshot
// mode waits for its trigger, with its "Stop Snapshot Mode" click label.
class CommArea : public QWidget {
    Q_OBJECT
public:
    explicit CommArea(QWidget* parent = nullptr);
    ~CommArea() override;

    QTabBar* tabs() const { return tabs_; }
    CommWindows& windows() { return *windows_; }
    ClickableLabel* stopLoggingLabel() const { return stopLoggingLabel_; }
    ClickableLabel* commWindowModesLabel() const { return commWindowModesLabel_; }
    ClickableLabel* stopSnapshotLabel() const { return stopSnapshotLabel_; }

    // Shows the window of the view, or the disabled page when its representation is disabled
    // (whose pending text is dropped); the logging and snapshot overlays only over an enabled view.
    void showView(int view, bool loggingOverlay, bool snapshotOverlay = false);

private:
    QTabBar* tabs_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QWidget* disabledViewPage_ = nullptr;
    QWidget* loggingOverlay_ = nullptr;
    ClickableLabel* stopLoggingLabel_ = nullptr;
    ClickableLabel* commWindowModesLabel_ = nullptr;
    QWidget* snapshotOverlay_ = nullptr;
    ClickableLabel* stopSnapshotLabel_ = nullptr;
    std::unique_ptr<CommWindows> windows_;
};

} // namespace corvane
