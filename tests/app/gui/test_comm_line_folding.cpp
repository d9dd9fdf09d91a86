// Long lines of the communication windows folded at the spaces where the window wraps them: the
// window holds short paragraphs, and copying, searching and the selected sequence see the text
// as it came.
#include "CommWindowsFixture.h"

#include "app/gui/CommLineFolding.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <gtest/gtest.h>

namespace corvane {
namespace {

QString hexBytes(int count, int first = 0) {
    QString text;
    for (int i = 0; i < count; ++i) {
        text += QString::asprintf("%02X ", (first + i) & 0xFF);
    }
    return text;
}

TEST(FoldLines, FoldsAtTheSpaceBeforeTheWordThatWouldNotFit) {
    // 16 HEX tokens make a line of 47 characters; the 17th would not fit.
    QString text = hexBytes(40);
    const QString original = text;
    int column = 0;
    const std::vector<int> folds = foldLines(text, column, 47);
    EXPECT_EQ(folds, (std::vector<int>{47, 95}));
    EXPECT_EQ(text.size(), original.size());
    EXPECT_EQ(text.section('\n', 0, 0), original.left(47));
    // The text ends with a space and the next token still to come: it takes the space of one.
    EXPECT_EQ(column, 24);

    // A line begun earlier is continued, and a line break of the text starts a new one.
    QString more = "AA BB\nCC " + hexBytes(16);
    column = 44;
    EXPECT_EQ(foldLines(more, column, 47), (std::vector<int>{2, 53}));
    EXPECT_TRUE(more.startsWith("AA\nBB\nCC 00 01"));

    // A word longer than the line is never folded before when it starts a line, and a line
    // break already there needs no fold.
    QString word = "0123456789ABCDEFGHIJ 1";
    column = 0;
    EXPECT_EQ(foldLines(word, column, 10), (std::vector<int>{20}));
    QString brokenAlready = QString(9, 'x') + " \n";
    column = 0;
    EXPECT_TRUE(foldLines(brokenAlready, column, 10).empty());
    EXPECT_EQ(column, 0);
}

TEST(UnfoldedText, TurnsOnlyTheFoldsBackIntoSpaces) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText("12:00 [RX] - \n41 42\n43 44\n45");
    // The paragraph "41 42" was ended by a fold, the header's by a line break of the text.
    document.findBlock(14).setUserState(kFoldedLineState);
    EXPECT_EQ(unfoldedText(document, 0, document.characterCount() - 1), "12:00 [RX] - \n41 42 43 44\n45");
    EXPECT_EQ(unfoldedText(document, 17, 22), "42 43");
    const QTextDocumentFragment fragment = unfoldedFragment(document, 14, 25);
    EXPECT_EQ(fragment.toPlainText(), "41 42 43 44");
}

class CommLineFoldingTest : public test::CommWindowsFixture {
protected:
    void SetUp() override {
        openWindows(CommWindowFormat::Formatted);
        windows[1]->resize(420, 300);
        windows[1]->show();
        QApplication::processEvents();
    }
    int longestParagraph() const {
        int longest = 0;
        for (QTextBlock block = windows[1]->document()->begin(); block.isValid(); block = block.next()) {
            longest = std::max(longest, block.length() - 1);
        }
        return longest;
    }
    // Paragraphs the window still wraps itself: a folded line must fit the window.
    int wrappedParagraphs() const {
        QTextDocument* document = windows[1]->document();
        int wrapped = 0;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            document->documentLayout()->blockBoundingRect(block);
            wrapped += block.layout()->lineCount() > 1 ? 1 : 0;
        }
        return wrapped;
    }
};

TEST_F(CommLineFoldingTest, TheHexViewHoldsWindowLinesAndGivesBackTheTextAsItCame) {
    QString expected;
    auto write = [&](int style, const QString& piece) {
        comm->writeCommPiece(1, false, style, piece.toStdString());
        expected += piece;
    };
    write(0, "\r\n12:00:00.000 [RX] - ");
    write(2, hexBytes(600));
    comm->copyCommWindowBuffers(false, 1);
    // The next move continues the last line where the first left it.
    write(2, hexBytes(300, 600));
    write(0, "\r\n12:00:00.100 [TX] - ");
    write(1, hexBytes(500));
    comm->copyCommWindowBuffers(false, 1);
    expected.remove('\r');

    QTextDocument* document = windows[1]->document();
    EXPECT_EQ(document->characterCount() - 1, expected.size());
    EXPECT_GT(document->blockCount(), 60);
    EXPECT_LT(longestParagraph(), 100);
    EXPECT_EQ(wrappedParagraphs(), 0);
    EXPECT_EQ(windows[1]->unfoldedPlainText(), expected);

    // Copy: the clipboard's text and its styled text have the spaces again, and the copied text
    // is remembered as a sequence.
    QString copied;
    CommTextEdit::Hooks hooks;
    hooks.copied = [&](const QString& text) { copied = text; };
    windows[1]->setHooks(std::move(hooks));
    windows[1]->selectAll();
    windows[1]->copySelection();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->text(), expected);
    EXPECT_EQ(copied, expected);
    QTextDocument pasted;
    pasted.setHtml(mime->html());
    EXPECT_EQ(pasted.toPlainText(), expected);

    // A selection across a fold reads as the bytes it covers.
    const int fold = static_cast<int>(document->firstBlock().next().next().position()) - 1;
    QTextCursor across(document);
    across.setPosition(fold - 2);
    across.setPosition(fold + 3, QTextCursor::KeepAnchor);
    windows[1]->setTextCursor(across);
    EXPECT_EQ(windows[1]->selectedUnfoldedText(), expected.mid(fold - 2, 5));
    EXPECT_TRUE(windows[1]->selectedUnfoldedText().contains(' '));
}

