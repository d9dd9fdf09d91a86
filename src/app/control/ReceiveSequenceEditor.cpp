#include "app/control/ReceiveSequenceEditor.h"

#include "app/control/ProgramContext.h"
#include "communication/CommunicationSettings.h"

namespace corvane {

ReceiveSequenceEditor::ReceiveSequenceEditor(ProgramContext& context, SequenceEditorView& view,
                                             ReceiveSequenceFieldsView& fields, SequenceEditorHooks hooks)
    : SequenceEditor(context, view, std::move(hooks), SequenceListKind::Receive), receiveView_(fields) {}

std::vector<AnswerChoice> ReceiveSequenceEditor::answerChoicesOf(const SendSequenceList& sendList) {
    std::vector<AnswerChoice> choices{{kNoAnswer, kNoAnswerText}};
    for (int k = 0; k < sendList.sequenceCount(); ++k) {
        if (!sendList[k].sequence.containsWildcards()) {
            choices.push_back({k, std::to_string(k) + ":  " + sendList[k].name});
        }
    }
    return choices;
}

void ReceiveSequenceEditor::beforeOpen() {
    receiveView_.showAnswerPossible(context_.communicationSettings.communicationMode !=
                                    CommunicationMode::MonitorReceiveOnly);
    choices_ = answerChoicesOf(context_.lists.sendList());
    receiveView_.showAnswerChoices(choices_);
    receiveView_.showFirstActionPage();
}

void ReceiveSequenceEditor::showFields(int index) {
    const ReceiveSequenceRecord& record = context_.lists.receiveList()[index];
    view_.showName(record.name);
    view_.showSequence(record.sequence);
    ReceiveActionFields actions;
    // An answer that isn't among the choices (a send sequence with wildcards, or an index a file
    // brought along) is shown as "No Answer", which is what applying then stores.
    actions.answerChoice = 0;
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (choices_[i].value == record.answerIndex) {
            actions.answerChoice = static_cast<int>(i);
        }
    }
    actions.comment = record.comment;
    actions.lineBreakAfterComment = record.lineBreakAfterComment > 0;
    actions.timeStampAfterComment = record.timeStampAfterComment > 0;
    actions.snapshotTrigger = record.snapshotTrigger > 0;
    actions.stopCommunication = record.stopCommunication > 0;
    receiveView_.showActions(actions);
}

void ReceiveSequenceEditor::storeActions(ReceiveSequenceRecord& record) {
    const ReceiveActionFields actions = receiveView_.actions();
    const bool known = actions.answerChoice >= 0 && actions.answerChoice < static_cast<int>(choices_.size());
    const int answer = known ? choices_[static_cast<std::size_t>(actions.answerChoice)].value : kNoAnswer;
    const auto& sendList = context_.lists.sendList();
    record.answerIndex = static_cast<std::int16_t>(answer);
    record.answerName =
        answer >= 0 && answer < sendList.sequenceCount() ? sendList[answer].name : std::string();
    record.comment = actions.comment;
    record.lineBreakAfterComment = actions.lineBreakAfterComment ? 1 : 0;
    record.timeStampAfterComment = actions.timeStampAfterComment ? 1 : 0;
    record.snapshotTrigger = actions.snapshotTrigger ? 1 : 0;
    record.stopCommunication = actions.stopCommunication ? 1 : 0;
}

bool ReceiveSequenceEditor::applyEntry(int index) {
    const ClSequence pattern = view_.sequence();
    const std::string name = view_.name();
    const int upper = upperIndex();
    if (name.empty() && pattern.size() == 0) {
        if (index < upper) {
            deleteEntry(index);
            showEntry(index);
            markModified();
        }
        return true;
    }
    // A full list keeps its blank slot blank, and the dialog keeps what the user typed.
    if (index == upper && !context_.lists.roomForReceiveSequence()) {
        return false;
    }
    ReceiveSequenceRecord& record = context_.lists.receiveList()[index];
    record.sequence.copyFrom(pattern);
    record.name = name;
    storeActions(record);
    if (index == upper) {
        context_.lists.receiveSeq_addNewElement();
    }
    if (hooks_.refreshList) {
        hooks_.refreshList(SequenceListKind::Receive);
    }
    markModified();
    return true;
}

} // namespace corvane
