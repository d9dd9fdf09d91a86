#include "app/control/ShortcutGridEditor.h"

#include "sequences/CharacterRepresentation.h"

#include <cstdio>

namespace corvane {

namespace {

using modShortCutManagement::kAlt;
using modShortCutManagement::kCtrl;
using modShortCutManagement::kShift;

constexpr int kBackspace = 8;
constexpr int kDelete = 46;
constexpr int kShiftKey = 16;
constexpr int kControlKey = 17;
constexpr int kMenuKey = 18;
// Function keys and everything after them.
constexpr int kFirstFunctionKey = 112;

bool isLetterKey(int keyCode) {
    return keyCode >= 'A' && keyCode <= 'Z';
}

bool isControlCharacter(int code) {
    return code >= 0 && code < 32;
}

bool inTable(int code) {
    return (code >= 0 && code <= 31) || (code >= 127 && code <= 255);
}

} // namespace

const std::vector<int>& ShortcutGridEditor::rowCodes() {
    static const std::vector<int> codes = [] {
        std::vector<int> all;
        for (int code = 0; code < 32; ++code) {
            all.push_back(code);
        }
        all.push_back(kSeparatorRow);
        for (int code = 127; code < 256; ++code) {
            all.push_back(code);
        }
        return all;
    }();
    return codes;
}

std::string ShortcutGridEditor::decText(int code) {
    return code == kSeparatorRow ? std::string() : std::to_string(code);
}

std::string ShortcutGridEditor::hexText(int code) {
    if (code == kSeparatorRow) {
        return {};
    }
    char text[8];
    std::snprintf(text, sizeof text, "%02X", code & 0xFF);
    return text;
}

std::string ShortcutGridEditor::characterText(int code) {
    if (isControlCharacter(code)) {
        return controlCharacterMnemonic(code, true);
    }
    return inTable(code) ? ansiCharacter(static_cast<std::uint8_t>(code)) : std::string();
}

std::string ShortcutGridEditor::description(int code) {
    if (isControlCharacter(code)) {
        return controlCharacterMnemonic(code, true) + " " + controlCharacterName(code);
    }
    if (!inTable(code)) {
        return {};
    }
    return "ASCII code " + std::to_string(code) + " (HEX " + hexText(code) + ")";
}

std::string ShortcutGridEditor::keyName(int keyCode) {
    switch (keyCode) {
    case kBackspace:
        return "Backspace";
    case 13:
        return "Enter";
    case 32:
        return "Space";
    case 27:
        return "Esc";
    // Keys whose code is no printable character get their name on the key cap.
    case 9:
        return "Tab";
    case 45:
        return "Ins";
    case kDelete:
        return "Del";
    default:
        break;
    }
    if (keyCode > 32 && keyCode < 127) {
        return std::string(1, static_cast<char>(keyCode));
    }
    return keyCode > 0 && keyCode < 256 ? ansiCharacter(static_cast<std::uint8_t>(keyCode)) : std::string();
}

std::string ShortcutGridEditor::shortcutText(const modShortCutManagement::UserShortcut& entry) {
    if ((entry.shiftState & (kCtrl | kAlt)) == 0) {
        return {};
    }
    std::string text;
    if (entry.shiftState & kShift) {
        text += "Shift+";
    }
    if (entry.shiftState & kCtrl) {
        text += "Ctrl+";
    }
    if (entry.shiftState & kAlt) {
        text += "Alt+";
    }
    return text + keyName(entry.keyCode);
}

std::string ShortcutGridEditor::cellText(int code, Column column) const {
    if (!inTable(code)) {
        return {};
    }
    if (captureCode_ == code && captureColumn_ == column) {
        return column == Column::Editor ? kEditorPrompt : kShortcutPrompt;
    }
    const auto& entry = table_[static_cast<std::size_t>(code)];
    return column == Column::Editor ? entry.editorCharacter : shortcutText(entry);
}

std::string ShortcutGridEditor::toolTip(int code, Column column) const {
    if (!inTable(code)) {
        return {};
    }
    if (column == Column::Shortcut) {
        return description(code) + " - Double click to enter new keyboard shortcut";
    }
    if (isControlCharacter(code)) {
        return description(code) + " - Double click to enter new editor character (A - z)";
    }
    return description(code) + "- Editor character not to define";
}

bool ShortcutGridEditor::beginCapture(int code, Column column) {
    endCapture();
    if (!inTable(code) || (column == Column::Editor && !isControlCharacter(code))) {
        return false;
    }
    captureCode_ = code;
    captureColumn_ = column;
    return true;
}

bool ShortcutGridEditor::keyPressed(int keyCode, int shiftState) {
    if (!capturing()) {
        return false;
    }
    const bool done =
        captureColumn_ == Column::Editor ? editorKey(keyCode, shiftState) : shortcutKey(keyCode, shiftState);
    if (done) {
        endCapture();
    }
    return done;
}

bool ShortcutGridEditor::editorKey(int keyCode, int shiftState) {
    if ((keyCode == kDelete || keyCode == kBackspace) && (shiftState & kShift) == 0) {
        table_[static_cast<std::size_t>(captureCode_)].editorCharacter.clear();
        return true;
    }
    if (!isLetterKey(keyCode) || (shiftState & kCtrl) != 0) {
        return false;
    }
    const char letter =
        (shiftState & kShift) != 0 ? static_cast<char>(keyCode) : static_cast<char>(keyCode - 'A' + 'a');
    setEditorCharacter(captureCode_, std::string(1, letter));
    return true;
}

bool ShortcutGridEditor::shortcutKey(int keyCode, int shiftState) {
    if ((keyCode == kDelete || keyCode == kBackspace) && shiftState == 0) {
        auto& entry = table_[static_cast<std::size_t>(captureCode_)];
        entry.keyCode = 0;
        entry.shiftState = 0;
        return true;
    }
    // Keys the table can't name read as 0; a modifier alone or a function key is no shortcut.
    if (keyCode <= 0 || keyCode == kShiftKey || keyCode == kControlKey || keyCode == kMenuKey ||
        keyCode >= kFirstFunctionKey || (shiftState & (kCtrl | kAlt)) == 0) {
        return false;
    }
    const auto state = static_cast<std::int16_t>(shiftState & (kShift | kCtrl | kAlt));
    for (auto& other : table_) {
        if (other.keyCode == keyCode && other.shiftState == state) {
            other.keyCode = 0;
            other.shiftState = 0;
        }
    }
    auto& entry = table_[static_cast<std::size_t>(captureCode_)];
    entry.keyCode = static_cast<std::int16_t>(keyCode);
    entry.shiftState = state;
    if (isLetterKey(keyCode) && isControlCharacter(captureCode_) && entry.editorCharacter.empty()) {
        const char letter =
            (state & kShift) != 0 ? static_cast<char>(keyCode) : static_cast<char>(keyCode - 'A' + 'a');
        const std::string text(1, letter);
        if (!editorCharacterUsed(text)) {
            entry.editorCharacter = text;
        }
    }
    return true;
}

bool ShortcutGridEditor::editorCharacterUsed(const std::string& letter) const {
    for (const auto& entry : table_) {
        if (entry.editorCharacter == letter) {
            return true;
        }
    }
    return false;
}

void ShortcutGridEditor::setEditorCharacter(int code, const std::string& letter) {
    for (auto& entry : table_) {
        if (entry.editorCharacter == letter) {
            entry.editorCharacter.clear();
        }
    }
    table_[static_cast<std::size_t>(code)].editorCharacter = letter;
}

} // namespace corvane
