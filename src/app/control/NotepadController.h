#pragma once

#include "platform/NotepadCompanion.h"
#include "richtext/RichTextDocument.h"

#include <functional>
#include <string>

namespace corvane {

class NotepadView;
struct ProgramSettingsData;

// What the notepad does on a key or a pop-up menu item.
enum class NotepadCommand { None, Cut, Copy, Paste, Delete, SelectAll, DefaultFont, Hide };

// Ctrl+X or Shift+Delete cut, Ctrl+C or Ctrl+Insert copy, Ctrl+V or Shift+Insert paste, Ctrl+A
// select all, Ctrl+D default font, F12 hide. Keys are Windows virtual-key codes.
NotepadCommand notepadCommandOfKey(int virtualKey, bool ctrl, bool shift);

// The pop-up menu's items that are enabled.
struct NotepadMenuStates {
    bool cut = false;
    bool copy = false;
    bool paste = true;
    bool remove = false;
    bool selectAll = true;
    bool defaultFont = true;
};
NotepadMenuStates notepadMenuStatesOf(bool hasSelection);

// "Corvane Notepad", and " - Project: " with the project's name when it has one.
std::string notepadCaptionOf(const std::string& projectName);

// The notepad's decisions: its file (directory + base name + ".ptn", Rich Text Format), whether
// it is empty, its default font, what typing and the commands do, and when the window shows. The
// project file procedures reach it as the project's companion notepad.
class NotepadController : public NotepadCompanion {
public:
    struct Hooks {
        // The user changed the text: the project is modified.
        std::function<void()> projectModified;
        // Text was copied: it becomes the last copied sequence of the sequence lists.
        std::function<void(const std::string&)> copiedText;
    };

    NotepadController(NotepadView& view, const ProgramSettingsData& settings);

    void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }

    // "Arial" at the communication window's font size (8 to 12 points), neither bold, italic nor
    // underlined, in the window text colour.
    CharacterFormat defaultFormat() const;

    // NotepadCompanion.
    bool NotepadfileExists(const std::string& directory, const std::string& baseName) const override;
    bool LoadRTFContents(const std::string& directory, const std::string& baseName) override;
    bool SaveRTFContents(const std::string& directory, const std::string& baseName) override;
    // Nothing but blanks, tabs and line ends.
    bool IsEmpty() const override;
    void reset() override;
    // Shows the window if it is hidden, restores it if it is minimised, brings it to the front.
    void show() override;
    void hide() override;
    // The caption names the project.
    void setProjectName(const std::string& projectName) override;

    // A character is about to be typed: at the end of the text it starts in the default font. The
    // project is modified.
    void characterTyped(bool caretAtEnd);
    // The user changed the text (the Delete key, dropping, undoing, formatting): the project is
    // modified.
    void textChangedByUser();
    void runCommand(NotepadCommand command);

private:
    NotepadView& view_;
    const ProgramSettingsData& settings_;
    Hooks hooks_;
};

} // namespace corvane
