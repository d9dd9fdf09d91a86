#pragma once

#include "app/control/SequenceEditor.h"

#include <string>

namespace corvane {

// The logic of "Edit Send Sequence" (frmEditAction): one entry of the send list at a time with its
// name, characters and periodic repeat. Applying checks the interval, asks before a sequence that
// receive sequences answer with gets wildcards, adds an entry from the blank slot and deletes an
// entry whose name and characters were both cleared.
class SendSequenceEditor : public SequenceEditor {
public:
    static constexpr const char* kIllegalValue = "Illegal value. Please correct.";
    static constexpr int kWildcardHelpTopic = 21;

    // decimalSeparator: the locale's, used to read and write the interval.
    SendSequenceEditor(ProgramContext& context, SequenceEditorView& view, SendSequenceFieldsView& fields,
                       SequenceEditorHooks hooks, std::string decimalSeparator);

    // The repeat box changed: the interval box follows it.
    void repeatChanged();
    // The interval box lost the focus: a wrong value is corrected and reported.
    bool intervalLeft();

    static std::string wildcardQuestion();

protected:
    bool applyEntry(int index) override;
    void showFields(int index) override;
    std::string deleteQuestion(int index) override;

private:
    // Checks the interval box; a wrong value is corrected and reported.
    bool checkInterval(double& seconds);
    bool storeEntry(int index, const ClSequence& sequence, double seconds);

    SendSequenceFieldsView& sendView_;
    std::string decimalSeparator_;
};

} // namespace corvane
