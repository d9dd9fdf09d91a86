// The main loop and what it drives: communication start and stop, the keyboard console, the
// status bar and the window's close.
#include "app/gui/ClickableLabel.h"
#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindows.h"
#include "app/gui/CommunicationPass.h"
#include "app/gui/HelpSystem.h"
#include "app/gui/KeyCodes.h"
#include "app/gui/ProgramState.h"
#include "app/gui/StatusIcons.h"
#include "app/gui/frmMain.h"
#include "display/DataOutputSettings.h"
#include "persistence/ProgramSettings.h"
#include "persistence/ProjectEnvironment.h"
#include "persistence/WindowPlacement.h"
#include "platform/InternalError.h"
#include "sequences/CharacterRepresentation.h"
#include "sequences/Windows1252.h"
#include "sequences/modShortCutManagement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace corvane {

namespace {

double secondsSinceMidnight() {
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    double fraction =
        static_cast<double>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000) /
        1000.0;
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

} // namespace

void frmMain::MainLoop() {
    setMainScreenDisplayStatus();
    while (!state_.stopRequested) {
        MainProcess(false, true);
    }
    execUserStop();
    state_.logging.stopLogging(true);
    if (std::getenv("CORVANE_PASS_STATS") != nullptr) {
        std::fprintf(stderr, "%s\n", passStatsText().c_str());
    }
}

std::string frmMain::passStatsText() const {
    const double longestMs = std::chrono::duration<double, std::milli>(passStats_.longest).count();
    char text[160];
    std::snprintf(text, sizeof text, "corvane: %llu main loop passes, longest %.1f ms, %llu above %lld ms",
                  static_cast<unsigned long long>(passStats_.passes), longestMs,
                  static_cast<unsigned long long>(passStats_.slowPasses),
                  static_cast<long long>(kSlowPass.count()));
    return text;
}

