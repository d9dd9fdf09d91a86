#include "app/gui/SendSequenceParameterPrompt.h"

#include "app/gui/frmSendSequenceParameter.h"

namespace corvane {

SendSequenceParameterPrompt::SendSequenceParameterPrompt(
    ProgramSettingsData& settings, modSequenceManagement& lists, HelpSystem* help, QWidget* parent,
    std::function<void(Representation)> displayModeChanged)
    : settings_(settings), lists_(lists), help_(help), parent_(parent),
      displayModeChanged_(std::move(displayModeChanged)) {}

bool SendSequenceParameterPrompt::askParameters(const ClSequence& original, ClSequence& expanded) {
    frmSendSequenceParameter dialog(settings_, lists_, help_, displayModeChanged_, parent_);
    dialog.setOriginalSeq(original);
    if (runner_) {
        dialog.show();
        runner_(dialog);
        if (dialog.isVisible()) {
            dialog.reject();
        }
    } else {
        dialog.exec();
    }
    if (!dialog.success()) {
        return false;
    }
    expanded.copyFrom(dialog.expandedSeq());
    return true;
}

} // namespace corvane
