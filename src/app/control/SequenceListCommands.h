#pragma once

#include "communication/CommunicationCodes.h"
#include "sequences/modSequenceManagement.h"

#include <functional>

namespace corvane {

class CommunicationControl;
class DeferredCommands;
class MainWindowView;
struct ProgramContext;

// What the two sequence lists report, with the sequence index: send, edit, copy, cut, paste,
// delete with its question, move, and the active flag of a receive sequence. Whatever changes a
// list stops communication first and marks the project modified.
class SequenceListCommands {
public:
    // enableSave marks the project modified.
    SequenceListCommands(ProgramContext& context, CommunicationControl& communication,
                         DeferredCommands& commands, MainWindowView& view, std::function<void()> enableSave);

    // Sends a send sequence, starting communication first when it is stopped.
    void sendSequence(int index, SendKind kind);
    // The send button of a row: sends once, or starts or stops the periodic sending of a
    // sequence that has a repeat interval.
    void sendButtonClicked(int index);
    // Double click, Enter or the blank slot (index U): stops communication and opens the editor on
    // that entry at the next pass.
    void editSequence(SequenceListKind list, int index);
    void copySequence(SequenceListKind list, int index);
    void cutSequence(SequenceListKind list, int index);
    // Asks first; OK deletes and selects the same row again.
    void deleteSequence(SequenceListKind list, int index);
    // The clipboard text read in the list representation becomes a new sequence at index, whose
    // editor opens at the next pass; text that reads as nothing is refused with a message.
    void pasteSequence(SequenceListKind list, int index);
    void moveSequence(SequenceListKind list, int from, int to);
    void setReceiveActive(int index, bool active);

    // The sequence the next editor command opens.
    int editIndex() const { return editIndex_; }
    // Periodic sending ended (communication stopped): every send row shows its send button again.
    void resetRepeatSend();

private:
    ProgramContext& context_;
    CommunicationControl& communication_;
    DeferredCommands& commands_;
    MainWindowView& view_;
    std::function<void()> enableSave_;
    int editIndex_ = -1;
};

} // namespace corvane
