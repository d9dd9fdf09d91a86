// The four communication windows: pending buffers, moving text in, trimming, styles, editing.
#include "CommWindowsFixture.h"

#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindowTrim.h"
#include "app/gui/CommWindows.h"
#include "persistence/ProgramSettingsData.h"

#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <memory>

namespace corvane {
namespace {

TEST(CommTrimCount, MakesEightThousandCharactersOfRoomBeyondThePiece) {
    EXPECT_EQ(commTrimCount(1000, 128000, 100, false), 0);
    EXPECT_EQ(commTrimCount(127900, 128000, 100, false), 0);
    EXPECT_EQ(commTrimCount(128000, 128000, 10, false), 8010);
    EXPECT_EQ(commTrimCount(64000, 64000, 1, false), 8001);
    // Never more than is held.
    EXPECT_EQ(commTrimCount(5000, 128000, 200000, false), 5000);
    // Plain buffers that would keep less than the slack are emptied.
    EXPECT_EQ(commTrimCount(9000, 16000, 9000, true), 9000);
    EXPECT_EQ(commTrimCount(9000, 16000, 9000, false), 9000);
    EXPECT_EQ(commTrimCount(120000, 128000, 9000, true), 9000);
}

class CommWindowsTest : public test::CommWindowsFixture {
protected:
    void SetUp() override { openWindows(CommWindowFormat::Formatted); }
};

TEST_F(CommWindowsTest, PiecesWaitInTheBufferUntilTheyAreMoved) {
    comm->writeCommPiece(0, false, 1, "AT\r\n");
    comm->writeCommPiece(1, false, 1, "41 54 ");
    EXPECT_EQ(text(0), "");
    EXPECT_EQ(comm->pendingLength(0), 3);
    comm->copyCommWindowBuffers(false, 0);
    EXPECT_EQ(text(0), "AT\n");
    EXPECT_EQ(text(1), "41 54 ");
    EXPECT_EQ(comm->pendingLength(0), 0);
}

TEST_F(CommWindowsTest, WhileRunningOnlyTheVisibleViewIsMoved) {
    comm->writeCommPiece(0, false, 2, "OK");
    comm->writeCommPiece(1, false, 2, "4F 4B ");
    comm->copyCommWindowBuffers(true, 1);
    EXPECT_EQ(text(0), "");
    EXPECT_EQ(text(1), "4F 4B ");
    comm->writeCommPiece(0, false, 2, "!");
    // Switching to ASCII shows all that arrived in between.
    comm->copyCommWindowBuffers(true, 0);
    EXPECT_EQ(text(0), "OK!");
}

TEST_F(CommWindowsTest, DisabledViewsCollectNothing) {
    EXPECT_FALSE(comm->viewEnabled(3));
    comm->writeCommPiece(3, false, 1, "01000001 ");
    EXPECT_EQ(comm->pendingLength(3), 0);
    settings.commDisplayModeEnabled = {true, true, true, true};
    comm->applyOptions(settings);
    comm->writeCommPiece(3, false, 1, "01000001 ");
    EXPECT_EQ(comm->pendingLength(3), 9);
    comm->clearPending(3);
    EXPECT_EQ(comm->pendingLength(3), 0);
}

TEST_F(CommWindowsTest, StylesColourTheDirectionsAndAFinalLineBreakIsPlain) {
    comm->writeCommPiece(0, false, 0, "stamp ");
    comm->writeCommPiece(0, false, 1, "TX");
    comm->writeCommPiece(0, false, 2, "RX\r\n");
    comm->copyCommWindowBuffers(false, 0);
    QTextDocument* document = windows[0]->document();
    auto colourAt = [&](int position) {
        QTextCursor cursor(document);
        cursor.setPosition(position + 1);
        return cursor.charFormat().foreground().color();
    };
    EXPECT_EQ(colourAt(0), QColor(0, 128, 0)); // comments green
    EXPECT_EQ(colourAt(6), QColor(0, 0, 255)); // direction 0 blue
    EXPECT_EQ(colourAt(8), QColor(255, 0, 0)); // direction 1 red
    EXPECT_EQ(text(0), "stamp TXRX\n");
    EXPECT_EQ(document->blockCount(), 2);
}

TEST_F(CommWindowsTest, PlainModeWritesBlackText) {
    settings.dispCommWindowFormat = CommWindowFormat::Plain;
    comm->applyOptions(settings);
    comm->writeCommPiece(0, false, 2, "RX");
    comm->copyCommWindowBuffers(false, 0);
    QTextCursor cursor(windows[0]->document());
    cursor.setPosition(1);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(Qt::black));
    EXPECT_EQ(text(0), "RX");
}

TEST_F(CommWindowsTest, AFullWindowDropsItsOldestTextAtOnce) {
    const std::string line(99, 'x');
    std::string block;
    for (int i = 0; i < 1280; ++i) {
        block += line + "\n";
    }
    block[0] = 'F';
    comm->writeCommPiece(0, false, 1, block);
    comm->copyCommWindowBuffers(false, 0);
    ASSERT_EQ(windows[0]->document()->characterCount() - 1, 128000);
    EXPECT_TRUE(text(0).startsWith('F'));
    comm->writeCommPiece(0, false, 1, "new line\n");
    comm->copyCommWindowBuffers(false, 0);
    int held = windows[0]->document()->characterCount() - 1;
    EXPECT_EQ(held, 128000 - 8000);
    EXPECT_FALSE(text(0).startsWith('F'));
    EXPECT_TRUE(text(0).endsWith("new line\n"));
}

TEST_F(CommWindowsTest, PendingBuffersKeepTheNewestTextBelowTheLimit) {
    std::string chunk(32000, 'a');
    for (int i = 0; i < 4; ++i) {
        comm->writeCommPiece(1, false, 1, chunk);
    }
    EXPECT_EQ(comm->pendingLength(1), 128000);
    comm->writeCommPiece(1, false, 1, "END");
    EXPECT_EQ(comm->pendingLength(1), 128000 - 8000);
    EXPECT_TRUE(comm->pendingText(1).endsWith("aEND"));
    // While snapshot mode waits for its trigger the buffers keep 64000 and nothing is moved.
    comm->setSnapshotState(true, false);
    comm->writeCommPiece(1, false, 1, "X");
    EXPECT_LE(comm->pendingLength(1), 64000);
    comm->copyCommWindowBuffers(false, 1);
    EXPECT_EQ(text(1), "");
}

TEST_F(CommWindowsTest, TheSnapshotMarkerIsSelectedInTheWindow) {
    comm->writeCommPiece(0, false, 1, "abc");
    comm->copyCommWindowBuffers(false, 0);
    comm->writeCommPiece(0, true, 2, "XYZ");
    comm->copyCommWindowBuffers(false, 0);
    EXPECT_EQ(windows[0]->textCursor().selectedText(), "Z");
}

TEST_F(CommWindowsTest, AMarkerInTextThatFillsTheWindowIsSelectedAfterTheTrim) {
    const std::string line(99, 'x');
    std::string block;
    for (int i = 0; i < 1280; ++i) {
        block += line + "\n";
    }
    comm->writeCommPiece(0, false, 1, block);
    comm->copyCommWindowBuffers(false, 0);
    // The trim and the new text go in together; the marker still names the marked character.
    comm->writeCommPiece(0, false, 1, "before ");
    comm->writeCommPiece(0, true, 2, "M");
    comm->writeCommPiece(0, false, 1, " after\r\n");
    comm->copyCommWindowBuffers(false, 0);
    EXPECT_EQ(windows[0]->document()->characterCount() - 1, 128000 - 8015 + 15);
    EXPECT_EQ(windows[0]->textCursor().selectedText(), "M");
    EXPECT_TRUE(text(0).endsWith("before M after\n"));
}

TEST_F(CommWindowsTest, CarriageReturnsShowNothingAndTheWindowFollowsTheNewestLine) {
    comm->writeCommPiece(0, false, 1, "one\r\ntwo\rthree\r\n");
    comm->copyCommWindowBuffers(false, 0);
    EXPECT_EQ(text(0), "one\ntwothree\n");
    EXPECT_EQ(comm->pendingLength(0), 0);

    windows[0]->resize(300, 120);
    windows[0]->show();
    for (int i = 0; i < 200; ++i) {
        comm->writeCommPiece(0, false, 1, "line " + std::to_string(i) + "\r\n");
    }
    comm->copyCommWindowBuffers(true, 0);
    QScrollBar* bar = windows[0]->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    windows[0]->hide();
}

TEST_F(CommWindowsTest, FontSizeChoosesTheFamilyAndEmptiesTheWindows) {
    EXPECT_EQ(commWindowFontFamily(9), "Courier New");
    EXPECT_EQ(commWindowFontFamily(10), "Courier");
    comm->writeCommPiece(0, false, 1, "data");
    comm->copyCommWindowBuffers(false, 0);
    comm->writeCommPiece(0, false, 1, "more");
    settings.dispFontSize = 9;
    comm->applyOptions(settings);
    EXPECT_EQ(text(0), "");
    EXPECT_EQ(comm->pendingLength(0), 0);
    EXPECT_EQ(comm->windowFont().family(), QString("Courier New"));
    // The same size again keeps the text.
    comm->writeCommPiece(0, false, 1, "kept");
    comm->copyCommWindowBuffers(false, 0);
    comm->applyOptions(settings);
    EXPECT_EQ(text(0), "kept");
}

TEST_F(CommWindowsTest, CleanEmptiesEverythingAndForgetsTheCaret) {
    comm->writeCommPiece(0, false, 1, "one");
    comm->copyCommWindowBuffers(false, 0);
    comm->writeCommPiece(2, false, 1, "two");
    comm->setCaretPosition(2);
    comm->ClearCommWindows();
    EXPECT_EQ(text(0), "");
    EXPECT_EQ(comm->pendingLength(2), 0);
    EXPECT_EQ(comm->caretPosition(), 0);
}

class CommEditTest : public CommWindowsTest {
protected:
    void SetUp() override {
        CommWindowsTest::SetUp();
        CommTextEdit::Hooks hooks;
        hooks.communicationRuns = [this] { return running; };
        hooks.consoleOn = [this] { return console; };
        hooks.deferCommand = [this](const std::string& command) { deferred.push_back(command); };
        hooks.pasteAsSequence = [this](const QString& text) { pasted.push_back(text); };
        hooks.copied = [this](const QString& text) { copied.push_back(text); };
        windows[0]->setHooks(hooks);
        windows[0]->setCommentFormat(comm->styleFormat(0));
        windows[0]->setPlainText("hello");
    }

