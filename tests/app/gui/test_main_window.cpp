// The main window over the built-in loopback port: communication start and stop, traffic in the
// communication window, the status bar, keys and the close question.
#include "MainWindowFixture.h"

#include "app/control/CommunicationPass.h"
#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindows.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace corvane {
namespace {

using MainWindowTest = test::MainWindowFixture;

TEST_F(MainWindowTest, ListsShowTheProjectsSequences) {
    openPingPong();
    auto* send = window().sendListWidget();
    ASSERT_EQ(send->rowCount(), state().lists.sendList().sequenceCount());
    EXPECT_EQ(send->cellText(0, 1), "Ping");
    auto* receive = window().receiveListWidget();
    ASSERT_EQ(receive->rowCount(), state().lists.receiveList().sequenceCount());
    EXPECT_EQ(receive->cellText(0, 1), "Ping received");
    // ASCII shows the characters side by side, control characters by name.
    EXPECT_EQ(send->cellText(0, 2), "Ping<CR><LF>");
    EXPECT_EQ(receive->cellText(0, 2), "Ping<CR><LF>");
    // The lists follow the visible representation.
    window().setSequencesDisplayMode(1);
    EXPECT_EQ(send->cellText(0, 2),
              QString::fromStdString(
                  state().lists.sendList()[0].sequence.getSeqRepresentation(Representation::HEX, true)));
    EXPECT_EQ(window().tabBar()->currentIndex(), 1);
}

TEST_F(MainWindowTest, StatusBarShowsTheSettings) {
    openPingPong();
    EXPECT_EQ(panel(1), "Commmunication port closed");
    EXPECT_EQ(panel(2), "Plain Text Mode");
    EXPECT_EQ(panel(3), "  COM256  ");
    EXPECT_EQ(panel(4), "1200, None, 8, 1");
    EXPECT_FALSE(window().statusPanel(5)->isVisibleTo(&window()));
    EXPECT_FALSE(window().lineIndicator(0)->isVisibleTo(&window()));
    EXPECT_EQ(window().activityIcon(), 5);
}

TEST_F(MainWindowTest, PingPongPlaysOverTheLoopbackUntilStopped) {
    openPingPong();
    window().setPendingCommand("Start");
    window().MainProcess(false, true);
    ASSERT_TRUE(window().communicationRuns()) << (messages.shown.empty() ? "" : messages.shown[0].text);
    EXPECT_EQ(panel(1), "Commmunication port open");
    EXPECT_FALSE(window().action("Start")->isEnabled());
    EXPECT_TRUE(window().action("Stop")->isEnabled());
    // The first send sequence starts the game.
    window().communicationPass().sendSequence(0, SendKind::Once);
    // Each answer comes back over the loopback and is answered again.
    ASSERT_TRUE(passUntil([&] { return asciiText().count("Ping received") >= 3; }))
        << asciiText().toStdString();
    // F5 while running changes nothing.
    QTest::keyClick(window().commWindows().window(0), Qt::Key_F5);
    window().MainProcess(false, true);
    EXPECT_TRUE(window().communicationRuns());
    QTest::keyClick(window().commWindows().window(0), Qt::Key_F6);
    window().MainProcess(false, true);
    EXPECT_FALSE(window().communicationRuns());
    EXPECT_EQ(panel(1), "Commmunication port closed");
    EXPECT_TRUE(asciiText().contains("[TX] - Pong")) << asciiText().toStdString();
    if (const char* shot = std::getenv("CORVANE_SCREENSHOT")) {
        window().resize(1180, 760);
        window().grab().save(shot);
    }
}

TEST_F(MainWindowTest, TheConsoleSendsReturnAsCarriageReturnAndLineFeed) {
    openPingPong();
    // An empty receive list keeps the loopback quiet.
    state().lists.resetReceiveList();
    window().setPendingCommand("ConsoleOn");
    window().MainProcess(false, true);
    ASSERT_TRUE(window().keyboardConsole());
    ASSERT_TRUE(window().communicationRuns());
    QTest::keyClick(window().commWindows().window(0), Qt::Key_Return);
    window().setSequencesDisplayMode(1);
    ASSERT_TRUE(passUntil([&] {
        return window().commWindows().window(1)->unfoldedPlainText().count("0D 0A") >= 2;
    })) << window().commWindows().window(1)->unfoldedPlainText().toStdString();
    window().consoleOff();
    EXPECT_FALSE(window().keyboardConsole());
    window().execUserStop();
}

TEST_F(MainWindowTest, TheConsoleSendsTheCharacterOfAShortcut) {
    openPingPong();
    state().lists.resetReceiveList();
    window().consoleOn();
    ASSERT_TRUE(window().keyboardConsole());
    // Ctrl+Enter stands for CR alone in the default shortcut table.
    QTest::keyClick(window().commWindows().window(0), Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(window().commWindows().window(0), Qt::Key_A);
    window().setSequencesDisplayMode(1);
    QString hex;
    ASSERT_TRUE(passUntil([&] {
        hex = window().commWindows().window(1)->unfoldedPlainText();
        return hex.count("0D") >= 2 && hex.count("61") >= 2;
    })) << hex.toStdString();
    EXPECT_FALSE(hex.contains("0A")) << hex.toStdString();
    window().execUserStop();
}

TEST_F(MainWindowTest, APeriodicSequenceStartsAndStopsWithItsButton) {
    ASSERT_TRUE(start({root + "bin/Samples/ModemDiagnostics.ptp"}));
    auto& list = state().lists.sendList();
    int periodic = -1;
    for (int i = 0; i < list.sequenceCount(); ++i) {
        if (list[i].repeat > 0) {
            periodic = i;
        }
    }
    ASSERT_GE(periodic, 0);
    EXPECT_EQ(window().sendListWidget()->cellText(periodic, 3), "R");
    // The row's send button, clicked with the mouse.
    SequenceListTable* table = window().sendListWidget();
    const QPoint buttonCentre = table->visualRect(table->model()->index(periodic, 0)).center();
    auto click = [&] { QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, buttonCentre); };
    auto buttonText = [&] { return table->cellText(periodic, 0); };
    click();
    ASSERT_TRUE(window().communicationRuns());
    EXPECT_EQ(list[periodic].repeatRunning, 1);
    EXPECT_EQ(buttonText(), "Stop");
    click();
    EXPECT_EQ(list[periodic].repeatRunning, 0);
    EXPECT_EQ(buttonText(), "Send");
    click();
    EXPECT_EQ(buttonText(), "Stop");
    // Stopping communication ends periodic sending.
    window().execUserStop();
    EXPECT_EQ(list[periodic].repeatRunning, 0);
    EXPECT_EQ(buttonText(), "Send");
}

TEST_F(MainWindowTest, ManualRtsAndDtrAreSwitchedByDoubleClick) {
    openPingPong();
    state().communicationSettings.flowControl = FlowControl::ManualRtsDtr;
    window().setMainScreenDisplayStatus();
    EXPECT_EQ(panel(5), "Manual RTS/DTR Control");
    ASSERT_TRUE(window().lineIndicator(0)->isVisibleTo(&window()));
    EXPECT_EQ(window().lineIndicator(0)->toolTip(), "Request To Send - Double click to change");
    EXPECT_EQ(window().lineIndicator(2)->toolTip(), "Clear To Send");
    // CTS, DSR, DCD and RI only show the device's lines.
    window().lineIndicatorDoubleClicked(2);
    EXPECT_FALSE(window().communicationRuns());
    // The lines as opening the port sets them.
    bool rtsOpened = false;
    bool dtrOpened = false;
    window().execUserStart();
    state().channel1->rs232_getRTSDTR(rtsOpened, dtrOpened);
    window().execUserStop();
    // RTS starts communication first, then switches the line.
    window().lineIndicatorDoubleClicked(0);
    ASSERT_TRUE(window().communicationRuns());
    bool rts = false;
    bool dtr = false;
    state().channel1->rs232_getRTSDTR(rts, dtr);
    EXPECT_EQ(rts, !rtsOpened);
    EXPECT_EQ(dtr, dtrOpened);
    const QColor on(0, 0, 255); // the colour of sent data
    auto painted = [&](int line) { return window().lineIndicator(line)->palette().color(QPalette::Window); };
    EXPECT_EQ(painted(0) == on, rts);
    EXPECT_EQ(painted(1) == on, dtr);
    window().lineIndicatorDoubleClicked(1);
    state().channel1->rs232_getRTSDTR(rts, dtr);
    EXPECT_EQ(rts, !rtsOpened);
    EXPECT_EQ(dtr, !dtrOpened);
    EXPECT_EQ(painted(1) == on, dtr);
    // The first panel stops it again.
    window().statusPanelDoubleClicked(1);
    EXPECT_FALSE(window().communicationRuns());
    window().statusPanelDoubleClicked(4);
    EXPECT_EQ(window().pendingCommand(), "ProjectSettings");
}

TEST_F(MainWindowTest, StatusTextIsWrittenOnlyWhenItChanges) {
    openPingPong();
    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns());
    int writes = window().statusTextWrites();
    for (int i = 0; i < 20; ++i) {
        window().refreshStatusText();
    }
    EXPECT_EQ(window().statusTextWrites(), writes);
    window().execUserStop();
    EXPECT_EQ(window().statusTextWrites(), writes + 1);
}

