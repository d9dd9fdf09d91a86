#pragma once

#include "app/control/SequenceEditorView.h"
#include "sequences/modSequenceManagement.h"

#include <functional>
#include <string>

namespace corvane {

struct ProgramContext;

// What an editor tells the main window: a list or one of its rows to redraw, the project
// modified, and the sequence display representation the user chose in the editor.
struct SequenceEditorHooks {
    std::function<void()> projectModified;
    std::function<void(SequenceListKind)> refreshList;
    std::function<void(SequenceListKind, int row)> refreshRow;
    std::function<void(Representation)> displayModeChanged;
};

// What the send and receive sequence editors share: walking through a list one entry at a time
// with the question about unapplied changes, Apply, OK, Cancel, Enter on the blank slot for typing
// several sequences in a row, Delete, the edit mode and the clipboard exchange with the edit
// control. The Apply button's state doubles as the "modified" flag.
class SequenceEditor {
public:
    static constexpr const char* kModifiedQuestion =
        "The current sequence has been modified. Do you want to apply the new sequence? (Choose 'No' to "
        "discard the changes.)";
    static constexpr const char* kDeleteQuestion =
        "Deleting a sequence cannot be undone. Are you sure to delete this sequence?";

    SequenceEditor(ProgramContext& context, SequenceEditorView& view, SequenceEditorHooks hooks,
                   SequenceListKind kind);
    virtual ~SequenceEditor() = default;
    SequenceEditor(const SequenceEditor&) = delete;
    SequenceEditor& operator=(const SequenceEditor&) = delete;

    // Opening: the edit mode of the sequence display representation, then the list's current
    // entry (clamped to the list).
    void open();
    // The dialog became active: focus into the sequence, or into the name box while it is empty.
    void activated();
    // The dialog closes: the edit control's clipboard becomes the sequence clipboard.
    void closing(const ClSequence& controlClipboard);

    // The user changed the name, the characters or another field.
    void contentChanged();
    void editModeChanged(Representation representation);
    // The Apply button; true when the entry was applied.
    bool apply();
    void back();
    void forward();
    void ok();
    void cancel();
    // Enter anywhere in the dialog; true when the editor used it (otherwise the default button
    // gets it).
    bool enterPressed();
    void deleteSequence();

    int index() const { return index_; }
    int upperIndex() const;
    bool applyEnabled() const { return applyEnabled_; }
    bool loading() const { return loading_; }
    // "Pos. 3 / 10": the 1-based caret position and the length.
    static std::string cursorPositionText(int caret, int length);

protected:
    // Stores the fields shown into entry index (and adds or deletes entries); false when refused.
    virtual bool applyEntry(int index) = 0;
    // Shows the kind's own fields of entry index.
    virtual void showFields(int index) = 0;
    virtual std::string deleteQuestion(int index) = 0;
    virtual void beforeOpen() {}

    void showEntry(int index);
    void updateButtons();
    void markModified();
    void deleteEntry(int index);

    ProgramContext& context_;
    SequenceEditorView& view_;
    SequenceEditorHooks hooks_;
    SequenceListKind kind_;

private:
    // The modified question before moving; false when the move must not happen.
    bool mayLeaveEntry();

    int index_ = 0;
    bool applyEnabled_ = false;
    bool loading_ = false;
};

} // namespace corvane
