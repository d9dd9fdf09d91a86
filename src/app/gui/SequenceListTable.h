#pragma once

#include "app/gui/SequenceListModel.h"

#include <QTableView>

namespace corvane {

// The view of a sequence list. A row dragged to another row of the same list is not moved by the
// view itself: the view reports the move, and the list operation changes the entries. In the send
// list the first column is the row's send button.
class SequenceListTable : public QTableView {
    Q_OBJECT
public:
    SequenceListTable(SequenceListModel* model, QWidget* parent = nullptr);

    SequenceListModel* listModel() const { return model_; }
    int rowCount() const { return model_->rowCount(); }
    int currentRow() const { return currentIndex().isValid() ? currentIndex().row() : -1; }
    void setCurrentCell(int row, int column) { setCurrentIndex(model_->index(row, column)); }
    // The text a cell shows.
    QString cellText(int row, int column) const;

    // The row a drop at this viewport position moves the dragged row to: the row under it, or the
    // last row below the rows; -1 when the list is empty.
    int dropTargetRow(const QPoint& viewportPosition) const;

signals:
    void moveRequested(int from, int to);
    void sendClicked(int row);
    // Enter on a row, or a double click below the rows (row -1: the blank slot for a new
    // sequence), asks for the editor.
    void editRequested(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool ownRows(const QDropEvent* event) const;

    SequenceListModel* model_;
};

} // namespace corvane
