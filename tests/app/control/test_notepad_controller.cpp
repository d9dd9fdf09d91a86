// The notepad's decisions over a recorded window and real ".ptn" files: keys and pop-up menu,
// caption, default font, typing, the clipboard commands, showing, emptiness, loading and saving.
#include "ControlFixture.h"

#include "app/control/NotepadController.h"
#include "app/control/NotepadView.h"
#include "richtext/RichTextTestSupport.h"
#include "richtext/RtfReader.h"

namespace corvane {
namespace {

// The window as the controller sees it, with what was asked of it.
class RecordingNotepadView : public NotepadView {
public:
    RichTextDocument document() const override { return text; }
    void setDocument(const RichTextDocument& document) override { text = document; }
    std::string plainText() const override { return plainTextOf(text); }
    void clearText() override {
        text = RichTextDocument{};
        calls.push_back("clear");
    }
    void applyFormat(const CharacterFormat& format, bool toSelection) override {
        typingFormat = format;
        calls.push_back(toSelection ? "format selection" : "format typing");
    }
    bool hasSelection() const override { return !selection.empty(); }
    std::string selectedPlainText() const override { return selection; }
    void copySelection() override { calls.push_back("copy"); }
    void removeSelection() override { calls.push_back("remove"); }
    void pasteClipboard() override { calls.push_back("paste"); }
    void selectAll() override { calls.push_back("select all"); }
    bool isShown() const override { return shown; }
    bool isMinimizedWindow() const override { return minimized; }
    void showWindow() override {
        shown = true;
        calls.push_back("show");
    }
    void restoreWindow() override {
        minimized = false;
        calls.push_back("restore");
    }
    void hideWindow() override {
        shown = false;
        calls.push_back("hide");
    }
    void bringToFront() override { calls.push_back("front"); }
    void showCaption(const std::string& text) override { caption = text; }

    RichTextDocument text;
    std::string selection;
    std::optional<CharacterFormat> typingFormat;
    bool shown = false;
    bool minimized = false;
    std::string caption;
    std::vector<std::string> calls;
};

class NotepadControllerTest : public ::testing::Test {
protected:
    NotepadControllerTest() {
        NotepadController::Hooks hooks;
        hooks.projectModified = [this] { ++modified; };
        hooks.copiedText = [this](const std::string& text) { copied.push_back(text); };
        notepad.setHooks(std::move(hooks));
    }

    using Calls = std::vector<std::string>;

