#include "app/gui/SequenceListsPanel.h"

#include "app/control/SequenceListCommands.h"
#include "app/gui/ClickableLabel.h"
#include "app/gui/SequenceListTable.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace corvane {

namespace {

QWidget* listBox(const QString& title, SequenceListTable* table, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel("<b>" + title + "</b>", box));
    layout->addWidget(table);
    return box;
}

} // namespace

SequenceListsPanel::SequenceListsPanel(const modSequenceManagement& lists,
                                       const ProgramSettingsData& settings, SequenceListCommands& commands,
                                       QWidget* parent)
    : QSplitter(Qt::Vertical, parent), lists_(lists), commands_(commands),
      sendRows_(std::make_unique<SequenceListRows>(lists, settings, SequenceListKind::Send)),
      receiveRows_(std::make_unique<SequenceListRows>(lists, settings, SequenceListKind::Receive)) {
    setObjectName("splitHorizontal");
    sendTable_ = new SequenceListTable(new SequenceListModel(*sendRows_));
    sendTable_->setObjectName("SendSeqList1");
    receiveTable_ = new SequenceListTable(new SequenceListModel(*receiveRows_));
    receiveTable_->setObjectName("ReceiveSeqList1");
    QWidget* sendBox = listBox("Send Sequences", sendTable_, this);

    receiveOnlyOverlay_ = new QLabel(sendBox);
    auto* overlayLayout = new QVBoxLayout(receiveOnlyOverlay_);
    auto* overlayText = new QLabel("Sending sequences is not possible with the currently selected "
                                   "communication mode (Receive Only). Click here to ",
                                   receiveOnlyOverlay_);
    overlayText->setWordWrap(true);
    changeModeLabel_ = new ClickableLabel("<u>Change Communication Mode</u>", receiveOnlyOverlay_);
    changeModeLabel_->setObjectName("lblChangeCommunicationMode");
    overlayLayout->addWidget(overlayText);
    overlayLayout->addWidget(changeModeLabel_);
    receiveOnlyOverlay_->setVisible(false);
    sendBox->layout()->addWidget(receiveOnlyOverlay_);
    addWidget(sendBox);
    addWidget(listBox("Receive Sequences", receiveTable_, this));

    for (SequenceListTable* table : {sendTable_, receiveTable_}) {
        const bool send = table == sendTable_;
        const SequenceListKind kind = send ? SequenceListKind::Send : SequenceListKind::Receive;
        QHeaderView* header = table->horizontalHeader();
        header->setSectionResizeMode(QHeaderView::Interactive);
        header->setSectionResizeMode(2, QHeaderView::Stretch);
        header->setStretchLastSection(false);
        table->setColumnWidth(0, 46);
        table->setColumnWidth(1, send ? 110 : 100);
        table->setColumnWidth(3, send ? 22 : 60);
        connect(table, &QTableView::doubleClicked, this,
                [this, kind](const QModelIndex& index) { commands_.editSequence(kind, index.row()); });
        connect(table, &SequenceListTable::editRequested, this, [this, kind](int row) {
            const int upper = kind == SequenceListKind::Send ? lists_.sendList().upperIndex()
                                                             : lists_.receiveList().upperIndex();
            commands_.editSequence(kind, row < 0 ? upper : row);
        });
        connect(table, &SequenceListTable::moveRequested, this,
                [this, kind](int from, int to) { commands_.moveSequence(kind, from, to); });
        connect(table, &QWidget::customContextMenuRequested, this,
                [this, kind](const QPoint& position) { showContextMenu(kind, position); });
    }
    connect(sendTable_, &SequenceListTable::sendClicked, this,
            [this](int row) { commands_.sendButtonClicked(row); });
    receiveTable_->listModel()->setActiveChanged(
        [this](int row, bool active) { commands_.setReceiveActive(row, active); });
}

SequenceListsPanel::~SequenceListsPanel() = default;

SequenceListTable* SequenceListsPanel::table(SequenceListKind kind) const {
    return kind == SequenceListKind::Send ? sendTable_ : receiveTable_;
}

void SequenceListsPanel::showReceiveOnlyOverlay(bool shown) {
    receiveOnlyOverlay_->setVisible(shown);
    sendTable_->setEnabled(!shown);
}

void SequenceListsPanel::refresh(SequenceListKind kind) {
    SequenceListTable* view = table(kind);
    const int selected = view->currentRow();
    view->listModel()->refresh();
    if (selected >= 0 && selected < view->rowCount()) {
        view->selectRow(selected);
    }
}

void SequenceListsPanel::refreshSendRow(int row) {
    sendTable_->listModel()->refreshRow(row);
}

void SequenceListsPanel::selectRow(SequenceListKind kind, int row, bool focus) {
    SequenceListTable* view = table(kind);
    if (focus) {
        view->setFocus();
    }
    if (row >= 0 && row < view->rowCount()) {
        view->selectRow(row);
    }
}

void SequenceListsPanel::setSendButtonsEnabled(bool enabled) {
    sendTable_->listModel()->setButtonsEnabled(enabled);
}

void SequenceListsPanel::showContextMenu(SequenceListKind kind, const QPoint& position) {
    SequenceListTable* view = table(kind);
    const int row = view->rowAt(position.y());
    const int upper =
        kind == SequenceListKind::Send ? lists_.sendList().upperIndex() : lists_.receiveList().upperIndex();
    const bool onSequence = row >= 0 && row < upper;
    QMenu menu(this);
    if (kind == SequenceListKind::Send) {
        menu.addAction("Send", this, [this, row] { commands_.sendSequence(row, SendKind::Once); })
            ->setEnabled(onSequence);
        menu.addAction("Start Periodic Sending", this,
                       [this, row] { commands_.sendSequence(row, SendKind::StartPeriodic); })
            ->setEnabled(onSequence);
        menu.addAction("Stop Periodic Sending", this,
                       [this, row] { commands_.sendSequence(row, SendKind::StopPeriodic); })
            ->setEnabled(onSequence);
        menu.addSeparator();
    }
    menu.addAction("Copy", this, [this, kind, row] { commands_.copySequence(kind, row); })
        ->setEnabled(onSequence);
    menu.addAction("Cut", this, [this, kind, row] { commands_.cutSequence(kind, row); })
        ->setEnabled(onSequence);
    menu.addAction("Paste", this,
                   [this, kind, row, upper] { commands_.pasteSequence(kind, row < 0 ? upper : row); });
    menu.addAction("Delete", this, [this, kind, row] { commands_.deleteSequence(kind, row); })
        ->setEnabled(onSequence);
    menu.addSeparator();
    menu.addAction("Move Up", this, [this, kind, row] { commands_.moveSequence(kind, row, row - 1); })
        ->setEnabled(onSequence && row > 0);
    menu.addAction("Move Down", this, [this, kind, row] { commands_.moveSequence(kind, row, row + 1); })
        ->setEnabled(onSequence && row + 1 < upper);
    menu.exec(view->viewport()->mapToGlobal(position));
}

} // namespace corvane