TEST_F(CommLineFoldingTest, AMoveThatReplacesAllTheWindowShowsIsAFlood) {
    // A few lines scroll the window; a window's worth of HEX lines replaces all of it.
    comm->writeCommPiece(1, false, 2, hexBytes(40).toStdString());
    EXPECT_FALSE(comm->copyCommWindowBuffers(true, 1));
    comm->writeCommPiece(1, false, 2, hexBytes(3000).toStdString());
    EXPECT_TRUE(comm->copyCommWindowBuffers(true, 1));
    // Only the visible view counts; stopped, every view moves but none floods the screen.
    comm->writeCommPiece(0, false, 2, std::string(200, '\n'));
    comm->writeCommPiece(1, false, 2, hexBytes(40).toStdString());
    EXPECT_FALSE(comm->copyCommWindowBuffers(false, 1));
    EXPECT_EQ(comm->pendingLength(0), 0);
}

TEST_F(CommLineFoldingTest, ANewWidthFoldsTheTextAgainKeepingItsStylesAndMarker) {
    comm->writeCommPiece(1, false, 0, "\r\n12:00:00.000 [RX] - ");
    comm->writeCommPiece(1, false, 2, hexBytes(500).toStdString());
    comm->writeCommPiece(1, false, 1, hexBytes(300).toStdString());
    comm->copyCommWindowBuffers(false, 1);
    QTextDocument* document = windows[1]->document();
    const QString before = windows[1]->unfoldedPlainText();
    const int narrowLines = document->blockCount();
    const int narrow = windows[1]->foldWidth();
    const QColor rxColour = QTextCursor(document->findBlock(500)).charFormat().foreground().color();
    QTextCursor selection(document);
    selection.setPosition(1000);
    selection.setPosition(1002, QTextCursor::KeepAnchor);
    windows[1]->setTextCursor(selection);

    windows[1]->resize(840, 300);
    QApplication::processEvents();
    ASSERT_GT(windows[1]->foldWidth(), narrow);
    EXPECT_EQ(windows[1]->unfoldedPlainText(), before);
    EXPECT_LT(document->blockCount(), narrowLines * 2 / 3);
    EXPECT_LE(longestParagraph(), windows[1]->foldWidth());
    EXPECT_GT(longestParagraph(), narrow);
    EXPECT_EQ(wrappedParagraphs(), 0);
    EXPECT_EQ(QTextCursor(document->findBlock(500)).charFormat().foreground().color(), rxColour);
    EXPECT_EQ(windows[1]->textCursor().selectionStart(), 1000);
    EXPECT_EQ(windows[1]->selectedUnfoldedText(), before.mid(1000, 2));

    // Narrower again: the same lines as when the text went in at that width.
    windows[1]->resize(420, 300);
    QApplication::processEvents();
    EXPECT_EQ(document->blockCount(), narrowLines);
    EXPECT_EQ(windows[1]->unfoldedPlainText(), before);
}

TEST_F(CommLineFoldingTest, LinesTheUserBreaksOrJoinsWhileStoppedKeepTheOtherFolds) {
    const QString bytes = hexBytes(200);
    comm->writeCommPiece(1, false, 2, bytes.toStdString());
    comm->copyCommWindowBuffers(false, 1);
    QTextDocument* document = windows[1]->document();
    ASSERT_GT(document->blockCount(), 3);
    // Enter in the middle of the first line: a line break of the user's, the fold after it
    // is still a space.
    QTextCursor cursor(document);
    cursor.setPosition(4);
    windows[1]->setTextCursor(cursor);
    QTest::keyClick(windows[1].get(), Qt::Key_Return);
    QString expected = bytes;
    expected.insert(4, '\n');
    EXPECT_EQ(windows[1]->unfoldedPlainText(), expected);
    // Pasting two lines into the second folded line.
    const int at = static_cast<int>(document->findBlockByNumber(2).position()) + 1;
    cursor.setPosition(at);
    windows[1]->setTextCursor(cursor);
    QApplication::clipboard()->setText("x\ny");
    windows[1]->pasteClipboard();
    expected.insert(at, "x\ny");
    EXPECT_EQ(windows[1]->unfoldedPlainText(), expected);
    // Backspace at the start of a line joins it to the one before.
    cursor.setPosition(5);
    windows[1]->setTextCursor(cursor);
    QTest::keyClick(windows[1].get(), Qt::Key_Backspace);
    expected.remove(4, 1);
    EXPECT_EQ(windows[1]->unfoldedPlainText(), expected);
}

TEST_F(CommLineFoldingTest, AWindowTooNarrowToFoldForKeepsItsLines) {
    windows[1]->resize(60, 300);
    QApplication::processEvents();
    comm->writeCommPiece(1, false, 2, hexBytes(200).toStdString());
    comm->copyCommWindowBuffers(false, 1);
    EXPECT_EQ(windows[1]->document()->blockCount(), 1);
    EXPECT_EQ(windows[1]->unfoldedPlainText(), hexBytes(200));
}

} // namespace
} // namespace corvane
