#pragma once

#include "app/control/SequenceEditorView.h"

#include <string>
#include <vector>

namespace corvane::test {

// The fields of an editor dialog as plain values; the tests type into them and read them back.
template <class Base> class RecordingEditorView : public Base {
public:
    std::string caption() const override { return "Edit Sequence"; }
    void showIndex(int shown) override { index = shown; }
    std::string name() const override { return nameText; }
    void showName(const std::string& shown) override { nameText = shown; }
    ClSequence sequence() const override {
        ClSequence copy;
        copy.copyFrom(characters);
        return copy;
    }
    void showSequence(const ClSequence& shown) override { characters.copyFrom(shown); }
    void showEditMode(Representation shown) override { editMode = shown; }
    void showButtons(const SequenceEditorButtons& shown) override { buttons = shown; }
    void focusName() override { focus = "name"; }
    void focusSequence() override { focus = "sequence"; }
    void closeDialog() override { closed = true; }

    int index = -1;
    std::string nameText;
    ClSequence characters;
    Representation editMode = Representation::ASCII;
    SequenceEditorButtons buttons;
    std::string focus;
    bool closed = false;
};

class RecordingSendEditorView : public RecordingEditorView<SequenceEditorView>,
                                public SendSequenceFieldsView {
public:
    bool repeat() const override { return repeatChecked; }
    void showRepeat(bool shown) override { repeatChecked = shown; }
    std::string intervalText() const override { return interval; }
    void showInterval(const std::string& shown) override { interval = shown; }
    void setIntervalEnabled(bool enabled) override { intervalEnabled = enabled; }

    bool repeatChecked = false;
    std::string interval;
    bool intervalEnabled = false;
};

class RecordingReceiveEditorView : public RecordingEditorView<SequenceEditorView>,
                                   public ReceiveSequenceFieldsView {
public:
    void showAnswerChoices(const std::vector<AnswerChoice>& shown) override { choices = shown; }
    void showAnswerPossible(bool possible) override { answerPossible = possible; }
    void showFirstActionPage() override { page = 0; }
    ReceiveActionFields actions() const override { return fields; }
    void showActions(const ReceiveActionFields& shown) override { fields = shown; }

    std::vector<AnswerChoice> choices;
    bool answerPossible = true;
    int page = -1;
    ReceiveActionFields fields;
};

} // namespace corvane::test
