// Snapshot mode in the window: the communication windows' buffers, markers and limits, the
// waiting overlay, and end to end on a pseudo-terminal with the real main window.
#include "CommWindowsFixture.h"
#include "MainWindowFixture.h"

#include "app/gui/ClickableLabel.h"
#include "app/gui/CommWindowTrim.h"
#include "platform/PtyPair.h"

#include <QTest>

#include <cerrno>
#include <unistd.h>

namespace corvane {
namespace {

class SnapshotWindowsTest : public test::CommWindowsFixture {
protected:
    void SetUp() override { openWindows(CommWindowFormat::Plain); }
    QString selected(int view) const {
        return windows[static_cast<std::size_t>(view)]->textCursor().selectedText();
    }
    // Lines "L<number> " padded to 50 characters, as pieces of 10 lines.
    void writeLines(int view, int from, int count) {
        for (int line = from; line < from + count; line += 10) {
            std::string piece;
            for (int i = line; i < line + 10 && i < from + count; ++i) {
                std::string text = "L" + std::to_string(i) + " ";
                text.resize(48, '.');
                piece += text + "\r\n";
            }
            comm->writeCommPiece(view, false, 2, piece);
        }
    }
};

TEST_F(SnapshotWindowsTest, WhileWaitingALongStreamKeepsTheNewestHistoryAndTheWindowsStayFrozen) {
    comm->writeCommPiece(1, false, 2, "before ");
    comm->copyCommWindowBuffers(false, 1);
    comm->setSnapshotState(true, false);
    for (int view = 0; view < 3; ++view) {
        writeLines(view, 0, 20000);
        EXPECT_GE(comm->pendingLength(view), 56000) << view;
        EXPECT_LE(comm->pendingLength(view), 64000) << view;
        EXPECT_TRUE(comm->pendingText(view).contains("L19999 ")) << view;
        EXPECT_FALSE(comm->pendingText(view).contains("L18000 ")) << view;
    }
    comm->copyCommWindowBuffers(true, 1);
    comm->copyCommWindowBuffers(false, 1);
    EXPECT_EQ(text(1), "before ");
}

TEST_F(SnapshotWindowsTest, TheTriggerBringsTheHistoryWithTheMarkerSelectedAndKeepsItSelected) {
    comm->writeCommPiece(1, false, 2, "old text ");
    comm->copyCommWindowBuffers(false, 1);
    comm->setSnapshotState(true, false);
    writeLines(1, 0, 2000);
    // The trigger: the windows are emptied, the piece that completed it carries the marker.
    comm->setSnapshotState(true, true);
    comm->emptyWindows();
    EXPECT_EQ(text(1), "");
    comm->writeCommPiece(1, true, 2, "54 52 47 ");
    comm->copyCommWindowBuffers(true, 1);
    const QTextCursor cursor = windows[1]->textCursor();
    EXPECT_FALSE(text(1).contains("old text"));
    EXPECT_TRUE(text(1).contains("L1999 "));
    EXPECT_EQ(text(1).mid(cursor.selectionStart() - 2, 3), "47 ");
    EXPECT_EQ(cursor.selectionEnd() - cursor.selectionStart(), 1);

    // More data while taking: the marker is selected again at every move.
    windows[1]->moveCursor(QTextCursor::End);
    writeLines(1, 5000, 100);
    comm->copyCommWindowBuffers(true, 1);
    EXPECT_EQ(windows[1]->textCursor().selectionStart(), cursor.selectionStart());
    // Snapshot mode ended: selected once more, then forgotten.
    comm->setSnapshotState(false, true);
    writeLines(1, 6000, 10);
    comm->copyCommWindowBuffers(false, 1);
    EXPECT_EQ(windows[1]->textCursor().selectionStart(), cursor.selectionStart());
    windows[1]->moveCursor(QTextCursor::End);
    writeLines(1, 7000, 10);
    comm->copyCommWindowBuffers(false, 1);
    EXPECT_FALSE(windows[1]->textCursor().hasSelection());
}

TEST_F(SnapshotWindowsTest, HistoryAndSnapshotBothSurviveUntilTheNextStart) {
    comm->setSnapshotState(true, false);
    writeLines(2, 0, 1300); // 64000 characters at most
    const int history = comm->pendingLength(2);
    comm->setSnapshotState(true, true);
    comm->emptyWindows();
    comm->writeCommPiece(2, true, 2, "T");
    // A view that isn't shown collects the whole snapshot before communication stops.
    writeLines(2, 10000, 1400); // 1400 lines of 49 window characters
    const int snapshot = 1400 * 49;
    EXPECT_EQ(comm->pendingLength(2), history + 1 + snapshot);
    comm->setSnapshotState(false, true);
    comm->copyCommWindowBuffers(false, 0);
    EXPECT_EQ(text(2).size(), history + 1 + snapshot);
    EXPECT_EQ(windows[2]->textCursor().selectionStart(), history);

    // The next start: the ordinary limit again.
    comm->setSnapshotState(false, false);
    writeLines(2, 20000, 20);
    comm->copyCommWindowBuffers(false, 0);
    EXPECT_LE(windows[2]->document()->characterCount() - 1, kCommWindowLimit);
}

TEST_F(SnapshotWindowsTest, StartingSnapshotModeForgetsOldMarkers) {
    comm->writeCommPiece(2, true, 2, "065 ");
    comm->clearSnapshotMarkers();
    comm->copyCommWindowBuffers(false, 2);
    EXPECT_FALSE(windows[2]->textCursor().hasSelection());
}

// The main window over a pseudo-terminal: the test plays the device.
class SnapshotMainWindowTest : public test::MainWindowFixture {
protected:
    void TearDown() override {
        MainWindowFixture::TearDown();
        unsetenv("CORVANE_COM77");
    }

