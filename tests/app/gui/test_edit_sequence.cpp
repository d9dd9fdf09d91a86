// The sequence edit control as the dialogs use it: real key and mouse events on the offscreen
// platform, the real clipboard.
#include "GuiTestSupport.h"

#include "app/gui/EditSequence.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace corvane {
namespace {

using Codes = std::vector<CharCode>;

// A control in a shown, active window, as a dialog holds it.
class EditSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureQtApplication();
        window = std::make_unique<QDialog>();
        auto* layout = new QVBoxLayout(window.get());
        edit = new EditSequence(window.get());
        edit->setObjectName("EditSequence1");
        layout->addWidget(edit);
        window->resize(400, 160);
        window->show();
        window->activateWindow();
        edit->focusWithCaret();
        test::pumpUntil([this] { return edit->hasFocus(); }, 1000);
    }

    Codes contents() const {
        Codes codes = edit->getSequence();
        EXPECT_EQ(codes.back(), kEndMarker);
        codes.pop_back();
        return codes;
    }

    std::unique_ptr<QDialog> window;
    EditSequence* edit = nullptr;
};

TEST_F(EditSequenceTest, ShowsAndReturnsTheSequenceOfADialog) {
    QSignalSpy changed(edit, &EditSequence::contentChanged);
    QSignalSpy moved(edit, &EditSequence::caretMoved);
    edit->setSequence({72, 105, 13, kWildcardOne, kEndMarker, 77});
    EXPECT_EQ(edit->length(), 4);
    EXPECT_EQ(edit->getSequence(), (Codes{72, 105, 13, kWildcardOne, kEndMarker}));
    EXPECT_EQ(changed.count(), 0) << "showing a sequence is no change by the user";
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.last().at(0).toInt(), 4);
    edit->focusWithCaret(1);
    ASSERT_EQ(moved.count(), 2);
    EXPECT_EQ(moved.last().at(0).toInt(), 1);
    edit->setSequence({});
    EXPECT_EQ(edit->length(), 0);
    EXPECT_EQ(edit->getSequence(), (Codes{kEndMarker}));
}

TEST_F(EditSequenceTest, KeepsThePropertiesTheDialogsSet) {
    edit->setAllowedSpecialCharacters("R?#");
    edit->setMaximumLength(300);
    edit->setCharacterColorMode(1);
    edit->setEditRepresentation(Representation::Binary);
    EXPECT_EQ(edit->allowedSpecialCharacters(), "R?#");
    EXPECT_EQ(edit->maximumLength(), 300);
    EXPECT_EQ(edit->characterColorMode(), 1);
    EXPECT_EQ(edit->editRepresentation(), Representation::Binary);
    edit->setCharacterColorMode(7);
    EXPECT_EQ(edit->characterColorMode(), 0) << "any other value is mode 0";
    edit->setDisplayOption(1);
    EXPECT_EQ(edit->displayOption(), EditSequence::kDisplaySingleLine);
    const int singleLine = edit->sizeHint().height();
    edit->setDisplayOption(5);
    EXPECT_EQ(edit->displayOption(), EditSequence::kDisplaySingleLine);
    edit->setDisplayOption(2);
    EXPECT_GT(edit->sizeHint().height(), singleLine);
}

TEST_F(EditSequenceTest, TypingInAsciiReportsChangesAndTheCaret) {
    QSignalSpy changed(edit, &EditSequence::contentChanged);
    QSignalSpy moved(edit, &EditSequence::caretMoved);
    QTest::keyClicks(edit, "Hi");
    EXPECT_EQ(contents(), (Codes{72, 105}));
    EXPECT_EQ(changed.count(), 2);
    ASSERT_FALSE(moved.isEmpty());
    EXPECT_EQ(moved.last().at(0).toInt(), 2);
    QTest::keyClick(edit, Qt::Key_Home);
    EXPECT_EQ(edit->caretPosition(), 0);
    EXPECT_EQ(moved.last().at(0).toInt(), 0);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(contents(), (Codes{105}));
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->length(), 0);
    EXPECT_EQ(changed.count(), 4);
}

TEST_F(EditSequenceTest, TypingDigitsInHexDecimalAndBinary) {
    edit->setEditRepresentation(Representation::HEX);
    QTest::keyClicks(edit, "0d0A");
    EXPECT_EQ(contents(), (Codes{13, 10}));
    edit->setEditRepresentation(Representation::Decimal);
    QSignalSpy changed(edit, &EditSequence::contentChanged);
    QTest::keyClicks(edit, "256");
    EXPECT_EQ(contents(), (Codes{13, 10})) << "256 is refused, never stored";
    EXPECT_EQ(changed.count(), 0);
    // Backspace takes back a digit of the token being typed.
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, "55");
    EXPECT_EQ(contents(), (Codes{13, 10, 255}));
    edit->setEditRepresentation(Representation::Binary);
    QTest::keyClicks(edit, "11 ");
    EXPECT_EQ(contents(), (Codes{13, 10, 255, 3}));
}

