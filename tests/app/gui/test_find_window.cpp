// The find dialog over the real main window: Ctrl+F, the three pages, the selection offered as the
// pattern, "Find Next" through the HEX view and the end of the search.
#include "MainWindowFixture.h"

#include "app/gui/EditSequence.h"
#include "app/gui/frmFind.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace corvane {
namespace {

class FindWindowTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        openPingPong();
        window().setSequencesDisplayMode(1);
        // What a short exchange leaves in the HEX view.
        CommWindows& comm = window().commWindows();
        comm.writeCommPiece(1, false, 0, "\r\n12:00:00.000 [TX] - ");
        comm.writeCommPiece(1, false, 1, "50 69 6E 67 0D 0A ");
        comm.writeCommPiece(1, false, 0, "\r\n12:00:00.100 [RX] - ");
        comm.writeCommPiece(1, false, 2, "50 6F 6E 67 0D 0A ");
        comm.writeCommPiece(1, false, 0, " <- Pong received ");
        window().copyCommWindowBuffers();
    }

    frmFind* openWithCtrlF() {
        QTest::keyClick(window().commWindows().window(1), Qt::Key_F, Qt::ControlModifier);
        window().MainProcess(false, true);
        return window().findDialog();
    }
    QString selected() { return window().commWindows().window(1)->textCursor().selectedText(); }
};

TEST_F(FindWindowTest, ListPagesFindTheChosenSequenceAndNeedAChoice) {
    frmFind* find = openWithCtrlF();
    ASSERT_NE(find, nullptr);
    // As after a click at the top of the window.
    window().commWindows().setCaretPosition(0);
    EXPECT_TRUE(find->isVisible());
    EXPECT_TRUE(window().findDialogVisible());
    EXPECT_EQ(find->windowTitle(), "Find Sequence In Communication Window");
    EXPECT_EQ(find->tabs()->currentIndex(), 0);
    ASSERT_EQ(find->comboSend()->count(), 3);
    EXPECT_EQ(find->comboSend()->itemText(0), "---");
    EXPECT_EQ(find->comboSend()->itemText(2), "Pong");
    EXPECT_FALSE(find->findButton(0)->isEnabled());
    find->comboSend()->setCurrentIndex(2);
    ASSERT_TRUE(find->findButton(0)->isEnabled());
    find->findButton(0)->click();
    EXPECT_EQ(selected(), "50 6F 6E 67 0D 0A");

    find->tabs()->setCurrentIndex(1);
    EXPECT_FALSE(find->findButton(1)->isEnabled());
    find->comboReceive()->setCurrentIndex(1);
    // "Ping" stands before the search position: found after the end message, from the top.
    find->findButton(1)->click();
    EXPECT_EQ(messages.shown.back().text, "Finished searching for receive sequence");
    find->findButton(1)->click();
    EXPECT_EQ(selected(), "50 69 6E 67 0D 0A");

    // Closed and opened again without a selection: the page and both choices are remembered.
    find->close();
    window().commWindows().window(1)->moveCursor(QTextCursor::End);
    EXPECT_FALSE(window().findDialogVisible());
    ASSERT_EQ(openWithCtrlF(), find);
    EXPECT_EQ(find->tabs()->currentIndex(), 1);
    EXPECT_EQ(find->comboSend()->currentIndex(), 2);
    EXPECT_EQ(find->comboReceive()->currentIndex(), 1);
    // Starting communication closes it.
    window().execUserStart();
    EXPECT_FALSE(find->isVisible());
    window().execUserStop();
}

TEST_F(FindWindowTest, TheSelectionIsOfferedAndLineEndsAreFoundPairByPairThenFromTheTop) {
    CommTextEdit* hex = window().commWindows().window(1);
    const int at = static_cast<int>(hex->unfoldedPlainText().indexOf("0D 0A"));
    QTextCursor cursor(hex->document());
    cursor.setPosition(at);
    cursor.setPosition(at + 5, QTextCursor::KeepAnchor);
    hex->setTextCursor(cursor);

    frmFind* find = openWithCtrlF();
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->tabs()->currentIndex(), 2);
    EXPECT_EQ(find->editSequence()->getSequence(), (std::vector<CharCode>{0x0D, 0x0A, -1}));
    EXPECT_TRUE(find->editMode(1)->isChecked());
    ASSERT_TRUE(find->findButton(2)->isEnabled());

    // The search starts where the caret was left: after the selected pair.
    find->findButton(2)->click();
    EXPECT_EQ(selected(), "0D 0A");
    const int second = hex->textCursor().selectionStart();
    EXPECT_GT(second, at);
    EXPECT_TRUE(messages.shown.empty());
    find->findButton(2)->click();
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].text, "Finished searching for user defined sequence");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    // Then from the top, pair by pair.
    find->findButton(2)->click();
    EXPECT_EQ(hex->textCursor().selectionStart(), at);
    find->findButton(2)->click();
    EXPECT_EQ(hex->textCursor().selectionStart(), second);

    // The edit mode follows to the program's representation.
    find->editMode(0)->click();
    EXPECT_EQ(find->editSequence()->editRepresentation(), Representation::ASCII);
    EXPECT_EQ(state().settings.dispSequListRepresentation, 0);
    find->closeFind();
}

} // namespace
} // namespace corvane
