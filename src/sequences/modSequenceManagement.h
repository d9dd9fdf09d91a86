#pragma once

#include "sequences/CharacterCode.h"
#include "sequences/ClSequence.h"
#include "sequences/SequenceList.h"
#include "sequences/SequenceRecords.h"

#include <cstdint>
#include <string>

namespace corvane {

class Clipboard;
class MessageService;
class SequenceListListener;

using SendSequenceList = SequenceList<SendSequenceRecord>;
using ReceiveSequenceList = SequenceList<ReceiveSequenceRecord>;

enum class SequenceListKind { Send, Receive };

// The send and receive sequence lists of the project and the operations that keep them
// consistent: limits, inserting, deleting and moving entries while the receive sequences'
// answers keep pointing at the same send sequences, swapping the two lists, and the sequence
// clipboard that carries whole records between the lists and plain text to other programs.
//
// Contract violations (indexes out of range, adding past the limit) are internal errors of the
// module "modSequenceManagement" with code 1003. The limit reached through the user interface is
// answered with a message box by the room checks instead.
class modSequenceManagement {
public:
    static constexpr const char* kModule = "modSequenceManagement";
    static constexpr int kMaxSequences = 1023;
    // Answer index that marks the answers of a send sequence being moved.
    static constexpr std::int16_t kMoveMarker = -999;
    // The maximum sequence length when the program settings say nothing else.
    static constexpr std::int32_t kDefaultMaximumSequenceLength = 1024;

    modSequenceManagement(MessageService& messages, Clipboard& clipboard, SequenceListListener& listener);

    SendSequenceList& sendList() { return send_; }
    const SendSequenceList& sendList() const { return send_; }
    ReceiveSequenceList& receiveList() { return receive_; }
    const ReceiveSequenceList& receiveList() const { return receive_; }

    // U = 0 (one blank entry), current index 0.
    void resetSendList();
    void resetReceiveList();

    // Adds a blank entry after the current blank slot (U + 1). Past 1023 entries: internal error.
    void sendSeq_addNewElement();
    void receiveSeq_addNewElement();

    // Drops the last user sequence (its slot becomes the blank one); false if the list is empty.
    bool sendSeq_removeLastElement();
    bool receiveSeq_removeLastElement();

    // Adds blank entries until the index exists (U > index); used by the project loader. An
    // index above 1022 is an internal error.
    void ensureSendIndex(int index);
    void ensureReceiveIndex(int index);

    // True while one more sequence fits; otherwise shows "Maximum number of ... reached".
    bool roomForSendSequence();
    bool roomForReceiveSequence();

    // Inserts a copy of record at position (clamped to 0 to U). Answers at or after the position
    // move up with their send sequences.
    void InsertAction(const SendSequenceRecord& record, int position, bool refresh);
    void InsertEvent(const ReceiveSequenceRecord& record, int position, bool refresh);

    // Deletes entry index (0 to U - 1). Answers to a deleted send sequence become "No Answer";
    // answers to later ones move down with them.
    void deleteSendSequence(int index, bool refresh);
    void deleteReceiveSequence(int index, bool refresh);

    // Moves entry from to position to; answers follow the moved send sequence. Always refreshes.
    void moveSendSequence(int from, int to);
    void moveReceiveSequence(int from, int to);

    // Every receive sequence (0 to U - 1) answering with oldIndex gets newIndex.
    void replaceAnswerIndex(int oldIndex, int newIndex, bool refresh);

    // True if some receive sequence answers with sendIndex; the first such one gets its answer
    // name refreshed from the send sequence's current name.
    bool answerInUse(int sendIndex);

    // The lists exchange their names and sequences; everything else becomes default.
    void swapLists();

    // Sequence clipboard.

    // Copies entry index (0 to U) of a list into both record buffers and the clipboard sequence
    // and puts its text in the representation on the system clipboard.
    void copyToClipboard(SequenceListKind list, int index, Representation representation);

    // A record for insertion built from the system clipboard: the full record copied before when
    // the clipboard still holds the text this module put there, otherwise a default record with
    // the text parsed in the representation. An empty sequence means nothing usable was found.
    SendSequenceRecord
    pasteSendFromClipboard(Representation representation,
                           std::int32_t maximumSequenceLength = kDefaultMaximumSequenceLength);
    ReceiveSequenceRecord
    pasteReceiveFromClipboard(Representation representation,
                              std::int32_t maximumSequenceLength = kDefaultMaximumSequenceLength);

    // Handed to a sequence edit control when an editor opens.
    const ClSequence& clipboardSequence() const { return clipboardSequence_; }
    const std::string& clipboardText() const { return clipboardText_; }
    // Takes back the edit control's clipboard sequence when an editor closes: if it differs from
    // the clipboard sequence it replaces it, both record buffers become default records holding
    // it, and the remembered clipboard text becomes its text in the representation.
    void takeClipboardFromEditControl(const ClSequence& controlSequence, Representation representation);

    const SendSequenceRecord& sendRecordBuffer() const { return sendBuffer_; }
    const ReceiveSequenceRecord& receiveRecordBuffer() const { return receiveBuffer_; }

private:
    void refreshBoth(bool refresh);

    MessageService& messages_;
    Clipboard& clipboard_;
    SequenceListListener& listener_;

    SendSequenceList send_;
    ReceiveSequenceList receive_;

    SendSequenceRecord sendBuffer_;
    ReceiveSequenceRecord receiveBuffer_;
    ClSequence clipboardSequence_;
    std::string clipboardText_;
};

} // namespace corvane
