#pragma once

#include "app/control/ShortcutGridEditor.h"

#include <QTableWidget>

namespace corvane {

class OptionsDialogModel;

// The character grid of the options dialog: "Dec", "Hex", "Char.", the hidden description,
// "Editor" and "Shortcut", one row per control character, a separator row and one row per code
// from 127 on. A double click on an Editor or Shortcut cell starts capturing the next key for that
// row; what the keys do is the dialog model's grid editor's business.
class ShortcutGridTable : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kEditorColumn = 4;
    static constexpr int kShortcutColumn = 5;

    ShortcutGridTable(OptionsDialogModel& model, QWidget* parent = nullptr);

    // The row of a character code (-1 for the separator row).
    static int rowOf(int code);
    // Starts capture as a double click on the cell does.
    void cellDoubleClickedAt(int row, int column);
    // Every row drawn again from the table.
    void redraw();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void drawRow(int row);
    static ShortcutGridEditor::Column columnOf(int column);

    OptionsDialogModel& model_;
};

} // namespace corvane