    bool running = false;
    bool console = false;
    std::vector<std::string> deferred;
    std::vector<QString> pasted;
    std::vector<QString> copied;
};

TEST_F(CommEditTest, WhileStoppedTheWindowIsANotepad) {
    windows[0]->moveCursor(QTextCursor::End);
    QTest::keyClicks(windows[0].get(), " you");
    EXPECT_EQ(text(0), "hello you");
    QTest::keyClick(windows[0].get(), Qt::Key_Backspace);
    EXPECT_EQ(text(0), "hello yo");
}

TEST_F(CommEditTest, WhileRunningTypingAndDeletingAreIgnored) {
    running = true;
    windows[0]->moveCursor(QTextCursor::End);
    QTest::keyClicks(windows[0].get(), "abc");
    QTest::keyClick(windows[0].get(), Qt::Key_Backspace);
    QTest::keyClick(windows[0].get(), Qt::Key_Delete);
    windows[0]->selectAll();
    windows[0]->cutSelection();
    EXPECT_EQ(text(0), "hello");
}

TEST_F(CommEditTest, PasteWhileRunningGoesToTheSendQueueOnlyWithTheConsole) {
    QApplication::clipboard()->setText("41 42");
    running = true;
    windows[0]->pasteClipboard();
    EXPECT_TRUE(pasted.empty());
    console = true;
    windows[0]->pasteClipboard();
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(pasted[0], "41 42");
    EXPECT_EQ(text(0), "hello");
}

TEST_F(CommEditTest, CopyPutsTheSelectionOnTheClipboardAndRemembersIt) {
    QTest::keyClick(windows[0].get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(windows[0].get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "hello");
    ASSERT_EQ(copied.size(), 1u);
    EXPECT_EQ(copied[0], "hello");
}

// A window that lets the test drop data on it as a drag and drop would.
class DropTarget : public CommTextEdit {
public:
    using CommTextEdit::insertFromMimeData;
};

TEST_F(CommEditTest, DroppedRichTextKeepsItsColoursAndPlainTextIsInserted) {
    DropTarget target;
    target.setPlainText("x");
    target.moveCursor(QTextCursor::End);
    QMimeData rich;
    rich.setHtml("<span style=\"color:#ff0000\">red</span>");
    rich.setText("red");
    target.insertFromMimeData(&rich);
    EXPECT_EQ(target.toPlainText(), "xred");
    QTextCursor cursor(target.document());
    cursor.setPosition(3);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(255, 0, 0));
    QMimeData plain;
    plain.setText("!");
    target.insertFromMimeData(&plain);
    EXPECT_EQ(target.toPlainText(), "xred!");
}

TEST_F(CommEditTest, ControlKeysDeferCommandsOrAreSwallowed) {
    QTest::keyClick(windows[0].get(), Qt::Key_W, Qt::ControlModifier);
    QTest::keyClick(windows[0].get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(windows[0].get(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(deferred, (std::vector<std::string>{"Clean", "Find"}));
    EXPECT_EQ(text(0), "hello");
}

} // namespace
} // namespace corvane