TEST_F(MainWindowTest, CtrlTabCyclesThroughEnabledViews) {
    openPingPong();
    window().tabBar()->setCurrentIndex(0);
    window().selectNextView();
    EXPECT_EQ(window().visibleView(), 1);
    window().selectNextView();
    EXPECT_EQ(window().visibleView(), 2);
    // Binary is disabled by default: back to ASCII.
    window().selectNextView();
    EXPECT_EQ(window().visibleView(), 0);
    // Chosen with the mouse, a disabled view shows what to do about it.
    window().tabBar()->setCurrentIndex(3);
    auto* hint = window().findChild<QLabel*>("lblCommWindowModes");
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisibleTo(&window()));
    EXPECT_FALSE(window().commWindows().window(3)->isVisibleTo(&window()));
    // With only ASCII enabled, Ctrl+Tab stays there.
    state().settings.commDisplayModeEnabled = {true, false, false, false};
    window().tabBar()->setCurrentIndex(0);
    window().updateAfterOptionsChanged();
    window().selectNextView();
    EXPECT_EQ(window().visibleView(), 0);
    EXPECT_FALSE(hint->isVisibleTo(&window()));
}

TEST_F(MainWindowTest, CancellingTheSaveQuestionKeepsTheProgramRunning) {
    openPingPong();
    window().execUserStart();
    window().EnableSave();
    messages.answers.push_back(MessageResult::Cancel);
    EXPECT_FALSE(window().close());
    EXPECT_FALSE(state().stopRequested);
    EXPECT_TRUE(window().communicationRuns());
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text, "Save changes for this project?");
    messages.answers.push_back(MessageResult::No);
    EXPECT_TRUE(window().close());
    EXPECT_TRUE(state().stopRequested);
    program->run();
    EXPECT_FALSE(state().channelsCreated());
}

TEST_F(MainWindowTest, PastingTextThatIsNoSequenceIsRefused) {
    openPingPong();
    QApplication::clipboard()->setText("zz");
    window().setSequencesDisplayMode(1);
    int before = state().lists.sendList().sequenceCount();
    window().pasteSequence(SequenceListKind::Send, 0);
    EXPECT_EQ(state().lists.sendList().sequenceCount(), before);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text,
              "Clipboard text format does not match current edit mode (HEX). Check data "
              "format of clipboard contents and try again.");
    EXPECT_EQ(messages.shown.back().icon, MessageIcon::Error);
    // Text that reads as a sequence becomes a new one.
    QApplication::clipboard()->setText("41 42");
    window().pasteSequence(SequenceListKind::Send, 0);
    EXPECT_EQ(state().lists.sendList().sequenceCount(), before + 1);
    EXPECT_TRUE(window().projectModified());
}

} // namespace
} // namespace corvane
