#include "app/gui/SequenceListTable.h"

#include <QDropEvent>
#include <QMimeData>

namespace corvane {

SequenceListTable::SequenceListTable(QWidget* parent) : QTableWidget(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    // Not InternalMove: the view would move the cells itself. Drags from other widgets are refused
    // below instead.
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(true);
}

int SequenceListTable::dropTargetRow(const QPoint& viewportPosition) const {
    if (rowCount() == 0) {
        return -1;
    }
    const int row = rowAt(viewportPosition.y());
    if (row >= 0) {
        return row;
    }
    return viewportPosition.y() < 0 ? 0 : rowCount() - 1;
}

bool SequenceListTable::ownRows(const QDropEvent* event) const {
    // The source is unknown only for drops sent without a drag of this program.
    const QObject* source = event->source();
    const QStringList formats = model()->mimeTypes();
    return (source == nullptr || source == this) && !formats.isEmpty() && event->mimeData() != nullptr &&
           event->mimeData()->hasFormat(formats[0]);
}

void SequenceListTable::dragEnterEvent(QDragEnterEvent* event) {
    if (!ownRows(event)) {
        event->ignore();
        return;
    }
    QTableWidget::dragEnterEvent(event);
}

void SequenceListTable::dragMoveEvent(QDragMoveEvent* event) {
    if (!ownRows(event)) {
        event->ignore();
        return;
    }
    QTableWidget::dragMoveEvent(event);
}

void SequenceListTable::dropEvent(QDropEvent* event) {
    if (!ownRows(event)) {
        event->ignore();
        return;
    }
    const int from = currentRow();
    const int to = dropTargetRow(event->position().toPoint());
    // The view must neither insert the dropped cells nor clear the source row after the drag:
    // the list operation behind moveRequested rebuilds all rows.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (from >= 0 && to >= 0 && from != to) {
        emit moveRequested(from, to);
    }
}

} // namespace corvane