    // A project on COM77 whose receive sequence "Trigger" (STX T R G ETX) is a snapshot trigger.
    void openTriggerProject() {
        ASSERT_TRUE(peer.ok());
        ASSERT_EQ(setenv("CORVANE_COM77", peer.path().c_str(), 1), 0);
        const char* lines[] = {"VERSION",
                               "8",
                               "",
                               "COMMSETTINGS",
                               "0",
                               "COM77",
                               "COM2",
                               "115200",
                               "2",
                               "63",
                               "4",
                               "0",
                               "0",
                               "",
                               "COMMDISPLAY",
                               "0",
                               "",
                               "LUMOTAP",
                               "0",
                               "",
                               "RECEIVE",
                               "0",
                               "Trigger",
                               "02 54 52 47 03",
                               "-1",
                               "1",
                               "COMMENT trigger seen",
                               "0",
                               "1",
                               "0",
                               "0",
                               ""};
        std::string project;
        for (const char* line : lines) {
            project += std::string(line) + "\r\n";
        }
        test::writeFile(root + "work/Rig.ptp", project);
        ASSERT_TRUE(start({root + "work/Rig.ptp"}));
        ASSERT_TRUE(messages.shown.empty()) << messageTexts()[0];
        // ASCII and HEX only: HEX is the widest view and the one that completes the snapshot.
        state().settings.commDisplayModeEnabled = {true, true, false, false};
        window().updateAfterOptionsChanged();
        window().show();
        window().setSequencesDisplayMode(1);
    }

