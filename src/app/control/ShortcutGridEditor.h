#pragma once

#include "sequences/modShortCutManagement.h"

#include <string>
#include <vector>

namespace corvane {

// The character grid of the options dialog: which rows it has, what each cell shows and how a
// double click captures a new editor character or keyboard shortcut for a row. It edits the
// dialog's copy of the user shortcut table; keys arrive as the table's virtual-key codes with the
// shift state bits (1 Shift, 2 Ctrl, 4 Alt).
class ShortcutGridEditor {
public:
    enum class Column { Editor, Shortcut };
    // The separator row between the control characters and the codes from 127 on.
    static constexpr int kSeparatorRow = -1;

    static constexpr const char* kEditorPrompt = "Char?";
    static constexpr const char* kShortcutPrompt = "Press new key combination...";
    static constexpr const char* kNotAControlCharacter =
        "The editor character can only be set for control characters (ASCII code < 32)";

    explicit ShortcutGridEditor(modShortCutManagement::UserShortcutTable& table) : table_(table) {}

    // The character code of every row: 0 to 31, the separator, 127 to 255.
    static const std::vector<int>& rowCodes();

    // "2", "02", the character (the mnemonic for a control character), and the description: the
    // mnemonic with the long name, or "ASCII code 200 (HEX C8)".
    static std::string decText(int code);
    static std::string hexText(int code);
    static std::string characterText(int code);
    static std::string description(int code);
    // "Ctrl+B", "Shift+Ctrl+Enter"; empty without Ctrl or Alt.
    static std::string shortcutText(const modShortCutManagement::UserShortcut& entry);
    static std::string keyName(int keyCode);

    // What a cell shows: the editor character or the shortcut, or the capture prompt while that
    // cell captures.
    std::string cellText(int code, Column column) const;
    // The hover tip: the row's description followed by what a double click does there.
    std::string toolTip(int code, Column column) const;

    // A double click on a cell. False when the cell takes nothing: the separator, or the editor
    // cell of a code of 32 and more (the caller shows kNotAControlCharacter for the latter).
    bool beginCapture(int code, Column column);
    bool capturing() const { return captureCode_ >= 0; }
    int captureCode() const { return captureCode_; }
    Column captureColumn() const { return captureColumn_; }
    void endCapture() { captureCode_ = -1; }

    // A key during capture; true when it ended the capture (the grid is then drawn again, since
    // other rows may have given up their shortcut or editor character). Ignored keys leave the
    // capture running.
    bool keyPressed(int keyCode, int shiftState);

private:
    bool editorKey(int keyCode, int shiftState);
    bool shortcutKey(int keyCode, int shiftState);
    void setEditorCharacter(int code, const std::string& letter);
    bool editorCharacterUsed(const std::string& letter) const;

    modShortCutManagement::UserShortcutTable& table_;
    int captureCode_ = -1;
    Column captureColumn_ = Column::Editor;
};

} // namespace corvane
