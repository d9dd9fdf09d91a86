#include "app/control/KeyboardCommands.h"

#include "persistence/ProgramSettingsData.h"
#include "sequences/modShortCutManagement.h"

namespace corvane {

namespace {

constexpr int kKeyTab = 9;
constexpr int kKeyF1 = 112;
constexpr int kKeyF5 = 116;
constexpr int kKeyF6 = 117;
constexpr int kKeyF12 = 123;
constexpr int kKeyF24 = 135;

} // namespace

WindowKey windowKeyOf(int virtualKey, bool ctrl) {
    switch (virtualKey) {
    case kKeyF5:
        return {WindowKey::Action::Command, ctrl ? "ConsoleOn" : "Start"};
    case kKeyF6:
        return {WindowKey::Action::Command, ctrl ? "ConsoleOff" : "Stop"};
    case kKeyF12:
        return {WindowKey::Action::ShowNotepad, {}};
    case kKeyTab:
        return ctrl ? WindowKey{WindowKey::Action::NextView, {}} : WindowKey{};
    default:
        return {};
    }
}

ClSequence keyboardConsoleCharacters(const ProgramSettingsData& settings, const TypedKey& key) {
    ClSequence characters;
    const int mapped =
        key.virtualKey == 0
            ? -1
            : modShortCutManagement::findShortcut(settings.userShortcuts, key.virtualKey, key.shiftState);
    if (mapped >= 0) {
        characters.appendCharacter(mapped);
    } else if (key.virtualKey >= kKeyF1 && key.virtualKey <= kKeyF24) {
        // Function keys stay with the window's commands.
    } else if (key.returnKey) {
        characters.appendCharacter(13);
        characters.appendCharacter(10);
    } else {
        for (int code : key.codes) {
            if (code >= 32) {
                characters.appendCharacter(code);
            }
        }
    }
    return characters;
}

int nextEnabledView(int current, const bool (&enabled)[4]) {
    int view = current;
    for (int step = 0; step < 4; ++step) {
        view = (view + 1) % 4;
        if (enabled[view]) {
            break;
        }
    }
    return view;
}

} // namespace corvane
