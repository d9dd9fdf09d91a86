#include "app/control/NotepadController.h"

#include "app/control/NotepadView.h"
#include "persistence/ProgramSettingsData.h"
#include "richtext/RichTextFile.h"

#include <algorithm>
#include <filesystem>

namespace corvane {

namespace {

constexpr int kVirtualKeyDelete = 46;
constexpr int kVirtualKeyInsert = 45;
constexpr int kVirtualKeyF12 = 123;

std::string notepadPath(const std::string& directory, const std::string& baseName) {
    return directory + baseName + ".ptn";
}

} // namespace

NotepadCommand notepadCommandOfKey(int virtualKey, bool ctrl, bool shift) {
    if (virtualKey == kVirtualKeyF12 && !ctrl && !shift) {
        return NotepadCommand::Hide;
    }
    if (ctrl && !shift) {
        switch (virtualKey) {
        case 'X':
            return NotepadCommand::Cut;
        case 'C':
        case kVirtualKeyInsert:
            return NotepadCommand::Copy;
        case 'V':
            return NotepadCommand::Paste;
        case 'A':
            return NotepadCommand::SelectAll;
        case 'D':
            return NotepadCommand::DefaultFont;
        default:
            return NotepadCommand::None;
        }
    }
    if (shift && !ctrl) {
        if (virtualKey == kVirtualKeyDelete) {
            return NotepadCommand::Cut;
        }
        if (virtualKey == kVirtualKeyInsert) {
            return NotepadCommand::Paste;
        }
    }
    return NotepadCommand::None;
}

NotepadMenuStates notepadMenuStatesOf(bool hasSelection) {
    NotepadMenuStates states;
    states.cut = hasSelection;
    states.copy = hasSelection;
    states.remove = hasSelection;
    return states;
}

std::string notepadCaptionOf(const std::string& projectName) {
    std::string caption = "Corvane Notepad";
    if (!projectName.empty()) {
        caption += " - Project: " + projectName;
    }
    return caption;
}

NotepadController::NotepadController(NotepadView& view, const ProgramSettingsData& settings)
    : view_(view), settings_(settings) {}

CharacterFormat NotepadController::defaultFormat() const {
    CharacterFormat format;
    format.fontName = "Arial";
    format.halfPoints = 2 * std::clamp(settings_.dispFontSize, 8, 12);
    return format;
}

bool NotepadController::NotepadfileExists(const std::string& directory, const std::string& baseName) const {
    std::error_code error;
    return std::filesystem::is_regular_file(notepadPath(directory, baseName), error);
}

bool NotepadController::LoadRTFContents(const std::string& directory, const std::string& baseName) {
    std::optional<RichTextDocument> document = loadRichTextFile(notepadPath(directory, baseName));
    if (!document) {
        return false;
    }
    view_.setDocument(*document);
    return true;
}

bool NotepadController::SaveRTFContents(const std::string& directory, const std::string& baseName) {
    return saveRichTextFile(notepadPath(directory, baseName), view_.document());
}

bool NotepadController::IsEmpty() const {
    const std::string text = view_.plainText();
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

void NotepadController::reset() {
    view_.clearText();
    view_.applyFormat(defaultFormat(), false);
}

void NotepadController::show() {
    if (!view_.isShown()) {
        view_.showWindow();
    }
    if (view_.isMinimizedWindow()) {
        view_.restoreWindow();
    }
    view_.bringToFront();
}

void NotepadController::hide() {
    view_.hideWindow();
}

void NotepadController::setProjectName(const std::string& projectName) {
    view_.showCaption(notepadCaptionOf(projectName));
}

void NotepadController::characterTyped(bool caretAtEnd) {
    if (caretAtEnd) {
        view_.applyFormat(defaultFormat(), false);
    }
    textChangedByUser();
}

void NotepadController::textChangedByUser() {
    if (hooks_.projectModified) {
        hooks_.projectModified();
    }
}

void NotepadController::runCommand(NotepadCommand command) {
    switch (command) {
    case NotepadCommand::Cut:
        if (view_.hasSelection()) {
            runCommand(NotepadCommand::Copy);
            view_.removeSelection();
            textChangedByUser();
        }
        break;
    case NotepadCommand::Copy:
        if (view_.hasSelection()) {
            view_.copySelection();
            if (hooks_.copiedText) {
                hooks_.copiedText(view_.selectedPlainText());
            }
        }
        break;
    case NotepadCommand::Paste:
        view_.pasteClipboard();
        textChangedByUser();
        break;
    case NotepadCommand::Delete:
        view_.removeSelection();
        textChangedByUser();
        break;
    case NotepadCommand::SelectAll:
        view_.selectAll();
        break;
    case NotepadCommand::DefaultFont:
        view_.applyFormat(defaultFormat(), true);
        break;
    case NotepadCommand::Hide:
        view_.hideWindow();
        break;
    case NotepadCommand::None:
        break;
    }
}

} // namespace corvane
