#pragma once

#include "app/control/SequenceListRows.h"

#include <QAbstractTableModel>

#include <functional>

namespace corvane {

// A sequence list for the list view, over the rows the application layer describes. A change of
// one row updates that row; a change of the entries resets the model.
class SequenceListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SequenceListModel(const SequenceListRows& rows, QObject* parent = nullptr);

    // The send buttons are disabled while the keyboard console is on.
    void setButtonsEnabled(bool enabled);
    // Receives the active flag the user set on a receive sequence.
    void setActiveChanged(std::function<void(int row, bool active)> changed) {
        activeChanged_ = std::move(changed);
    }

    // The entries changed: every row is read again.
    void refresh();
    void refreshRow(int row);

    SequenceListKind kind() const { return rows_.kind(); }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Rows are dragged onto other rows of the same list to move them.
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }

private:
    const SequenceListRows& rows_;
    std::function<void(int, bool)> activeChanged_;
    bool buttonsEnabled_ = true;
};

} // namespace corvane
