#include "app/gui/KeyCodes.h"

#include "sequences/modShortCutManagement.h"

namespace corvane {

int virtualKeyOf(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return 65 + (qtKey - Qt::Key_A);
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return 48 + (qtKey - Qt::Key_0);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return 112 + (qtKey - Qt::Key_F1);
    }
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Insert:
        return 45;
    default:
        return 0;
    }
}

int shiftStateOf(Qt::KeyboardModifiers modifiers) {
    int state = 0;
    if (modifiers & Qt::ShiftModifier) {
        state |= modShortCutManagement::kShift;
    }
    if (modifiers & Qt::ControlModifier) {
        state |= modShortCutManagement::kCtrl;
    }
    if (modifiers & Qt::AltModifier) {
        state |= modShortCutManagement::kAlt;
    }
    return state;
}

} // namespace corvane
