#include "app/gui/ShortcutGridTable.h"

#include "app/control/OptionsDialogModel.h"
#include "app/gui/KeyCodes.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace corvane {

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

} // namespace

ShortcutGridTable::ShortcutGridTable(OptionsDialogModel& model, QWidget* parent)
    : QTableWidget(static_cast<int>(ShortcutGridEditor::rowCodes().size()), 6, parent), model_(model) {
    setObjectName("grdShortcuts");
    setHorizontalHeaderLabels({"Dec", "Hex ", "Char.", "", "Editor", " Shortcut"});
    for (int column = 0; column < columnCount(); ++column) {
        horizontalHeaderItem(column)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    setColumnHidden(3, true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setMouseTracking(true);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(0, 48);
    setColumnWidth(1, 44);
    setColumnWidth(2, 64);
    setColumnWidth(kEditorColumn, 64);
    redraw();
    connect(this, &QTableWidget::cellDoubleClicked, this, &ShortcutGridTable::cellDoubleClickedAt);
}

int ShortcutGridTable::rowOf(int code) {
    const auto& codes = ShortcutGridEditor::rowCodes();
    for (std::size_t row = 0; row < codes.size(); ++row) {
        if (codes[row] == code) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

ShortcutGridEditor::Column ShortcutGridTable::columnOf(int column) {
    return column == kEditorColumn ? ShortcutGridEditor::Column::Editor
                                   : ShortcutGridEditor::Column::Shortcut;
}

void ShortcutGridTable::drawRow(int row) {
    const int code = ShortcutGridEditor::rowCodes()[static_cast<std::size_t>(row)];
    const ShortcutGridEditor& grid = model_.grid();
    const QString cells[6] = {text(ShortcutGridEditor::decText(code)),
                              text(ShortcutGridEditor::hexText(code)),
                              text(ShortcutGridEditor::characterText(code)),
                              text(ShortcutGridEditor::description(code)),
                              text(grid.cellText(code, ShortcutGridEditor::Column::Editor)),
                              text(grid.cellText(code, ShortcutGridEditor::Column::Shortcut))};
    for (int column = 0; column < 6; ++column) {
        QTableWidgetItem* cell = item(row, column);
        if (cell == nullptr) {
            cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(row, column, cell);
        }
        cell->setText(cells[column]);
        if (column == kEditorColumn || column == kShortcutColumn) {
            cell->setToolTip(text(grid.toolTip(code, columnOf(column))));
        } else {
            cell->setToolTip(cells[3]);
        }
    }
}

void ShortcutGridTable::redraw() {
    for (int row = 0; row < rowCount(); ++row) {
        drawRow(row);
    }
}

void ShortcutGridTable::cellDoubleClickedAt(int row, int column) {
    if (row < 0 || row >= rowCount() || (column != kEditorColumn && column != kShortcutColumn)) {
        return;
    }
    const bool wasCapturing = model_.grid().capturing();
    const int code = ShortcutGridEditor::rowCodes()[static_cast<std::size_t>(row)];
    if (code == ShortcutGridEditor::kSeparatorRow) {
        return;
    }
    model_.beginCapture(code, columnOf(column));
    if (wasCapturing) {
        redraw();
    } else {
        drawRow(row);
    }
    setFocus();
}

bool ShortcutGridTable::event(QEvent* event) {
    // While a key is captured it is the grid's, not a shortcut of the dialog or its buttons.
    if (event->type() == QEvent::ShortcutOverride && model_.grid().capturing()) {
        event->accept();
        return true;
    }
    return QTableWidget::event(event);
}

void ShortcutGridTable::keyPressEvent(QKeyEvent* event) {
    if (!model_.grid().capturing()) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    if (model_.grid().keyPressed(virtualKeyOf(event->key()), shiftStateOf(event->modifiers()))) {
        redraw();
    }
    event->accept();
}

void ShortcutGridTable::focusOutEvent(QFocusEvent* event) {
    // A message box of the grid takes the focus only while nothing is captured.
    if (model_.grid().capturing()) {
        model_.grid().endCapture();
        redraw();
    }
    QTableWidget::focusOutEvent(event);
}

} // namespace corvane
