#include "app/gui/SequenceListTable.h"

#include <QApplication>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include <functional>

namespace corvane {

namespace {

// Draws the send button of a row and reports a click on it.
class SendButtonDelegate : public QStyledItemDelegate {
public:
    SendButtonDelegate(std::function<void(int)> clicked, QObject* parent)
        : QStyledItemDelegate(parent), clicked_(std::move(clicked)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionButton button;
        button.rect = option.rect.adjusted(1, 1, -1, -1);
        button.text = index.data(Qt::DisplayRole).toString();
        const bool enabled = index.flags().testFlag(Qt::ItemIsEnabled);
        button.state = enabled ? QStyle::State_Enabled : QStyle::State_None;
        if (enabled && pressed_ == QPersistentModelIndex(index)) {
            button.state |= QStyle::State_Sunken;
        } else {
            button.state |= QStyle::State_Raised;
        }
        const QWidget* widget = option.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
    }

    bool editorEvent(QEvent* event, QAbstractItemModel*, const QStyleOptionViewItem&,
                     const QModelIndex& index) override {
        if (!index.flags().testFlag(Qt::ItemIsEnabled)) {
            return false;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            pressed_ = index;
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            const bool click = pressed_ == QPersistentModelIndex(index);
            pressed_ = QPersistentModelIndex();
            if (click) {
                clicked_(index.row());
            }
            return true;
        }
        return event->type() == QEvent::MouseButtonDblClick;
    }

private:
    std::function<void(int)> clicked_;
    QPersistentModelIndex pressed_;
};

} // namespace

SequenceListTable::SequenceListTable(SequenceListModel* model, QWidget* parent)
    : QTableView(parent), model_(model) {
    model_->setParent(this);
    setModel(model_);
    setDragEnabled(true);
    setAcceptDrops(true);
    // Not InternalMove: the view would move the cells itself. Drags from other widgets are refused
    // below instead.
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(22);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setAlternatingRowColors(true);
    if (model_->kind() == SequenceListKind::Send) {
        setItemDelegateForColumn(SequenceListRows::kButtonColumn,
                                 new SendButtonDelegate([this](int row) { emit sendClicked(row); }, this));
    }
}

QString SequenceListTable::cellText(int row, int column) const {
    return model_->data(model_->index(row, column), Qt::DisplayRole).toString();
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

void SequenceListTable::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit editRequested(currentRow());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void SequenceListTable::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!indexAt(event->position().toPoint()).isValid()) {
        emit editRequested(-1);
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
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
    QTableView::dragEnterEvent(event);
}

void SequenceListTable::dragMoveEvent(QDragMoveEvent* event) {
    if (!ownRows(event)) {
        event->ignore();
        return;
    }
    QTableView::dragMoveEvent(event);
}

void SequenceListTable::dropEvent(QDropEvent* event) {
    if (!ownRows(event)) {
        event->ignore();
        return;
    }
    const int from = currentRow();
    const int to = dropTargetRow(event->position().toPoint());
    // The view must neither insert the dropped cells nor clear the source row after the drag:
    // the list operation behind moveRequested changes the entries.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (from >= 0 && to >= 0 && from != to) {
        emit moveRequested(from, to);
    }
}

} // namespace corvane
