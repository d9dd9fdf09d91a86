// The notepad window in the running program: typing, keys, pop-up menu, clipboard, showing and
// hiding, its ".ptn" file beside the project and its placement.
#include "StartupFixture.h"

#include "app/gui/frmRTFNotepad.h"
#include "richtext/RichTextTestSupport.h"
#include "richtext/RtfReader.h"
#include "support/ProgramOutput.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace corvane {
namespace {

using test::formatOfText;
using test::styled;

class NotepadTest : public test::StartupFixture {
protected:
    void SetUp() override {
        StartupFixture::SetUp();
        ASSERT_TRUE(start({}));
        window().setFileDialog([this](const std::string&, const std::string&, bool, int& filter) {
            filter = 0;
            return chosenPath;
        });
    }

    frmRTFNotepad& notepad() { return window().notepad(); }
    QTextEdit* text() { return notepad().rtfNotepad(); }
    std::string plain() { return notepad().plainText(); }

    // F12 in the main window, then keys typed into the notepad's text.
    void showAndType(const QString& keys) {
        QTest::keyClick(&window(), Qt::Key_F12);
        ASSERT_TRUE(notepad().isVisible());
        QTest::keyClicks(text(), keys);
    }

    static void putOnClipboard(QMimeData* mime) { QApplication::clipboard()->setMimeData(mime); }

