#pragma once

#include <string>

namespace corvane {

class SequenceEditModel;

// The tool tip of the sequence edit control: how characters are typed in its current edit
// representation, with the keyboard shortcuts and editor characters of the user's table.
std::string sequenceEditToolTip(const SequenceEditModel& model);

// A Windows virtual-key code with a shift state as a key name ("Ctrl+Shift+Enter"); empty for a
// key without a name.
std::string shortcutKeyName(int virtualKey, int shiftState);

} // namespace corvane
