#pragma once

#include <Qt>

namespace corvane {

// The one place where Qt keys become the Windows virtual-key codes the shortcut table stores:
// 13 Enter, 8 Backspace, 9 Tab, 27 Esc, 32 Space, 46 Delete, 48-57 digits, 65-90 letters,
// 112 and up function keys. 0 for keys the table can't name.
int virtualKeyOf(int qtKey);

// The shift state of the shortcut table: 1 Shift, 2 Ctrl, 4 Alt.
int shiftStateOf(Qt::KeyboardModifiers modifiers);

} // namespace corvane
