#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The program-wide table of input aids for characters that have no key of their own: a keyboard
// shortcut (a key with Ctrl, Alt or Shift) and an editor character (a letter that stands for the
// character while typing in a sequence edit control). The table is stored as one text in the
// program settings.
namespace corvane::modShortCutManagement {

inline constexpr const char* kModule = "modShortCutManagement";
inline constexpr std::size_t kTableSize = 256;

// Modifier bits of a shift state; 0 means no shortcut.
inline constexpr std::int16_t kShift = 1;
inline constexpr std::int16_t kCtrl = 2;
inline constexpr std::int16_t kAlt = 4;

// LF on Ctrl+Shift+Enter with editor character n, CR on Ctrl+Enter with editor character r.
inline constexpr const char* kDefaultShortcutText = "10,3,13,n,13,2,13,r,";

struct UserShortcut {
    // Windows virtual key code of the shortcut key (13 is Enter).
    std::int16_t keyCode = 0;
    std::int16_t shiftState = 0;
    // Short and long control-character names for codes 0 to 31, empty otherwise.
    std::string mnemonic;
    std::string longName;
    // A letter that stands for this character in the sequence edit control; empty if none.
    std::string editorCharacter;
};

// Indexed by character code.
using UserShortcutTable = std::array<UserShortcut, kTableSize>;

// Every operation takes its tables as spans and checks that they hold exactly 256 entries (codes
// 0 to 255); any other size is an internal error (1002). Arrays handed over by an edit control
// come through here unchecked by the type system.

// The stored text: entries with an editor character or a shift state above 1, in code order,
// each as "code,shift state,key code,editor character,".
std::string tableToText(std::span<const UserShortcut> table);

// Resets every entry (no shortcut, names of control characters, no editor character), then takes
// the entries of a stored text. A text with a wrong number of fields is ignored as a whole.
void textToTable(std::string_view text, std::span<UserShortcut> table);

void copyTable(std::span<UserShortcut> target, std::span<const UserShortcut> source);

// The character whose shortcut is the key with the shift state, or -1. A key without modifiers
// is never a shortcut; codes 32 to 126 are never searched.
int findShortcut(std::span<const UserShortcut> table, int keyCode, int shiftState);

} // namespace corvane::modShortCutManagement