TEST_F(EditSequenceTest, ShortcutsAndEditorCharactersTypeControlCharacters) {
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_R, Qt::AltModifier);
    QTest::keyClicks(edit, "r");
    EXPECT_EQ(contents(), (Codes{13, 10, 13, 'r'}));
    edit->setEditRepresentation(Representation::HEX);
    QTest::keyClicks(edit, "n");
    EXPECT_EQ(contents(), (Codes{13, 10, 13, 'r', 10}));

    // A new table from the options dialog replaces the old shortcuts.
    edit->setShortcutTable("27,2,48,e,");
    QTest::keyClick(edit, Qt::Key_0, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(contents(), (Codes{13, 10, 13, 'r', 10, 27}));
    EXPECT_TRUE(edit->toolTip().contains("Ctrl+0 <ESC>")) << edit->toolTip().toStdString();
    EXPECT_FALSE(edit->toolTip().contains("Ctrl+Enter"));
}

TEST_F(EditSequenceTest, EnterEscapeAndTabAreLeftToTheDialog) {
    auto* ok = new QPushButton("OK", window.get());
    ok->setDefault(true);
    window->layout()->addWidget(ok);
    ok->show();
    QSignalSpy clicked(ok, &QPushButton::clicked);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 1) << "Enter presses the default button";
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(ok->hasFocus());
    edit->focusWithCaret();
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << "Escape closes the dialog";
    EXPECT_EQ(edit->length(), 0);
}

TEST_F(EditSequenceTest, KeysOfTheFieldWinOverTheDialogsShortcuts) {
    // A dialog shortcut on Delete and a mnemonic on Alt+R (the editor character of CR).
    auto* deleteAction = new QAction(window.get());
    deleteAction->setShortcut(QKeySequence(Qt::Key_Delete));
    window->addAction(deleteAction);
    QSignalSpy deleteTriggered(deleteAction, &QAction::triggered);
    auto* apply = new QPushButton("&Read", window.get());
    window->layout()->addWidget(apply);
    apply->show();
    QSignalSpy applyClicked(apply, &QPushButton::clicked);
    edit->setSequence({'a', 'b'});
    edit->focusWithCaret(0);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(contents(), (Codes{13, 'b'}));
    EXPECT_EQ(deleteTriggered.count(), 0);
    EXPECT_EQ(applyClicked.count(), 0);
    // F-keys and Alt with a letter that stands for nothing stay the dialog's.
    QTest::keyClick(edit, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(edit->length(), 2);
}

TEST_F(EditSequenceTest, WildcardKeysFollowTheAllowedSymbols) {
    edit->setAllowedSpecialCharacters("R?#");
    QTest::keyClicks(edit, "a?#");
    EXPECT_EQ(contents(), (Codes{'a', kWildcardOne, kWildcardOptional}));
    edit->setAllowedSpecialCharacters("");
    QTest::keyClicks(edit, "?");
    EXPECT_EQ(contents(), (Codes{'a', kWildcardOne, kWildcardOptional, '?'}));
}

TEST_F(EditSequenceTest, UndoAndRedoWithTheKeyboard) {
    QTest::keyClicks(edit, "abc");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(contents(), (Codes{'a', 'b'}));
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(contents(), (Codes{'a', 'b'}));
    QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(contents(), (Codes{'a', 'b', 'c'}));
}

TEST_F(EditSequenceTest, SwitchingTheRepresentationKeepsTheCaretOnItsCharacter) {
    edit->setSequence({'A', 'B', 13, 'C'});
    edit->focusWithCaret(2);
    for (Representation representation : kAllRepresentations) {
        edit->setEditRepresentation(representation);
        EXPECT_EQ(edit->caretPosition(), 2);
    }
    QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
    edit->setEditRepresentation(Representation::HEX);
    QTest::keyClicks(edit, "00");
    EXPECT_EQ(contents(), (Codes{'A', 'B', 0, 'C'})) << "typing replaced the selected CR";
}

TEST_F(EditSequenceTest, CopyAndPasteGoThroughTheSystemClipboard) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    edit->setEditRepresentation(Representation::HEX);
    edit->setSequence({13, 10, kWildcardOne});
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text().toStdString(), "0D 0A ??");
    std::string text;
    Codes codes;
    edit->getClipboard(text, codes);
    EXPECT_EQ(text, "0D 0A ??");
    EXPECT_EQ(codes, (Codes{13, 10, kWildcardOne, kEndMarker}));

    // Text from another program is read in the edit representation.
    clipboard->setText("41,42");
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(contents(), (Codes{13, 10, kWildcardOne, 'A', 'B'}));

    QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text().toStdString(), "42");
    EXPECT_EQ(contents(), (Codes{13, 10, kWildcardOne, 'A'}));
}