void frmMain::MainProcess(bool uiEventsOnly, bool idleSleep) {
    using Clock = std::chrono::steady_clock;
    auto segmentStart = Clock::now();
    Clock::duration work{};
    try {
        if (!uiEventsOnly) {
            if (!(state_.logging.loggingRuns() && state_.settings.logCommWindowDisabled)) {
                copyCommWindowBuffers();
            }
            bool idle = true;
            if (communicationRuns()) {
                idle = pass_->runPass();
                bool direction0 = false;
                bool direction1 = false;
                pass_->takeActivity(direction0, direction1);
                activityFlags_[0] = activityFlags_[0] || direction0;
                activityFlags_[1] = activityFlags_[1] || direction1;
            }
            if (idle && idleSleep && communicationRuns()) {
                // Returns early when a packet arrives.
                work += Clock::now() - segmentStart;
                pass_->idleWait(pass_->idleWaitMs());
                segmentStart = Clock::now();
            }
            double now = secondsSinceMidnight();
            if (std::fabs(now - statusRefreshTime_) >= 0.05) {
                statusRefreshTime_ = now;
                updateStatusLinesIndicators(false);
                if (communicationRuns()) {
                    refreshStatusText();
                }
            }
        }
        runDeferredCommand();
    } catch (const InternalError&) {
        // The report has been shown and the operation under way abandoned. As the report's
        // button says, the program ends: through the ordinary close, which still offers to save.
        QMetaObject::invokeMethod(this, "close", Qt::QueuedConnection);
    }
    if (communicationRuns() || uiEventsOnly) {
        QApplication::processEvents(QEventLoop::AllEvents);
        work += Clock::now() - segmentStart;
    } else {
        work += Clock::now() - segmentStart;
        // Nothing to poll: sleep until the user does something or the status refresh is due.
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    ++passStats_.passes;
    passStats_.longest = std::max(passStats_.longest, work);
    if (work > kSlowPass) {
        ++passStats_.slowPasses;
    }
}

void frmMain::applyDataOutputOptions() {
    if (state_.output == nullptr) {
        return;
    }
    DataOutputOptions options = dataOutputOptionsFrom(state_.settings);
    state_.output->setOptions(options);
    auto recorded = state_.logging.recordedViews();
    state_.output->setEnabledRepresentations(
        enabledRepresentationsFrom(state_.settings, state_.logging.loggingRuns(), recorded));
    state_.router.setWindowViews(state_.settings.commDisplayModeEnabled);
    state_.router.setWindowSwitchedOff(state_.logging.loggingRuns() && state_.settings.logCommWindowDisabled);
}

void frmMain::resetDataOutputBuffers() {
    applyDataOutputOptions();
}

void frmMain::prepareSequenceLists() {}

bool frmMain::isShuttingDown() const {
    return closing_;
}

void frmMain::execUserStart() {
    if (communicationRuns()) {
        return;
    }
    assignChannelSettings();
    state_.communication->startCommunication();
    if (communicationRuns()) {
        manualRts_ = false;
        manualDtr_ = false;
        state_.channel1->rs232_getRTSDTR(manualRts_, manualDtr_);
    }
    setMainScreenDisplayStatus();
}

void frmMain::execUserStop() {
    if (!state_.communication || !communicationRuns()) {
        return;
    }
    state_.communication->stopCommunication();
    copyCommWindowBuffers();
    setMainScreenDisplayStatus();
}

void frmMain::consoleOn() {
    if (!communicationRuns()) {
        execUserStart();
    }
    console_ = communicationRuns();
    setMainScreenDisplayStatus();
    RefreshSendSeqList1();
    commWindows_->window(visibleView_)->setFocus();
}

void frmMain::consoleOff() {
    console_ = false;
    setMainScreenDisplayStatus();
    RefreshSendSeqList1();
}

void frmMain::pasteIntoRunningWindow(const QString& text) {
    ClSequence sequence;
    sequence.parseText(static_cast<Representation>(visibleView_), text.toStdString(),
                       state_.settings.maximumSequenceLen);
    if (sequence.size() > 0) {
        pass_->enqueue(sequence);
    }
}

void frmMain::rememberCopiedText(const QString& text) {
    ClSequence sequence;
    sequence.parseText(static_cast<Representation>(visibleView_), text.toStdString(),
                       state_.settings.maximumSequenceLen);
    state_.lists.takeClipboardFromEditControl(sequence, static_cast<Representation>(visibleView_));
}

bool frmMain::commWindowGetSelectedSequence(ClSequence& sequence) {
    sequence.clear();
    QTextCursor cursor = commWindows_->window(visibleView_)->textCursor();
    if (cursor.hasSelection()) {
        sequence.parseText(static_cast<Representation>(visibleView_), cursor.selectedText().toStdString(),
                           state_.settings.maximumSequenceLen);
    }
    return sequence.size() > 0;
}

void frmMain::minimiseAll() {
    setWindowState(windowState() | Qt::WindowMinimized);
    state_.notepad.hide();
}

// Keys: the window sees them before its controls.

bool frmMain::handleConsoleKey(QKeyEvent* event) {
    if (!console_ || !communicationRuns()) {
        return false;
    }
    ClSequence characters;
    const int virtualKey = virtualKeyOf(event->key());
    const int mapped = virtualKey == 0
                           ? -1
                           : modShortCutManagement::findShortcut(state_.settings.userShortcuts, virtualKey,
                                                                 shiftStateOf(event->modifiers()));
    if (mapped >= 0) {
        characters.appendCharacter(mapped);
    } else if (virtualKey >= 112 && virtualKey <= 135) {
        // Function keys stay with the window's commands.
        return false;
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        characters.appendCharacter(13);
        characters.appendCharacter(10);
    } else {
        // Typed text as the Windows-1252 bytes the channels send.
        for (QChar c : event->text()) {
            int code = windows1252::fromUnicode(c.unicode());
            if (code >= 32) {
                characters.appendCharacter(code);
            }
        }
    }
    if (characters.size() == 0) {
        return false;
    }
    pass_->sendTyped(characters);
    return true;
}

bool frmMain::handleWindowKey(QKeyEvent* event) {
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    switch (event->key()) {
    case Qt::Key_F5:
        setPendingCommand(ctrl ? "ConsoleOn" : "Start");
        return true;
    case Qt::Key_F6:
        setPendingCommand(ctrl ? "ConsoleOff" : "Stop");
        return true;
    case Qt::Key_F12:
        if (dialogCommandAvailable("Notepad")) {
            dialogCommands_["Notepad"]();
        }
        return true;
    case Qt::Key_Tab:
        if (ctrl) {
            selectNextView();
            return true;
        }
        break;
    default:
        break;
    }
    return handleConsoleKey(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this && QApplication::activeModalWidget() == nullptr) {
            if (handleWindowKey(static_cast<QKeyEvent*>(event))) {
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent* event) {
    help_.closeAll();
    if (!state_.stopRequested) {
        if (!VerifyIfSaveActualProject()) {
            event->ignore();
            return;
        }
        state_.stopRequested = true;
        if (isVisible()) {
            writeMainWindowPlacement(*state_.store, *this, state_.settings);
        }
    }
    closing_ = true;
    // Unload: the program settings are written and logging ends.
    ProjectEnvironment env = environment();
    writeSettingsOnUnload(env);
    state_.store->sync();
    state_.logging.stopLogging(true);
    event->accept();
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (isEnabled() && event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    if (!isEnabled()) {
        return;
    }
    for (const QUrl& url : event->mimeData()->urls()) {
        std::string path = url.toLocalFile().toStdString();
        QString lower = url.toLocalFile().toLower();
        bool project = lower.endsWith(".ptp");
        if (!project && !lower.endsWith(".ptn")) {
            continue;
        }
        event->acceptProposedAction();
        if (VerifyIfSaveActualProject()) {
            if (project) {
                OpenExistingProject(path);
            } else {
                OpenExistingNotepad(path);
            }
        }
        return;
    }
}

// Status bar.

void frmMain::setStatusBar() {
    const auto& s = state_.communicationSettings;
    panels_[1]->setText(QString::fromStdString(windowFormatPanelText(state_.settings.dispCommWindowFormat)));
    panels_[2]->setText(
        QString::fromStdString(channelPanelText(s.communicationMode, s.channelA, s.channelB)));
    const ChannelType type = state_.channel1 ? state_.channel1->channelType() : ChannelType::Com;
    const bool serial = ClCommChannel::isDevicePortType(type);
    panels_[3]->setText(
        QString::fromStdString(serialPanelText(serial, s.baudRate, s.parity, s.dataBits, s.stopBits)));
    flowPanel_ = flowControlPanel(s.communicationMode, s.flowControl, type, serial);
    panels_[4]->setVisible(flowPanel_.visible);
    panels_[4]->setText(QString::fromStdString(flowPanel_.text));
    lineStrip_->setVisible(flowPanel_.indicatorsVisible);
    lines_[0]->setToolTip(QString::fromStdString(flowPanel_.rtsToolTip));
    lines_[1]->setToolTip(QString::fromStdString(flowPanel_.dtrToolTip));
    updateStatusLinesIndicators(true);
    refreshStatusText();
    activityLabel_->setPixmap(activityIconPixmap(activity_.current()));
}

void frmMain::refreshStatusText() {
    if (!state_.channel1 || !state_.channel2) {
        return;
    }
    auto view = [](ClCommChannel& channel) {
        ChannelStatusView v;
        v.status = channel.channelStatus();
        v.type = channel.channelType();
        v.readyForTransmission =
            channel.channelStatus() == ChannelStatus::Open ? channel.readyForTransmission() : true;
        v.shortName = channel.channelNameShort();
        return v;
    };
    SnapshotStatusView snapshot;
    std::string text = communicationStatusText(state_.communicationSettings.communicationMode,
                                               view(*state_.channel1), view(*state_.channel2), snapshot);
    QString qtext = QString::fromStdString(text);
    if (panels_[0]->text() != qtext) {
        panels_[0]->setText(qtext);
        ++statusTextWrites_;
    }
}

void frmMain::updateStatusLinesIndicators(bool force) {
    if (!lineStrip_->isVisibleTo(this) || !state_.channel1) {
        return;
    }
    bool rts = manualRts_;
    bool dtr = manualDtr_;
    if (communicationRuns()) {
        state_.channel1->rs232_getRTSDTR(rts, dtr);
    }
    LineStates states = lineStatesOf(pass_->lastStatusFlags(), flowPanel_.tapDeviceMode, rts, dtr);
    const std::array<bool, 6> now{states.rts, states.dtr, states.cts, states.dsr, states.dcd, states.ri};
    QColor on[2] = {colorFromValue(state_.settings.dir1TextColor),
                    colorFromValue(state_.settings.dir2TextColor)};
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (!force && lineStatesKnown_ && now[i] == lineStates_[i]) {
            continue;
        }
        QPalette palette = lines_[i]->palette();
        palette.setColor(QPalette::Window,
                         now[i] ? on[i < 2 ? 0 : 1] : lineStrip_->palette().color(QPalette::Window));
        palette.setColor(QPalette::WindowText, now[i] ? Qt::white : Qt::black);
        lines_[i]->setPalette(palette);
        lineStates_[i] = now[i];
    }
    lineStatesKnown_ = true;
}

void frmMain::tickActivityIcon() {
    const bool receiveOnly =
        state_.communicationSettings.communicationMode == CommunicationMode::MonitorReceiveOnly;
    int before = activity_.current();
    int icon = activity_.tick(!communicationRuns(), receiveOnly, activityFlags_[0], activityFlags_[1]);
    if (icon != before) {
        activityLabel_->setPixmap(activityIconPixmap(icon));
    }
}

void frmMain::statusPanelDoubleClicked(int panel) {
    if (panel == 1) {
        if (communicationRuns()) {
            execUserStop();
        } else {
            execUserStart();
        }
        return;
    }
    setPendingCommand(panelDoubleClickCommand(panel, flowPanel_.tapDeviceMode));
}

void frmMain::lineIndicatorDoubleClicked(int line) {
    if (line != 0 && line != 1) {
        return;
    }
    if (!communicationRuns()) {
        execUserStart();
        if (!communicationRuns()) {
            return;
        }
    }
    manualRts_ = lineStates_[0];
    manualDtr_ = lineStates_[1];
    if (line == 0) {
        manualRts_ = !manualRts_;
    } else {
        manualDtr_ = !manualDtr_;
    }
    pass_->setManualRtsDtr(manualRts_, manualDtr_);
    updateStatusLinesIndicators(true);
}

} // namespace corvane
