#include "app/gui/CommArea.h"

#include "app/gui/ClickableLabel.h"
#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace corvane {

CommArea::CommArea(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabs_ = new QTabBar(this);
    tabs_->setObjectName("tabCommWindow");
    for (const char* caption : {" ASCII", " HEX", " Decimal", " Binary"}) {
        tabs_->addTab(caption);
    }
    layout->addWidget(tabs_);

    loggingOverlay_ = new QWidget(this);
    loggingOverlay_->setObjectName("overlayLoggingWindowDisabled");
    auto* loggingLayout = new QHBoxLayout(loggingOverlay_);
    auto* loggingText = new QLabel(
        "Communication window disabled while logging. Click here to enable the communication window and  ",
        loggingOverlay_);
    loggingText->setWordWrap(true);
    stopLoggingLabel_ = new ClickableLabel("<u>Stop Logging</u>", loggingOverlay_);
    stopLoggingLabel_->setObjectName("lblStopLogging");
    loggingLayout->addWidget(loggingText, 1);
    loggingLayout->addWidget(stopLoggingLabel_);
    loggingOverlay_->setVisible(false);
    layout->addWidget(loggingOverlay_);

    snapshotOverlay_ = new QWidget(this);
    snapshotOverlay_->setObjectName("overlaySnapshotWaiting");
    auto* snapshotLayout = new QHBoxLayout(snapshotOverlay_);
    auto* snapshotText = new QLabel(
        "Snapshot Mode: Waiting for a trigger receive sequence. Click here to enable the communication "
        "window and",
        snapshotOverlay_);
    snapshotText->setWordWrap(true);
    stopSnapshotLabel_ = new ClickableLabel("<u>Stop Snapshot Mode</u>", snapshotOverlay_);
    stopSnapshotLabel_->setObjectName("lblStopSnapshotMode");
    snapshotLayout->addWidget(snapshotText, 1);
    snapshotLayout->addWidget(stopSnapshotLabel_);
    snapshotOverlay_->setVisible(false);
    layout->addWidget(snapshotOverlay_);

    stack_ = new QStackedWidget(this);
    std::array<CommTextEdit*, 4> windows{};
    for (std::size_t i = 0; i < windows.size(); ++i) {
        windows[i] = new CommTextEdit(stack_);
        windows[i]->setObjectName(QString("rtfWin%1").arg(i));
        stack_->addWidget(windows[i]);
    }
    disabledViewPage_ = new QWidget(stack_);
    auto* disabledLayout = new QVBoxLayout(disabledViewPage_);
    auto* disabledText =
        new QLabel("This mode has been disabled. Click here to enable/disable", disabledViewPage_);
    commWindowModesLabel_ = new ClickableLabel("<u>Communication Window Modes</u>", disabledViewPage_);
    commWindowModesLabel_->setObjectName("lblCommWindowModes");
    disabledLayout->addStretch();
    disabledLayout->addWidget(disabledText, 0, Qt::AlignHCenter);
    disabledLayout->addWidget(commWindowModesLabel_, 0, Qt::AlignHCenter);
    disabledLayout->addStretch();
    stack_->addWidget(disabledViewPage_);
    layout->addWidget(stack_);
    windows_ = std::make_unique<CommWindows>(windows);
}

CommArea::~CommArea() = default;

void CommArea::showView(int view, bool loggingOverlay, bool snapshotOverlay) {
    if (windows_->viewEnabled(view)) {
        loggingOverlay_->setVisible(loggingOverlay);
        snapshotOverlay_->setVisible(snapshotOverlay);
        stack_->setCurrentIndex(view);
    } else {
        loggingOverlay_->setVisible(false);
        snapshotOverlay_->setVisible(false);
        windows_->clearPending(view);
        stack_->setCurrentWidget(disabledViewPage_);
    }
}

} // namespace corvane
