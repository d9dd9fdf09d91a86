#pragma once

#include "communication/SendSequenceParameterDialog.h"
#include "sequences/CharacterCode.h"

#include <functional>

class QWidget;

namespace corvane {

class HelpSystem;
class frmSendSequenceParameter;
class modSequenceManagement;
struct ProgramSettingsData;

// The send processing's parameter dialog in the window program: frmSendSequenceParameter, shown
// modally over the main window for each send sequence with wildcards.
class SendSequenceParameterPrompt : public SendSequenceParameterDialog {
public:
    SendSequenceParameterPrompt(ProgramSettingsData& settings, modSequenceManagement& lists, HelpSystem* help,
                                QWidget* parent, std::function<void(Representation)> displayModeChanged);

    bool askParameters(const ClSequence& original, ClSequence& expanded) override;

    // Runs instead of the dialog's own event loop (tests type into the dialog and close it).
    void setRunner(std::function<void(frmSendSequenceParameter&)> runner) { runner_ = std::move(runner); }

private:
    ProgramSettingsData& settings_;
    modSequenceManagement& lists_;
    HelpSystem* help_;
    QWidget* parent_;
    std::function<void(Representation)> displayModeChanged_;
    std::function<void(frmSendSequenceParameter&)> runner_;
};

} // namespace corvane
