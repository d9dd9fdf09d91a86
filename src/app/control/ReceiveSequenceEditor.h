#pragma once

#include "app/control/SequenceEditor.h"

#include <vector>

namespace corvane {

// The logic of "Edit Receive Sequence" (frmEditEvent): one entry of the receive list at a time with
// its name, pattern and actions (answer, comment, snapshot trigger, stop). It works like the send
// sequence editor; its answer choices are "No Answer" and the send sequences without wildcards,
// built once when it opens.
class ReceiveSequenceEditor : public SequenceEditor {
public:
    static constexpr const char* kNoAnswerText = "No Answer";

    ReceiveSequenceEditor(ProgramContext& context, SequenceEditorView& view,
                          ReceiveSequenceFieldsView& fields, SequenceEditorHooks hooks);

    // "No Answer" (-1), then every send sequence k without wildcards as "k:  name".
    static std::vector<AnswerChoice> answerChoicesOf(const SendSequenceList& sendList);
    const std::vector<AnswerChoice>& answerChoices() const { return choices_; }

protected:
    void beforeOpen() override;
    bool applyEntry(int index) override;
    void showFields(int index) override;
    std::string deleteQuestion(int) override { return kDeleteQuestion; }

private:
    void storeActions(ReceiveSequenceRecord& record);

    ReceiveSequenceFieldsView& receiveView_;
    std::vector<AnswerChoice> choices_;
};

} // namespace corvane