    // Writes to the far end as the line takes it, with passes of the main loop in between.
    void feed(const std::string& bytes) {
        std::size_t done = 0;
        for (int round = 0; round < 200000 && done < bytes.size() && window().communicationRuns(); ++round) {
            const ssize_t n = ::write(peer.master(), bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else if (n < 0 && errno != EAGAIN) {
                break;
            }
            window().MainProcess(false, true);
        }
    }
    static std::string lines(int from, int count) {
        std::string text;
        for (int i = from; i < from + count; ++i) {
            std::string line = "line " + std::to_string(i) + " of the traffic";
            line.resize(48, '.');
            text += line + "\r\n";
        }
        return text;
    }
    bool overlayShown() {
        auto* overlay = window().findChild<QWidget*>("overlaySnapshotWaiting");
        return overlay != nullptr && overlay->isVisibleTo(&window());
    }

    test::PtyPair peer;
};

TEST_F(SnapshotMainWindowTest, ATriggerAfterAFloodShowsTheHistoryTheTriggerSelectedAndStopsAfter64000) {
    openTriggerProject();
    window().toolAction("SnapStart")->trigger();
    ASSERT_TRUE(window().communicationRuns()) << (messages.shown.empty() ? "" : messages.shown[0].text);
    EXPECT_TRUE(overlayShown());
    EXPECT_TRUE(window().toolAction("SnapStop")->isVisible());
    EXPECT_FALSE(window().toolAction("SnapStart")->isVisible());

    feed(lines(0, 4000)); // 200 kB
    for (int i = 0; i < 50; ++i) {
        window().MainProcess(false, true);
    }
    EXPECT_EQ(viewText(1), "") << "the window stays frozen while waiting";
    EXPECT_LE(window().commWindows().pendingLength(1), 64000);

    feed(std::string("\x02TRG\x03"));
    feed(lines(4000, 4000)); // 200 kB more
    ASSERT_TRUE(passUntil([&] { return !window().communicationRuns(); }));
    window().MainProcess(false, true);
    EXPECT_FALSE(overlayShown());
    EXPECT_EQ(panel(1), "Snapshot complete");

    const QString hex = viewText(1);
    const QTextCursor cursor = window().commWindows().window(1)->textCursor();
    ASSERT_TRUE(cursor.hasSelection());
    // The marker is the last character written at the trigger: the blank after ETX.
    EXPECT_EQ(hex.mid(cursor.selectionStart() - 14, 15), "02 54 52 47 03 ");
    // Before it the newest history, 56000 to 64000 characters; after the trigger a little more
    // than 64000 characters were written. Up to two blocks of data (4106 bytes each) that were in
    // the data output at the trigger are written after it but end before the trigger frame.
    const int block = 4106 * 3;
    EXPECT_GE(cursor.selectionStart(), 56000);
    EXPECT_LE(cursor.selectionStart(), 64000 + 2 * block);
    EXPECT_FALSE(hex.contains("6C 69 6E 65 20 31 30 20")) << "the oldest lines are gone";
    const int after = static_cast<int>(hex.size()) - cursor.selectionEnd();
    EXPECT_GT(after, 64000 - 2 * block);
    EXPECT_LE(after, 64000 + 2 * block);
    EXPECT_GE(hex.size(), 56000 + 64000);
    EXPECT_LE(hex.size(), 2 * 64000 + 2 * block);
    EXPECT_FALSE(viewText(0).contains("line 7999 "));
}

TEST_F(SnapshotMainWindowTest, StopSnapshotModeOnTheOverlayKeepsCommunicationRunning) {
    openTriggerProject();
    window().toolAction("SnapStart")->trigger();
    ASSERT_TRUE(overlayShown());
    feed(lines(0, 10));
    auto* label = window().findChild<ClickableLabel*>("lblStopSnapshotMode");
    ASSERT_NE(label, nullptr);
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_FALSE(overlayShown());
    EXPECT_TRUE(window().communicationRuns());
    EXPECT_TRUE(window().toolAction("SnapStart")->isVisible());
    // The history comes in now; stopping gives no "Snapshot complete".
    // "line 9 " in HEX.
    ASSERT_TRUE(passUntil([&] { return viewText(1).contains("6C 69 6E 65 20 39 20"); }));
    window().execUserStop();
    EXPECT_EQ(panel(1), "Commmunication port closed");
}

TEST_F(SnapshotMainWindowTest, WithoutATriggerSequenceTheMessageOffersItsHelpTopic) {
    ASSERT_TRUE(start({}));
    window().show();
    for (int i = 0; i < state().lists.receiveList().upperIndex(); ++i) {
        state().lists.receiveList()[i].snapshotTrigger = 0;
    }
    window().toolAction("SnapStart")->trigger();
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].helpTopic, 8);
    EXPECT_EQ(messages.shown[0].title, window().caption());
    EXPECT_FALSE(window().communicationRuns());
}

} // namespace
} // namespace corvane
