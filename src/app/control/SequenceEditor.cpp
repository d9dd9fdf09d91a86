#include "app/control/SequenceEditor.h"

#include "app/control/ProgramContext.h"
#include "persistence/ProgramSettingsData.h"
#include "platform/MessageService.h"

#include <algorithm>

namespace corvane {

SequenceEditor::SequenceEditor(ProgramContext& context, SequenceEditorView& view, SequenceEditorHooks hooks,
                               SequenceListKind kind)
    : context_(context), view_(view), hooks_(std::move(hooks)), kind_(kind) {}

int SequenceEditor::upperIndex() const {
    return kind_ == SequenceListKind::Send ? context_.lists.sendList().upperIndex()
                                           : context_.lists.receiveList().upperIndex();
}

std::string SequenceEditor::cursorPositionText(int caret, int length) {
    return "Pos. " + std::to_string(caret + 1) + " / " + std::to_string(length);
}

void SequenceEditor::open() {
    loading_ = true;
    beforeOpen();
    view_.showEditMode(
        static_cast<Representation>(std::clamp(context_.settings.dispSequListRepresentation, 0, 3)));
    loading_ = false;
    const int current = kind_ == SequenceListKind::Send ? context_.lists.sendList().currentIndex()
                                                        : context_.lists.receiveList().currentIndex();
    showEntry(current);
}

void SequenceEditor::activated() {
    if (view_.name().empty()) {
        view_.focusName();
    } else {
        view_.focusSequence();
    }
}

void SequenceEditor::closing(const ClSequence& controlClipboard) {
    context_.lists.takeClipboardFromEditControl(
        controlClipboard,
        static_cast<Representation>(std::clamp(context_.settings.dispSequListRepresentation, 0, 3)));
}

void SequenceEditor::showEntry(int index) {
    index_ = std::clamp(index, 0, upperIndex());
    if (kind_ == SequenceListKind::Send) {
        context_.lists.sendList().setCurrentIndex(index_);
    } else {
        context_.lists.receiveList().setCurrentIndex(index_);
    }
    loading_ = true;
    view_.showIndex(index_);
    showFields(index_);
    loading_ = false;
    applyEnabled_ = false;
    updateButtons();
}

void SequenceEditor::updateButtons() {
    const int upper = upperIndex();
    SequenceEditorButtons buttons;
    buttons.apply = applyEnabled_;
    buttons.deleteSequence = index_ < upper;
    buttons.okDefault = index_ < upper;
    buttons.back = index_ > 0;
    buttons.forward = index_ < upper;
    view_.showButtons(buttons);
}

void SequenceEditor::markModified() {
    if (hooks_.projectModified) {
        hooks_.projectModified();
    }
}

void SequenceEditor::contentChanged() {
    if (loading_ || applyEnabled_) {
        return;
    }
    applyEnabled_ = true;
    updateButtons();
}

void SequenceEditor::editModeChanged(Representation representation) {
    // The main window's lists follow, unless the editor is still setting itself up.
    if (!loading_ && hooks_.displayModeChanged) {
        hooks_.displayModeChanged(representation);
    }
    context_.settings.dispSequListRepresentation = static_cast<int>(representation);
}

bool SequenceEditor::apply() {
    if (!applyEntry(index_)) {
        return false;
    }
    applyEnabled_ = false;
    updateButtons();
    return true;
}

bool SequenceEditor::mayLeaveEntry() {
    if (!applyEnabled_) {
        return true;
    }
    MessageRequest request;
    request.text = kModifiedQuestion;
    request.title = view_.caption();
    request.icon = MessageIcon::Warning;
    request.buttons = MessageButtons::YesNo;
    if (context_.messages.show(request) == MessageResult::Yes) {
        return apply();
    }
    return true;
}

void SequenceEditor::back() {
    if (index_ <= 0 || !mayLeaveEntry()) {
        return;
    }
    // An apply that deleted the entry shows the next one at the same index already.
    showEntry(std::max(index_ - 1, 0));
}

void SequenceEditor::forward() {
    if (index_ >= upperIndex()) {
        return;
    }
    const int before = upperIndex();
    if (!mayLeaveEntry()) {
        return;
    }
    // When the apply deleted the entry, the next entry already stands at this index.
    showEntry(upperIndex() < before ? index_ : index_ + 1);
}

void SequenceEditor::ok() {
    if (applyEnabled_ && !apply()) {
        return;
    }
    view_.closeDialog();
}

void SequenceEditor::cancel() {
    view_.closeDialog();
}

bool SequenceEditor::enterPressed() {
    if (index_ != upperIndex() || view_.name().empty()) {
        return false;
    }
    if (view_.sequence().size() == 0) {
        view_.focusSequence();
        return true;
    }
    if (apply()) {
        showEntry(upperIndex());
        view_.focusName();
    }
    return true;
}

void SequenceEditor::deleteSequence() {
    if (index_ >= upperIndex()) {
        return;
    }
    MessageRequest request;
    request.text = deleteQuestion(index_);
    request.title = view_.caption();
    request.icon = MessageIcon::Warning;
    request.buttons = MessageButtons::OKCancel;
    if (context_.messages.show(request) != MessageResult::OK) {
        return;
    }
    deleteEntry(index_);
    showEntry(index_);
    markModified();
}

void SequenceEditor::deleteEntry(int index) {
    if (kind_ == SequenceListKind::Send) {
        context_.lists.deleteSendSequence(index, true);
    } else {
        context_.lists.deleteReceiveSequence(index, true);
    }
}

} // namespace corvane