    test::TempFolder folder;
    std::string directory = folder.directory();
    ProgramSettingsData settings;
    RecordingNotepadView view;
    NotepadController notepad{view, settings};
    int modified = 0;
    std::vector<std::string> copied;
};

TEST(NotepadKeys, TheNotepadsKeysAndNothingElse) {
    struct Key {
        int virtualKey;
        bool ctrl;
        bool shift;
        NotepadCommand command;
    };
    const Key keys[] = {
        {'X', true, false, NotepadCommand::Cut},       {46, false, true, NotepadCommand::Cut},
        {'C', true, false, NotepadCommand::Copy},      {45, true, false, NotepadCommand::Copy},
        {'V', true, false, NotepadCommand::Paste},     {45, false, true, NotepadCommand::Paste},
        {'A', true, false, NotepadCommand::SelectAll}, {'D', true, false, NotepadCommand::DefaultFont},
        {123, false, false, NotepadCommand::Hide},     {46, false, false, NotepadCommand::None},
        {'X', false, false, NotepadCommand::None},     {'D', true, true, NotepadCommand::None},
        {'B', true, false, NotepadCommand::None},      {123, true, false, NotepadCommand::None},
        {45, false, false, NotepadCommand::None}};
    for (const Key& key : keys) {
        EXPECT_EQ(notepadCommandOfKey(key.virtualKey, key.ctrl, key.shift), key.command)
            << key.virtualKey << " ctrl " << key.ctrl << " shift " << key.shift;
    }
}

TEST(NotepadKeys, CutCopyAndDeleteNeedASelection) {
    const NotepadMenuStates without = notepadMenuStatesOf(false);
    EXPECT_FALSE(without.cut || without.copy || without.remove);
    EXPECT_TRUE(without.paste && without.selectAll && without.defaultFont);
    const NotepadMenuStates with = notepadMenuStatesOf(true);
    EXPECT_TRUE(with.cut && with.copy && with.remove && with.paste && with.selectAll && with.defaultFont);
}

TEST_F(NotepadControllerTest, CaptionAndDefaultFont) {
    EXPECT_EQ(notepadCaptionOf(""), "Corvane Notepad");
    notepad.setProjectName("PingPong");
    EXPECT_EQ(view.caption, "Corvane Notepad - Project: PingPong");
    // Arial at the communication window's size, 8 to 12 points, in the window text colour.
    for (auto [size, halfPoints] : {std::pair{10, 20}, {8, 16}, {12, 24}, {6, 16}, {20, 24}}) {
        settings.dispFontSize = size;
        EXPECT_EQ(notepad.defaultFormat(), (test::styled("Arial", halfPoints))) << size;
    }
}

TEST_F(NotepadControllerTest, TypingModifiesTheProjectAndAtTheEndStartsInTheDefaultFont) {
    notepad.characterTyped(true);
    EXPECT_EQ(view.calls, Calls{"format typing"});
    EXPECT_EQ(view.typingFormat, notepad.defaultFormat());
    EXPECT_EQ(modified, 1);
    view.calls.clear();
    notepad.characterTyped(false);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(modified, 2);
}

TEST_F(NotepadControllerTest, ClipboardCommandsAndWhatTheyModify) {
    // Nothing selected: copy, cut and delete change nothing that matters.
    notepad.runCommand(NotepadCommand::Copy);
    notepad.runCommand(NotepadCommand::Cut);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(modified, 0);

    view.selection = "41 42";
    notepad.runCommand(NotepadCommand::Copy);
    EXPECT_EQ(view.calls, Calls{"copy"});
    EXPECT_EQ(copied, std::vector<std::string>{"41 42"});
    EXPECT_EQ(modified, 0);

    view.calls.clear();
    notepad.runCommand(NotepadCommand::Cut);
    EXPECT_EQ(view.calls, (Calls{"copy", "remove"}));
    EXPECT_EQ(copied.size(), 2u);
    EXPECT_EQ(modified, 1);

    view.calls.clear();
    for (auto command : {NotepadCommand::Paste, NotepadCommand::Delete, NotepadCommand::SelectAll,
                         NotepadCommand::DefaultFont, NotepadCommand::Hide}) {
        notepad.runCommand(command);
    }
    EXPECT_EQ(view.calls, (Calls{"paste", "remove", "select all", "format selection", "hide"}));
    EXPECT_EQ(view.typingFormat, notepad.defaultFormat());
    EXPECT_EQ(modified, 3);
}

TEST_F(NotepadControllerTest, ShowBringsAHiddenOrMinimisedWindowToTheFront) {
    notepad.show();
    EXPECT_EQ(view.calls, (Calls{"show", "front"}));
    view.calls.clear();
    view.minimized = true;
    notepad.show();
    EXPECT_EQ(view.calls, (Calls{"restore", "front"}));
    view.calls.clear();
    notepad.show();
    EXPECT_EQ(view.calls, Calls{"front"});
    notepad.hide();
    EXPECT_FALSE(view.shown);
}

TEST_F(NotepadControllerTest, BlanksTabsAndLineEndsAloneAreEmpty) {
    EXPECT_TRUE(notepad.IsEmpty());
    view.text = documentOfPlainText(" \t\r\n\n  \t");
    EXPECT_TRUE(notepad.IsEmpty());
    view.text = documentOfPlainText(" \n x");
    EXPECT_FALSE(notepad.IsEmpty());
    notepad.reset();
    EXPECT_TRUE(notepad.IsEmpty());
    EXPECT_EQ(view.calls, (Calls{"clear", "format typing"}));
    EXPECT_EQ(view.typingFormat, notepad.defaultFormat());
}

TEST_F(NotepadControllerTest, TheFileIsRichTextFormatBesideTheProject) {
    EXPECT_FALSE(notepad.NotepadfileExists(directory, "Notes"));
    view.text = documentOfPlainText("first\nsecond");
    view.text.paragraphs[0].runs[0].format = test::styled("Arial", 20, true);
    ASSERT_TRUE(notepad.SaveRTFContents(directory, "Notes"));
    EXPECT_TRUE(notepad.NotepadfileExists(directory, "Notes"));
    const std::string saved = test::readFile(directory + "Notes.ptn");
    EXPECT_EQ(readRtf(saved), view.text);

    const RichTextDocument written = view.text;
    view.text = RichTextDocument{};
    ASSERT_TRUE(notepad.LoadRTFContents(directory, "Notes"));
    EXPECT_EQ(view.text, written);
    EXPECT_EQ(modified, 0);

    // A missing file fails and leaves the text; so does a folder of that name.
    EXPECT_FALSE(notepad.LoadRTFContents(directory, "Missing"));
    std::filesystem::create_directory(directory + "Folder.ptn");
    EXPECT_FALSE(notepad.NotepadfileExists(directory, "Folder"));
    EXPECT_FALSE(notepad.LoadRTFContents(directory, "Folder"));
    EXPECT_FALSE(notepad.SaveRTFContents(directory, "Folder"));
    EXPECT_EQ(view.text, written);
}

using NotepadInMainWindowTest = test::ControlTest;

TEST_F(NotepadInMainWindowTest, TheNotepadCaptionFollowsTheProjectName) {
    addSend("Ping", "ping");
    fileDialog.choices.push_back({directory + "Kept.ptp", 0});
    ASSERT_TRUE(controller.project().execSaveProjectAs());
    EXPECT_EQ(notepad.projectName, "Kept");
    controller.project().execProjectNew(false);
    EXPECT_EQ(notepad.projectName, "");
}

} // namespace
} // namespace corvane
