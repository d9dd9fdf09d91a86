#include "app/gui/SequenceListModel.h"

namespace corvane {

SequenceListModel::SequenceListModel(const SequenceListRows& rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows) {}

void SequenceListModel::setButtonsEnabled(bool enabled) {
    if (buttonsEnabled_ == enabled) {
        return;
    }
    buttonsEnabled_ = enabled;
    if (rowCount() > 0) {
        emit dataChanged(index(0, SequenceListRows::kButtonColumn),
                         index(rowCount() - 1, SequenceListRows::kButtonColumn));
    }
}

void SequenceListModel::refresh() {
    beginResetModel();
    endResetModel();
}

void SequenceListModel::refreshRow(int row) {
    if (row >= 0 && row < rowCount()) {
        emit dataChanged(index(row, 0), index(row, SequenceListRows::kColumns - 1));
    }
}

int SequenceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.rowCount();
}

int SequenceListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SequenceListRows::kColumns;
}

QVariant SequenceListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const bool receiveActive =
        kind() == SequenceListKind::Receive && index.column() == SequenceListRows::kActiveColumn;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        if (receiveActive) {
            return {};
        }
        const QString text = QString::fromStdString(rows_.text(index.row(), index.column()));
        // The whole sequence as tool tip, for sequences wider than the column.
        if (role == Qt::ToolTipRole && index.column() != 2) {
            return {};
        }
        return text;
    }
    case Qt::CheckStateRole:
        if (receiveActive) {
            return rows_.active(index.row()) ? Qt::Checked : Qt::Unchecked;
        }
        return {};
    default:
        return {};
    }
}

bool SequenceListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::CheckStateRole || kind() != SequenceListKind::Receive ||
        index.column() != SequenceListRows::kActiveColumn) {
        return false;
    }
    if (activeChanged_) {
        activeChanged_(index.row(), value.toInt() == Qt::Checked);
    }
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

QVariant SequenceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString(SequenceListRows::header(kind(), section));
}

Qt::ItemFlags SequenceListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::ItemIsDropEnabled;
    }
    Qt::ItemFlags flags =
        Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (kind() == SequenceListKind::Receive && index.column() == SequenceListRows::kActiveColumn) {
        flags |= Qt::ItemIsUserCheckable;
    }
    if (kind() == SequenceListKind::Send && index.column() == SequenceListRows::kButtonColumn &&
        !buttonsEnabled_) {
        flags &= ~Qt::ItemIsEnabled;
    }
    return flags;
}

} // namespace corvane
