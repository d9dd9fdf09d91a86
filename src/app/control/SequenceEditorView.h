#pragma once

#include "sequences/CharacterCode.h"
#include "sequences/ClSequence.h"

#include <string>
#include <vector>

namespace corvane {

// The buttons of a sequence editor whose state follows the entry shown and the Apply state.
struct SequenceEditorButtons {
    bool apply = false;
    bool deleteSequence = false;
    // OK is the default button (Enter presses it) on every entry but the blank slot.
    bool okDefault = false;
    bool back = false;
    bool forward = false;
};

// What the send and receive sequence editors ask of their dialog. The dialog builds the controls,
// implements this and forwards what the user does to its editor.
class SequenceEditorView {
public:
    virtual ~SequenceEditorView() = default;

    // The dialog's caption: the title of its message boxes.
    virtual std::string caption() const = 0;
    virtual void showIndex(int index) = 0;
    virtual std::string name() const = 0;
    virtual void showName(const std::string& name) = 0;
    // The sequence edit control's characters.
    virtual ClSequence sequence() const = 0;
    virtual void showSequence(const ClSequence& sequence) = 0;
    // The edit-mode option and the control's representation.
    virtual void showEditMode(Representation representation) = 0;
    virtual void showButtons(const SequenceEditorButtons& buttons) = 0;
    virtual void focusName() = 0;
    // The focus into the sequence edit control, with the caret at the end.
    virtual void focusSequence() = 0;
    virtual void closeDialog() = 0;
};

// The send sequence editor's own fields: the periodic repeat.
class SendSequenceFieldsView {
public:
    virtual ~SendSequenceFieldsView() = default;
    virtual bool repeat() const = 0;
    virtual void showRepeat(bool repeat) = 0;
    virtual std::string intervalText() const = 0;
    virtual void showInterval(const std::string& text) = 0;
    // The interval box and its labels, enabled while the repeat box is checked.
    virtual void setIntervalEnabled(bool enabled) = 0;
};

// One choice of the receive sequence editor's answer box.
struct AnswerChoice {
    // The send sequence index, or -1 for "No Answer".
    int value = -1;
    std::string text;
};

// The receive sequence editor's actions as its four pages show them.
struct ReceiveActionFields {
    // Position of the selected answer choice.
    int answerChoice = 0;
    std::string comment;
    bool lineBreakAfterComment = false;
    bool timeStampAfterComment = false;
    bool snapshotTrigger = false;
    bool stopCommunication = false;
};

// The receive sequence editor's own fields: the four action pages.
class ReceiveSequenceFieldsView {
public:
    virtual ~ReceiveSequenceFieldsView() = default;
    virtual void showAnswerChoices(const std::vector<AnswerChoice>& choices) = 0;
    // In "Monitoring (Receive Only)" no answer can be chosen: the answer label and box are
    // disabled and the note saying so replaces the note about wildcards.
    virtual void showAnswerPossible(bool possible) = 0;
    // The first of the four action pages.
    virtual void showFirstActionPage() = 0;
    virtual ReceiveActionFields actions() const = 0;
    virtual void showActions(const ReceiveActionFields& actions) = 0;
};

} // namespace corvane
