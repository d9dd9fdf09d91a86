#pragma once

#include "app/control/OptionsCommands.h"
#include "app/gui/frmSaveLogFileDlg.h"

#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace corvane {

class MainController;
class ProgramState;
struct ProgramContext;

// The main window's options dialog, log file dialog and HTML template editor: it builds them for
// the options commands, which it registers ("Options", "Options2", "LogStart"). Tests replace the
// modal run of a dialog and the browse dialog.
class OptionsDialogs : public OptionsDialogsView {
public:
    // Runs a dialog modally; true on OK. QDialog::exec unless replaced.
    using DialogRunner = std::function<bool(QDialog& dialog)>;

    OptionsDialogs(QWidget& window, ProgramContext& context, MainController& controller,
                   std::function<void()> updateAfterOptionsChanged);
    ~OptionsDialogs() override;

    OptionsCommands& commands() { return *commands_; }
    void setDialogRunner(DialogRunner runner) { runner_ = std::move(runner); }
    void setBrowseDialog(frmSaveLogFileDlg::BrowseDialog browse) { browse_ = std::move(browse); }

    // "Customize HTML Output", from the log file dialog's link.
    bool editHtmlTemplates();

    // OptionsDialogsView.
    bool runOptionsDialog(OptionsDialogModel& model, OptionsTab tab) override;
    bool runLogFileDialog(LogFileDialogModel& model) override;
    void updateAfterOptionsChanged() override;

private:
    bool run(QDialog& dialog);

    QWidget& window_;
    ProgramContext& context_;
    std::function<void()> updateAfterOptionsChanged_;
    DialogRunner runner_;
    frmSaveLogFileDlg::BrowseDialog browse_;
    std::unique_ptr<OptionsCommands> commands_;
};

} // namespace corvane
