#include "app/control/SequenceEditHelp.h"

#include "app/control/SequenceEditModel.h"
#include "sequences/CharacterRepresentation.h"

namespace corvane {

namespace {

std::string keyName(int virtualKey) {
    if ((virtualKey >= 48 && virtualKey <= 57) || (virtualKey >= 65 && virtualKey <= 90)) {
        return std::string(1, static_cast<char>(virtualKey));
    }
    if (virtualKey >= 112 && virtualKey <= 135) {
        return "F" + std::to_string(virtualKey - 111);
    }
    switch (virtualKey) {
    case 8:
        return "Backspace";
    case 9:
        return "Tab";
    case 13:
        return "Enter";
    case 27:
        return "Esc";
    case 32:
        return "Space";
    case 45:
        return "Ins";
    case 46:
        return "Del";
    default:
        return {};
    }
}

// The character as the ASCII field shows it: "<CR>", or the character.
std::string shownCharacter(int code) {
    return SequenceEditModel::tokenOf(code, Representation::ASCII).text;
}

std::string typingLine(const SequenceEditModel& model) {
    switch (model.representation()) {
    case Representation::ASCII:
        return "ASCII: every key types its character.";
    case Representation::HEX:
        return "HEX: type two hex digits per character; Space ends a token after one digit.";
    case Representation::Decimal:
        return "Decimal: type three digits per character (000 to 255); Space ends a shorter token.";
    default:
        return "Binary: type eight binary digits per character; Space ends a shorter token.";
    }
}

std::string wildcardLine(const SequenceEditModel& model) {
    std::string line;
    const bool pattern = model.receivePattern();
    if (model.symbolAllowed('?')) {
        line += pattern ? "? inserts a wildcard that matches any one character. "
                        : "? inserts a wildcard for one character, filled in before sending. ";
    }
    if (model.symbolAllowed('#')) {
        line += pattern ? "# inserts a wildcard that matches one character or none. "
                        : "# inserts a wildcard for one optional character, filled in before sending. ";
    }
    if (!line.empty()) {
        line.pop_back();
    }
    return line;
}

} // namespace

std::string shortcutKeyName(int virtualKey, int shiftState) {
    const std::string key = keyName(virtualKey);
    if (key.empty()) {
        return {};
    }
    std::string name;
    if (shiftState & 2) {
        name += "Ctrl+";
    }
    if (shiftState & 4) {
        name += "Alt+";
    }
    if (shiftState & 1) {
        name += "Shift+";
    }
    return name + key;
}

std::string sequenceEditToolTip(const SequenceEditModel& model) {
    std::string tip = typingLine(model);
    const std::string wildcards = wildcardLine(model);
    if (!wildcards.empty()) {
        tip += "\n" + wildcards;
    }
    std::string shortcuts;
    std::string editorCharacters;
    const auto& table = model.shortcutTable();
    for (std::size_t code = 0; code < table.size(); ++code) {
        const auto& entry = table[code];
        const std::string key = entry.shiftState > 1 ? shortcutKeyName(entry.keyCode, entry.shiftState) : "";
        if (!key.empty()) {
            shortcuts += (shortcuts.empty() ? "" : ", ") + key + " " + shownCharacter(static_cast<int>(code));
        }
        if (!entry.editorCharacter.empty()) {
            editorCharacters += (editorCharacters.empty() ? "" : ", ") + entry.editorCharacter + " " +
                                shownCharacter(static_cast<int>(code));
        }
    }
    if (!shortcuts.empty()) {
        tip += "\nShortcuts: " + shortcuts + ".";
    }
    if (!editorCharacters.empty()) {
        tip += "\nEditor characters (Alt+letter";
        tip += model.representation() == Representation::ASCII ? "" : ", or the letter alone";
        tip += "): " + editorCharacters + ".";
    }
    tip += "\nCtrl+Z undo, Ctrl+Y redo, Ctrl+A select all, Ctrl+X/C/V cut, copy, paste.";
    return tip;
}

} // namespace corvane
