#pragma once

#include <QTableWidget>

namespace corvane {

// The table of a sequence list. A row dragged to another row of the same table is not moved by
// the table itself: the table reports the move, and the list operation rebuilds the rows.
class SequenceListTable : public QTableWidget {
    Q_OBJECT
public:
    explicit SequenceListTable(QWidget* parent = nullptr);

    // The row a drop at this viewport position moves the dragged row to: the row under it, or the
    // last row below the rows; -1 when the table is empty.
    int dropTargetRow(const QPoint& viewportPosition) const;

signals:
    void moveRequested(int from, int to);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool ownRows(const QDropEvent* event) const;
};

} // namespace corvane
