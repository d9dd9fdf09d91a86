#pragma once

#include "sequences/modSequenceManagement.h"

#include <string>

namespace corvane {

struct ProgramSettingsData;

// The rows of a sequence list as the main window shows them, for the list model of the window.
// Send list columns: the send button ("Send", or "Stop" while a periodic sequence runs), the name,
// the sequence in the list representation, and "R" for a sequence sent periodically. Receive list
// columns: the active flag, the name, the sequence and the name of its answer.
class SequenceListRows {
public:
    static constexpr int kColumns = 4;
    static constexpr int kButtonColumn = 0;
    static constexpr int kActiveColumn = 0;

    SequenceListRows(const modSequenceManagement& lists, const ProgramSettingsData& settings,
                     SequenceListKind kind)
        : lists_(lists), settings_(settings), kind_(kind) {}

    SequenceListKind kind() const { return kind_; }
    int rowCount() const;
    static const char* header(SequenceListKind kind, int column);
    // The text of a cell; empty outside the list.
    std::string text(int row, int column) const;
    // A receive sequence's active flag.
    bool active(int row) const;

private:
    const modSequenceManagement& lists_;
    const ProgramSettingsData& settings_;
    SequenceListKind kind_;
};

} // namespace corvane
