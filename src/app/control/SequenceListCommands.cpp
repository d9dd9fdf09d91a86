#include "app/control/SequenceListCommands.h"

#include "app/control/CommunicationControl.h"
#include "app/control/DeferredCommands.h"
#include "app/control/MainWindowView.h"
#include "app/control/ProgramContext.h"
#include "persistence/ProgramSettingsData.h"
#include "platform/MessageService.h"
#include "sequences/CharacterRepresentation.h"

namespace corvane {

namespace {

int countOf(const modSequenceManagement& lists, SequenceListKind list) {
    return list == SequenceListKind::Send ? lists.sendList().sequenceCount()
                                          : lists.receiveList().sequenceCount();
}

const char* editorKey(SequenceListKind list) {
    return list == SequenceListKind::Send ? "EditSendSeq" : "EditReceiveSeq";
}

} // namespace

SequenceListCommands::SequenceListCommands(ProgramContext& context, CommunicationControl& communication,
                                           DeferredCommands& commands, MainWindowView& view,
                                           std::function<void()> enableSave)
    : context_(context), communication_(communication), commands_(commands), view_(view),
      enableSave_(std::move(enableSave)) {}

void SequenceListCommands::sendSequence(int index, SendKind kind) {
    if (!communication_.communicationRuns()) {
        communication_.execUserStart();
        if (!communication_.communicationRuns()) {
            return;
        }
    }
    communication_.pass().sendSequence(index, kind);
    view_.refreshSendRow(index);
}

void SequenceListCommands::sendButtonClicked(int index) {
    const auto& entries = context_.lists.sendList();
    if (index < 0 || index >= entries.sequenceCount()) {
        return;
    }
    const auto& record = entries[index];
    SendKind kind = SendKind::Once;
    if (record.repeat > 0) {
        kind = record.repeatRunning > 0 ? SendKind::StopPeriodic : SendKind::StartPeriodic;
    }
    sendSequence(index, kind);
}

void SequenceListCommands::editSequence(SequenceListKind list, int index) {
    const std::string key = editorKey(list);
    // Nothing to stop communication for while the editor isn't there.
    if (!commands_.available(key)) {
        return;
    }
    communication_.execUserStop();
    editIndex_ = index;
    // The editor opens on the list's current index; the blank slot after the last sequence
    // creates a new one.
    if (list == SequenceListKind::Send) {
        context_.lists.sendList().setCurrentIndex(index);
    } else {
        context_.lists.receiveList().setCurrentIndex(index);
    }
    commands_.setPendingCommand(key);
}

void SequenceListCommands::copySequence(SequenceListKind list, int index) {
    context_.lists.copyToClipboard(list, index,
                                   static_cast<Representation>(context_.settings.dispSequListRepresentation));
}

void SequenceListCommands::cutSequence(SequenceListKind list, int index) {
    communication_.execUserStop();
    copySequence(list, index);
    if (list == SequenceListKind::Send) {
        context_.lists.deleteSendSequence(index, true);
    } else {
        context_.lists.deleteReceiveSequence(index, true);
    }
    enableSave_();
}

void SequenceListCommands::deleteSequence(SequenceListKind list, int index) {
    communication_.execUserStop();
    MessageRequest request;
    request.icon = MessageIcon::Warning;
    request.buttons = MessageButtons::OKCancel;
    request.title = view_.caption();
    if (list == SequenceListKind::Send) {
        request.text =
            context_.lists.answerInUse(index)
                ? "Deleting a sequence cannot be undone. Additionally, one or several Receive Sequences use "
                  "this Send Sequence as an automatic answer. Are you sure to delete this sequence?"
                : "Deleting a Send Sequence cannot be undone. Are you sure to delete this Send Sequence?";
        if (context_.messages.show(request) != MessageResult::OK) {
            return;
        }
        context_.lists.deleteSendSequence(index, true);
    } else {
        request.text =
            "Deleting a Receive Sequence cannot be undone. Are you sure to delete this Receive Sequence?";
        if (context_.messages.show(request) != MessageResult::OK) {
            return;
        }
        context_.lists.deleteReceiveSequence(index, true);
    }
    enableSave_();
    view_.selectSequenceRow(list, index, true);
}

void SequenceListCommands::pasteSequence(SequenceListKind list, int index) {
    communication_.execUserStop();
    const auto representation = static_cast<Representation>(context_.settings.dispSequListRepresentation);
    const std::int32_t maximum = context_.settings.maximumSequenceLen;
    bool empty = false;
    bool inserted = false;
    if (list == SequenceListKind::Send) {
        SendSequenceRecord record = context_.lists.pasteSendFromClipboard(representation, maximum);
        empty = record.sequence.size() == 0;
        if (!empty && context_.lists.roomForSendSequence()) {
            context_.lists.InsertAction(record, index, true);
            context_.lists.sendList().setCurrentIndex(index);
            inserted = true;
        }
    } else {
        ReceiveSequenceRecord record = context_.lists.pasteReceiveFromClipboard(representation, maximum);
        empty = record.sequence.size() == 0;
        if (!empty && context_.lists.roomForReceiveSequence()) {
            context_.lists.InsertEvent(record, index, true);
            context_.lists.receiveList().setCurrentIndex(index);
            inserted = true;
        }
    }
    if (empty) {
        context_.messages.inform("Clipboard text format does not match current edit mode (" +
                                     representationName(representation) +
                                     "). Check data format of clipboard contents and try again.",
                                 MessageIcon::Error);
    }
    if (inserted) {
        commands_.setPendingCommand(editorKey(list));
        enableSave_();
    }
}

void SequenceListCommands::moveSequence(SequenceListKind list, int from, int to) {
    const int count = countOf(context_.lists, list);
    if (from < 0 || from >= count || to < 0 || to >= count || from == to) {
        return;
    }
    communication_.execUserStop();
    if (list == SequenceListKind::Send) {
        context_.lists.moveSendSequence(from, to);
    } else {
        context_.lists.moveReceiveSequence(from, to);
    }
    enableSave_();
    view_.selectSequenceRow(list, to, false);
}

void SequenceListCommands::setReceiveActive(int index, bool active) {
    auto& list = context_.lists.receiveList();
    if (index < 0 || index >= list.sequenceCount()) {
        return;
    }
    const std::int16_t value = active ? 1 : 0;
    if (list[index].active != value) {
        list[index].active = value;
        enableSave_();
    }
}

void SequenceListCommands::resetRepeatSend() {
    // The engine may have cleared the flags already: every row is drawn again.
    auto& list = context_.lists.sendList();
    for (int i = 0; i < list.sequenceCount(); ++i) {
        list[i].repeatRunning = 0;
        view_.refreshSendRow(i);
    }
}

} // namespace corvane
