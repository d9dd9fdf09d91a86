#pragma once

#include "sequences/ClSequence.h"

#include <string>
#include <vector>

namespace corvane {

struct ProgramSettingsData;

// What a key pressed in the main window does before its controls see it.
struct WindowKey {
    enum class Action { None, Command, ShowNotepad, NextView };
    Action action = Action::None;
    // The deferred command of Action::Command.
    std::string command;
};

// F5 "Start", F6 "Stop", Ctrl+F5 "ConsoleOn", Ctrl+F6 "ConsoleOff", F12 the notepad, Ctrl+Tab the
// next communication tab. Keys are Windows virtual-key codes.
WindowKey windowKeyOf(int virtualKey, bool ctrl);

// A key typed while the keyboard console is on.
struct TypedKey {
    // Windows virtual-key code, 0 when the key has none.
    int virtualKey = 0;
    // 1 Shift, 2 Ctrl, 4 Alt.
    int shiftState = 0;
    bool returnKey = false;
    // The key's text as Windows-1252 codes (-1 where a character has none).
    std::vector<int> codes;
};

// The characters the keyboard console sends for a key: the character the shortcut table maps it
// to; CR LF for Return; else the typed characters from code 32 up. Empty: the key isn't the
// console's (function keys stay with the window's commands).
ClSequence keyboardConsoleCharacters(const ProgramSettingsData& settings, const TypedKey& key);

// The next enabled communication view after current, cycling 0, 1, 2, 3; current when no other is.
int nextEnabledView(int current, const bool (&enabled)[4]);

} // namespace corvane