TEST_F(EditSequenceTest, TheSequenceClipboardOfTheDialogPastesWithItsWildcardsInAscii) {
    edit->setAllowedSpecialCharacters("?#");
    QGuiApplication::clipboard()->setText("<?>AB");
    edit->setClipboard("<?>AB", {kWildcardOne, 'A', 'B', kEndMarker});
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(contents(), (Codes{kWildcardOne, 'A', 'B'}));
    // Once the system clipboard holds other text, that text is pasted.
    QGuiApplication::clipboard()->setText("<?>");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(contents(), (Codes{kWildcardOne, 'A', 'B', '<', '?', '>'}));
}

TEST_F(EditSequenceTest, PasteStopsAtTheMaximumLength) {
    edit->setMaximumLength(3);
    QGuiApplication::clipboard()->setText("Hello");
    QSignalSpy changed(edit, &EditSequence::contentChanged);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(contents(), (Codes{'H', 'e', 'l'}));
    EXPECT_EQ(changed.count(), 1);
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(edit->length(), 3);
}

TEST_F(EditSequenceTest, AClickPutsTheCaretBetweenTokens) {
    edit->setEditRepresentation(Representation::HEX);
    edit->setSequence({1, 2, 3});
    const int cell = edit->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    // The second token starts at cell 3; its left half puts the caret before it.
    const int margin = 4;
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(margin + 3 * cell + 2, margin + 3));
    EXPECT_EQ(edit->caretPosition(), 1);
    QTest::mouseClick(edit, Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(margin + 7 * cell + cell / 2, margin + 3));
    EXPECT_EQ(edit->caretPosition(), 3);
    EXPECT_EQ(edit->model().selectionStart(), 1);
}

TEST_F(EditSequenceTest, ALongSequenceScrollsWithTheCaret) {
    auto* scrollBar = edit->findChild<QScrollBar*>();
    ASSERT_NE(scrollBar, nullptr);
    edit->setEditRepresentation(Representation::Binary);
    edit->setSequence(Codes(200, 0x55));
    EXPECT_TRUE(scrollBar->isEnabled());
    EXPECT_GT(scrollBar->value(), 0) << "the caret at the end is in view";
    QTest::keyClick(edit, Qt::Key_Home);
    EXPECT_EQ(scrollBar->value(), 0);
    edit->setSequence({1});
    EXPECT_FALSE(scrollBar->isEnabled());
    edit->setDisplayOption(EditSequence::kDisplaySingleLine);
    EXPECT_FALSE(scrollBar->isVisibleTo(edit));
}

TEST_F(EditSequenceTest, UpAndDownMoveByOneLineOfTheWrappedField) {
    edit->setEditRepresentation(Representation::HEX);
    edit->setSequence(Codes(100, 0x20));
    edit->focusWithCaret(2);
    QTest::keyClick(edit, Qt::Key_Down);
    const int below = edit->caretPosition();
    EXPECT_GT(below, 3) << "a line holds more than one token";
    // A line holds as many three-cell tokens as the field is wide.
    const int cells = edit->width() / edit->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    EXPECT_LE((below - 2) * 3, cells);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->caretPosition(), 2);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->caretPosition(), 0);
}

TEST_F(EditSequenceTest, LeavingTheFieldTakesAHalfTypedToken) {
    edit->setEditRepresentation(Representation::HEX);
    QSignalSpy changed(edit, &EditSequence::contentChanged);
    QTest::keyClicks(edit, "7");
    EXPECT_EQ(edit->length(), 0);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
    EXPECT_EQ(contents(), (Codes{7}));
    EXPECT_EQ(changed.count(), 1);
}

bool imageHasColor(const QImage& image, QColor color) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(EditSequenceTest, TheColourModeDrawsWildcardsInTheirOwnColour) {
    QFont font = edit->font();
    font.setPixelSize(20);
    font.setStyleStrategy(QFont::NoAntialias);
    edit->setFont(font);
    edit->setSequence({kWildcardOne, kWildcardOne, 'A'});
    edit->setCharacterColorMode(1);
    EXPECT_TRUE(imageHasColor(edit->grab().toImage(), QColor(192, 0, 0)));
    edit->setCharacterColorMode(0);
    EXPECT_FALSE(imageHasColor(edit->grab().toImage(), QColor(192, 0, 0)));
}

} // namespace
} // namespace corvane
