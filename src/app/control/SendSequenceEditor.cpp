#include "app/control/SendSequenceEditor.h"

#include "app/control/IntervalText.h"
#include "app/control/ProgramContext.h"
#include "platform/MessageService.h"

namespace corvane {

SendSequenceEditor::SendSequenceEditor(ProgramContext& context, SequenceEditorView& view,
                                       SendSequenceFieldsView& fields, SequenceEditorHooks hooks,
                                       std::string decimalSeparator)
    : SequenceEditor(context, view, std::move(hooks), SequenceListKind::Send), sendView_(fields),
      decimalSeparator_(std::move(decimalSeparator)) {}

std::string SendSequenceEditor::wildcardQuestion() {
    return std::string("This sequence contains wildcards now. ") +
           "You cannot use a sequence with wildcards as an automatic answer for a receive sequence (see "
           "'Actions'). " +
           "Press OK to use wildcards and remove this sequence from the receive sequence answers.";
}

void SendSequenceEditor::showFields(int index) {
    const SendSequenceRecord& record = context_.lists.sendList()[index];
    view_.showName(record.name);
    view_.showSequence(record.sequence);
    sendView_.showRepeat(record.repeat > 0);
    sendView_.showInterval(intervalTextOf(record.repeatInterval, decimalSeparator_));
    sendView_.setIntervalEnabled(record.repeat > 0);
}

void SendSequenceEditor::repeatChanged() {
    sendView_.setIntervalEnabled(sendView_.repeat());
    contentChanged();
}

bool SendSequenceEditor::checkInterval(double& seconds) {
    const IntervalCheck check = checkIntervalText(sendView_.intervalText(), decimalSeparator_);
    seconds = check.seconds;
    if (check.text != sendView_.intervalText()) {
        sendView_.showInterval(check.text);
    }
    if (!check.valid) {
        MessageRequest request;
        request.text = kIllegalValue;
        request.title = view_.caption();
        request.icon = MessageIcon::Warning;
        context_.messages.show(request);
    }
    return check.valid;
}

bool SendSequenceEditor::intervalLeft() {
    double seconds = 0;
    return checkInterval(seconds);
}

bool SendSequenceEditor::applyEntry(int index) {
    const ClSequence sequence = view_.sequence();
    double seconds = 0;
    if (!checkInterval(seconds)) {
        return false;
    }
    const std::string name = view_.name();
    const int upper = upperIndex();
    if (name.empty() && sequence.size() == 0) {
        if (index < upper) {
            deleteEntry(index);
            showEntry(index);
            markModified();
        }
        return true;
    }
    if (!storeEntry(index, sequence, seconds)) {
        return false;
    }
    markModified();
    return true;
}

bool SendSequenceEditor::storeEntry(int index, const ClSequence& sequence, double seconds) {
    const bool hasWildcards = sequence.containsWildcards();
    const bool usedAsAnswer = context_.lists.answerInUse(index);
    if (hasWildcards && usedAsAnswer) {
        MessageRequest request;
        request.text = wildcardQuestion();
        request.title = view_.caption();
        request.icon = MessageIcon::Warning;
        request.buttons = MessageButtons::OKCancel;
        request.defaultButton = 1;
        request.helpTopic = kWildcardHelpTopic;
        if (context_.messages.show(request) != MessageResult::OK) {
            return false;
        }
    }
    const int upper = upperIndex();
    // A full list keeps its blank slot blank, and the dialog keeps what the user typed.
    if (index == upper && !context_.lists.roomForSendSequence()) {
        return false;
    }
    if (hasWildcards) {
        // "No Answer" shows no answer name.
        auto& receive = context_.lists.receiveList();
        for (int i = 0; i < receive.sequenceCount(); ++i) {
            if (receive[i].answerIndex == index) {
                receive[i].answerName.clear();
            }
        }
        context_.lists.replaceAnswerIndex(index, kNoAnswer, true);
    }
    SendSequenceRecord& record = context_.lists.sendList()[index];
    record.sequence.copyFrom(sequence);
    record.name = view_.name();
    record.repeat = sendView_.repeat() ? 1 : 0;
    record.repeatInterval = intervalMillisecondsOf(seconds);
    // Every receive sequence answering with this one shows its new name.
    if (usedAsAnswer) {
        auto& receive = context_.lists.receiveList();
        for (int i = 0; i < receive.sequenceCount(); ++i) {
            if (receive[i].answerIndex == index) {
                receive[i].answerName = record.name;
            }
        }
    }
    if (index < upper) {
        if (hooks_.refreshRow) {
            hooks_.refreshRow(SequenceListKind::Send, index);
        }
        if (usedAsAnswer && hooks_.refreshList) {
            hooks_.refreshList(SequenceListKind::Receive);
        }
    } else {
        context_.lists.sendSeq_addNewElement();
        if (hooks_.refreshList) {
            hooks_.refreshList(SequenceListKind::Send);
        }
    }
    return true;
}

std::string SendSequenceEditor::deleteQuestion(int index) {
    if (context_.lists.answerInUse(index)) {
        return "Deleting a sequence cannot be undone. Additionally, one or several Receive Sequences use "
               "this Send Sequence as an automatic answer. Are you sure to delete this sequence?";
    }
    return kDeleteQuestion;
}

} // namespace corvane