    std::string chosenPath;
};

TEST_F(NotepadTest, TypedNotesWithABoldPartComeBackWithTheProject) {
    showAndType("Modem answered ");
    EXPECT_TRUE(window().projectModified());
    auto* bold = new QMimeData;
    bold->setHtml("<b>OK</b>");
    bold->setText("OK");
    putOnClipboard(bold);
    QTest::keyClick(text(), Qt::Key_V, Qt::ControlModifier);
    // Typing at the end of formatted text continues in the default font.
    QTest::keyClicks(text(), " at 9600");
    EXPECT_EQ(plain(), "Modem answered OK at 9600");

    chosenPath = root + "work/Notes.ptp";
    ASSERT_TRUE(window().execSaveProject());
    const std::string file = root + "work/Notes.ptn";
    EXPECT_TRUE(looksLikeRtf(test::readFile(file)));
    if (const auto text = test::unrtfText(file)) {
        EXPECT_EQ(*text, "Modem answered OK at 9600\n");
    } else {
        ADD_FAILURE() << "unrtf is not installed (scripts/install-deps.sh installs it)";
    }

    window().execProjectNew(false);
    EXPECT_EQ(plain(), "");
    EXPECT_FALSE(notepad().isVisible());
    ASSERT_TRUE(window().OpenExistingProject(root + "work/Notes.ptp"));
    EXPECT_TRUE(notepad().isVisible());
    EXPECT_FALSE(window().projectModified());
    EXPECT_EQ(plain(), "Modem answered OK at 9600");
    const RichTextDocument shown = notepad().document();
    EXPECT_TRUE(formatOfText(shown, "OK").bold);
    EXPECT_EQ(formatOfText(shown, "Modem answered "), notepad().controller().defaultFormat());
    EXPECT_EQ(formatOfText(shown, " at 9600"), notepad().controller().defaultFormat());
    EXPECT_EQ(notepad().windowTitle(), "Corvane Notepad - Project: Notes");
}

TEST_F(NotepadTest, ANotepadOfBlanksOnlyRemovesItsFileOnSave) {
    showAndType("notes");
    chosenPath = root + "work/Blank.ptp";
    ASSERT_TRUE(window().execSaveProject());
    ASSERT_TRUE(std::filesystem::exists(root + "work/Blank.ptn"));
    QTest::keyClick(text(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(text(), "  \t ");
    QTest::keyClick(text(), Qt::Key_Return);
    QTest::keyClicks(text(), "\t");
    EXPECT_TRUE(window().projectModified());
    ASSERT_TRUE(window().execSaveProject());
    EXPECT_FALSE(std::filesystem::exists(root + "work/Blank.ptn"));
    EXPECT_TRUE(std::filesystem::exists(root + "work/Blank.ptp"));
    // A project without notes writes no notepad file at all.
    chosenPath = root + "work/Empty.ptp";
    window().execProjectNew(false);
    ASSERT_TRUE(window().execSaveProjectAs());
    EXPECT_FALSE(std::filesystem::exists(root + "work/Empty.ptn"));
}

TEST_F(NotepadTest, TheCloseButtonAndF12HideTheWindowAndKeepTheText) {
    showAndType("kept");
    EXPECT_FALSE(notepad().close());
    EXPECT_FALSE(notepad().isVisible());
    EXPECT_EQ(plain(), "kept");
    QTest::keyClick(&window(), Qt::Key_F12);
    EXPECT_TRUE(notepad().isVisible());
    QTest::keyClick(text(), Qt::Key_F12);
    EXPECT_FALSE(notepad().isVisible());
    EXPECT_EQ(plain(), "kept");
    // The menu item shows it again, minimised or not.
    notepad().showMinimized();
    window().action("Notepad")->trigger();
    EXPECT_TRUE(notepad().isVisible());
    EXPECT_FALSE(notepad().isMinimized());
}

TEST_F(NotepadTest, TypingInTheMiddleKeepsTheFormatAndAtTheEndStartsInTheDefaultFont) {
    RichTextDocument document = documentOfPlainText("BOLD");
    document.paragraphs[0].runs[0].format =
        styled("Courier New", 30, true, false, false, RichTextColor{200, 0, 0});
    notepad().setDocument(document);
    QTest::keyClick(&window(), Qt::Key_F12);
    QTextCursor cursor = text()->textCursor();
    cursor.setPosition(2);
    text()->setTextCursor(cursor);
    QTest::keyClicks(text(), "x");
    QTest::keyClick(text(), Qt::Key_End);
    QTest::keyClicks(text(), "plain");
    const RichTextDocument typed = notepad().document();
    EXPECT_EQ(plain(), "BOxLDplain");
    EXPECT_EQ(formatOfText(typed, "BOxLD"), document.paragraphs[0].runs[0].format);
    EXPECT_EQ(formatOfText(typed, "plain"), notepad().controller().defaultFormat());
    EXPECT_TRUE(window().projectModified());
}

TEST_F(NotepadTest, CopyPutsRichAndPlainTextOnTheClipboardAndFeedsTheSequenceLists) {
    RichTextDocument document = documentOfPlainText("41 42 red");
    document.paragraphs[0].runs[0].format =
        styled("Arial", 20, false, false, false, RichTextColor{255, 0, 0});
    notepad().setDocument(document);
    QTest::keyClick(&window(), Qt::Key_F12);
    QTest::keyClick(text(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(text(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->text(), "41 42 red");
    ASSERT_TRUE(mime->hasFormat("text/rtf"));
    EXPECT_EQ(readRtf(mime->data("text/rtf").toStdString()), document);
    EXPECT_EQ(state().lists.clipboardText(), "41 42 red");
    EXPECT_FALSE(window().projectModified());

    // Cut takes it out; paste brings it back with its colour.
    QTest::keyClick(text(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(plain(), "");
    EXPECT_TRUE(window().projectModified());
    QTest::keyClick(text(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(notepad().document(), document);
}

TEST_F(NotepadTest, CtrlDGivesTheSelectionTheDefaultFont) {
    RichTextDocument document = documentOfPlainText("styled");
    document.paragraphs[0].runs[0].format =
        styled("Courier New", 30, true, true, true, RichTextColor{0, 0, 255});
    notepad().setDocument(document);
    QTest::keyClick(&window(), Qt::Key_F12);
    QTest::keyClick(text(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(text(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(formatOfText(notepad().document(), "styled"), notepad().controller().defaultFormat());
    EXPECT_TRUE(window().projectModified());
}

TEST_F(NotepadTest, ThePopUpMenuOffersCutCopyAndDeleteOnlyWithASelection) {
    notepad().setDocument(documentOfPlainText("menu"));
    QTest::keyClick(&window(), Qt::Key_F12);
    std::vector<std::pair<QString, bool>> items;
    auto readMenu = [&] {
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            items.clear();
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator()) {
                    items.emplace_back(action->text(), action->isEnabled());
                }
            }
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), text()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(text()->viewport(), &event);
    };
    readMenu();
    using Items = std::vector<std::pair<QString, bool>>;
    EXPECT_EQ(items, (Items{{"Cut", false},
                            {"Copy", false},
                            {"Paste", true},
                            {"Delete", false},
                            {"Select All", true},
                            {"Default Font", true}}));
    text()->selectAll();
    readMenu();
    EXPECT_EQ(items, (Items{{"Cut", true},
                            {"Copy", true},
                            {"Paste", true},
                            {"Delete", true},
                            {"Select All", true},
                            {"Default Font", true}}));
}

TEST_F(NotepadTest, APlainTextNotepadFileOpensAsText) {
    test::writeFile(root + "work/Old.ptn", "line one\r\nline \xe4 two\r\n");
    ASSERT_TRUE(window().OpenExistingNotepad(root + "work/Old.ptn"));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(plain(), "line one\nline \xc3\xa4 two");
    EXPECT_TRUE(notepad().isVisible());
}

TEST_F(NotepadTest, ThePlacementIsWrittenWhenTheProgramEnds) {
    QTest::keyClick(&window(), Qt::Key_F12);
    notepad().setGeometry(120, 90, 400, 300);
    const TwipRect bounds = notepad().bounds();
    window().close();
    QSettings settings(QString::fromStdString(settingsFile), QSettings::IniFormat);
    EXPECT_EQ(settings.value("NotepadSettings/Left").toInt(), static_cast<int>(bounds.left));
    EXPECT_EQ(settings.value("NotepadSettings/Width").toInt(), static_cast<int>(bounds.width));
    EXPECT_EQ(settings.value("NotepadSettings/Height").toInt(), static_cast<int>(bounds.height));
    EXPECT_GT(bounds.width, 0);
}

using NotepadStartupTest = test::StartupFixture;

TEST_F(NotepadStartupTest, TheMinimiseSwitchMinimisesTheNotepadOfTheProject) {
    ASSERT_TRUE(test::copyFile(root + "bin/Samples/PingPong.ptp", root + "work/Noted.ptp"));
    test::writeFile(root + "work/Noted.ptn", "{\\rtf1 notes}");
    ASSERT_TRUE(start({root + "work/Noted.ptp", "-m"}));
    EXPECT_TRUE(window().notepad().isMinimized());
    EXPECT_TRUE(window().windowState() & Qt::WindowMinimized);
    EXPECT_EQ(window().notepad().plainText(), "notes");
}

} // namespace
} // namespace corvane
