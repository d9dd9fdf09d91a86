#pragma once

#include "app/control/SequenceListRows.h"

#include <QSplitter>

#include <memory>

class QLabel;

namespace corvane {

class ClickableLabel;
class SequenceListCommands;
class SequenceListTable;
struct ProgramSettingsData;

// The send list above the receive list, divided by the horizontal splitter, with the overlay that
// covers the send list in receive-only monitoring. What the lists report (send button, double
// click, drag, pop-up menu, active flag) goes to the sequence list commands.
class SequenceListsPanel : public QSplitter {
    Q_OBJECT
public:
    SequenceListsPanel(const modSequenceManagement& lists, const ProgramSettingsData& settings,
                       SequenceListCommands& commands, QWidget* parent = nullptr);
    ~SequenceListsPanel() override;

    SequenceListTable* table(SequenceListKind kind) const;
    // "Change Communication Mode" on the overlay.
    ClickableLabel* changeModeLabel() const { return changeModeLabel_; }
    void showReceiveOnlyOverlay(bool shown);

    void refresh(SequenceListKind kind);
    void refreshSendRow(int row);
    void selectRow(SequenceListKind kind, int row, bool focus);
    // The send buttons are disabled while the keyboard console is on.
    void setSendButtonsEnabled(bool enabled);

private:
    void showContextMenu(SequenceListKind kind, const QPoint& position);

    const modSequenceManagement& lists_;
    SequenceListCommands& commands_;
    std::unique_ptr<SequenceListRows> sendRows_;
    std::unique_ptr<SequenceListRows> receiveRows_;
    SequenceListTable* sendTable_ = nullptr;
    SequenceListTable* receiveTable_ = nullptr;
    QLabel* receiveOnlyOverlay_ = nullptr;
    ClickableLabel* changeModeLabel_ = nullptr;
};

} // namespace corvane
