#include "sequences/modSequenceManagement.h"

#include "platform/InternalError.h"
#include "platform/MessageService.h"
#include "platform/SequenceListListener.h"

#include <algorithm>
#include <vector>

namespace corvane {

namespace {

[[noreturn]] void fail(const std::string& description) {
    reportInternalError(kErrorOutOfRange, description, modSequenceManagement::kModule);
}

bool showLimitMessage(MessageService& messages, const char* text, const char* title) {
    MessageRequest request;
    request.text = text;
    request.title = title;
    request.icon = MessageIcon::Error;
    request.buttons = MessageButtons::OK;
    messages.show(request);
    return false;
}

template <class List> void checkDeleteIndex(const List& list, int index) {
    if (index < 0 || index > list.upperIndex() - 1) {
        fail("illegal delete index");
    }
}

} // namespace

modSequenceManagement::modSequenceManagement(MessageService& messages, Clipboard& clipboard,
                                             SequenceListListener& listener)
    : messages_(messages), clipboard_(clipboard), listener_(listener) {}

void modSequenceManagement::refreshBoth(bool refresh) {
    if (refresh) {
        listener_.refreshSequenceLists(true, true);
    }
}

void modSequenceManagement::resetSendList() {
    send_.clearToBlank();
}

void modSequenceManagement::resetReceiveList() {
    receive_.clearToBlank();
}

void modSequenceManagement::sendSeq_addNewElement() {
    if (send_.upperIndex() > kMaxSequences - 1) {
        fail("sendSeq_addNewElement: Maximum sequence size exceeded");
    }
    send_.appendBlank();
}

void modSequenceManagement::receiveSeq_addNewElement() {
    if (receive_.upperIndex() > kMaxSequences - 1) {
        fail("receiveSeq_addNewElement: Maximum sequence size exceeded");
    }
    receive_.appendBlank();
}

bool modSequenceManagement::sendSeq_removeLastElement() {
    if (send_.upperIndex() < 1) {
        return false;
    }
    send_.removeLastKeepingBlank();
    return true;
}

bool modSequenceManagement::receiveSeq_removeLastElement() {
    if (receive_.upperIndex() < 1) {
        return false;
    }
    receive_.removeLastKeepingBlank();
    return true;
}

void modSequenceManagement::ensureSendIndex(int index) {
    if (index > kMaxSequences - 1) {
        fail("illegal send sequence index");
    }
    while (send_.upperIndex() <= index) {
        sendSeq_addNewElement();
    }
}

void modSequenceManagement::ensureReceiveIndex(int index) {
    if (index > kMaxSequences - 1) {
        fail("illegal receive sequence index");
    }
    while (receive_.upperIndex() <= index) {
        receiveSeq_addNewElement();
    }
}

bool modSequenceManagement::roomForSendSequence() {
    if (send_.upperIndex() < kMaxSequences) {
        return true;
    }
    return showLimitMessage(messages_, "Maximum number of Send Sequences reached", "Send Sequence List");
}

bool modSequenceManagement::roomForReceiveSequence() {
    if (receive_.upperIndex() < kMaxSequences) {
        return true;
    }
    return showLimitMessage(messages_, "Maximum number of Receive Sequences reached",
                            "Receive Sequence List");
}

void modSequenceManagement::InsertAction(const SendSequenceRecord& record, int position, bool refresh) {
    if (send_.upperIndex() > kMaxSequences - 1) {
        fail("InsertAction: Maximum sequence size reached");
    }
    const int p = std::clamp(position, 0, send_.upperIndex());
    SendSequenceRecord copy;
    copySendRecord(copy, record);
    send_.insertAt(p, std::move(copy));
    for (int i = 0; i <= receive_.upperIndex(); ++i) {
        auto& answer = receive_[i].answerIndex;
        if (answer >= p) {
            ++answer;
        }
    }
    refreshBoth(refresh);
}

void modSequenceManagement::InsertEvent(const ReceiveSequenceRecord& record, int position, bool refresh) {
    if (receive_.upperIndex() > kMaxSequences - 1) {
        fail("InsertEvent: Maximum sequence size reached");
    }
    const int p = std::clamp(position, 0, receive_.upperIndex());
    ReceiveSequenceRecord copy;
    copyReceiveRecord(copy, record);
    receive_.insertAt(p, std::move(copy));
    refreshBoth(refresh);
}

void modSequenceManagement::deleteSendSequence(int index, bool refresh) {
    checkDeleteIndex(send_, index);
    send_.eraseAt(index);
    for (int i = 0; i <= receive_.upperIndex(); ++i) {
        auto& receive = receive_[i];
        if (receive.answerIndex == index) {
            receive.answerName.clear();
            receive.answerIndex = kNoAnswer;
        } else if (receive.answerIndex > index) {
            --receive.answerIndex;
        }
    }
    refreshBoth(refresh);
}

void modSequenceManagement::deleteReceiveSequence(int index, bool refresh) {
    checkDeleteIndex(receive_, index);
    receive_.eraseAt(index);
    if (refresh) {
        listener_.refreshSequenceLists(false, true);
    }
}

void modSequenceManagement::moveSendSequence(int from, int to) {
    // Checked before the answers are marked, so a refused move leaves no marker behind.
    checkDeleteIndex(send_, from);
    SendSequenceRecord moved;
    copySendRecord(moved, send_[from]);
    replaceAnswerIndex(from, kMoveMarker, false);
    deleteSendSequence(from, false);
    // The record lands at the clamped position; the answers must name that one.
    const int target = std::clamp(to, 0, send_.upperIndex());
    InsertAction(moved, target, false);
    replaceAnswerIndex(kMoveMarker, target, false);
    listener_.refreshSequenceLists(true, true);
}

void modSequenceManagement::moveReceiveSequence(int from, int to) {
    checkDeleteIndex(receive_, from);
    ReceiveSequenceRecord moved;
    copyReceiveRecord(moved, receive_[from]);
    deleteReceiveSequence(from, false);
    InsertEvent(moved, to, false);
    listener_.refreshSequenceLists(false, true);
}

void modSequenceManagement::replaceAnswerIndex(int oldIndex, int newIndex, bool refresh) {
    bool changed = false;
    for (int i = 0; i < receive_.upperIndex(); ++i) {
        auto& answer = receive_[i].answerIndex;
        if (answer == oldIndex) {
            answer = static_cast<std::int16_t>(newIndex);
            changed = true;
        }
    }
    if (changed && refresh) {
        listener_.refreshSequenceLists(false, true);
    }
}

bool modSequenceManagement::answerInUse(int sendIndex) {
    for (int i = 0; i < receive_.upperIndex(); ++i) {
        auto& receive = receive_[i];
        if (receive.answerIndex == sendIndex) {
            // An index that names no send sequence (a stale or "No Answer" value) has no name
            // to take.
            if (sendIndex >= 0 && sendIndex < send_.upperIndex()) {
                receive.answerName = send_[sendIndex].name;
            }
            return true;
        }
    }
    return false;
}

void modSequenceManagement::swapLists() {
    std::vector<SendSequenceRecord> keptSend(static_cast<std::size_t>(send_.upperIndex()));
    for (int i = 0; i < send_.upperIndex(); ++i) {
        copySendRecord(keptSend[static_cast<std::size_t>(i)], send_[i]);
    }

    const int receiveCount = receive_.upperIndex();
    const int sendCurrent = send_.currentIndex();
    const int receiveCurrent = receive_.currentIndex();
    send_.clearToBlank();
    for (int i = 0; i < receiveCount; ++i) {
        send_.appendBlank();
        auto& entry = send_[i];
        const auto& source = receive_[i];
        entry.name = source.name;
        entry.sequence.copyFrom(source.sequence);
        entry.sequence.checkSpecialCharacters(kAllowedListSymbols);
    }

    receive_.clearToBlank();
    for (int i = 0; i < static_cast<int>(keptSend.size()); ++i) {
        receive_.appendBlank();
        auto& entry = receive_[i];
        const auto& source = keptSend[static_cast<std::size_t>(i)];
        entry.name = source.name;
        entry.sequence.copyFrom(source.sequence);
        entry.sequence.checkSpecialCharacters(kAllowedListSymbols);
    }
    send_.setCurrentIndex(sendCurrent);
    receive_.setCurrentIndex(receiveCurrent);
    listener_.refreshSequenceLists(true, true);
}

} // namespace corvane
