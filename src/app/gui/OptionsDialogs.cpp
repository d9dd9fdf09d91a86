#include "app/gui/OptionsDialogs.h"

#include "app/control/LogFileDialogModel.h"
#include "app/control/MainController.h"
#include "app/control/ProgramContext.h"
#include "app/gui/frmEditHTMLHeader.h"
#include "app/gui/frmOptions.h"

#include <QDialog>

namespace corvane {

OptionsDialogs::OptionsDialogs(QWidget& window, ProgramContext& context, MainController& controller,
                               std::function<void()> updateAfterOptionsChanged)
    : window_(window), context_(context), updateAfterOptionsChanged_(std::move(updateAfterOptionsChanged)) {
    browse_ = [this](const std::string& title, const std::string& filter, const std::string& start) {
        return frmSaveLogFileDlg::browseWithFileDialog(&window_, title, filter, start);
    };
    commands_ = std::make_unique<OptionsCommands>(context, controller.communication(), controller.project(),
                                                  controller.commands(), *this);
}

OptionsDialogs::~OptionsDialogs() = default;

bool OptionsDialogs::run(QDialog& dialog) {
    if (runner_) {
        return runner_(dialog);
    }
    return dialog.exec() == QDialog::Accepted;
}

bool OptionsDialogs::runOptionsDialog(OptionsDialogModel& model, OptionsTab tab) {
    frmOptions dialog(model, tab, &window_);
    return run(dialog);
}

bool OptionsDialogs::runLogFileDialog(LogFileDialogModel& model) {
    frmSaveLogFileDlg dialog(
        model, browse_, [this] { editHtmlTemplates(); }, &window_);
    return run(dialog);
}

bool OptionsDialogs::editHtmlTemplates() {
    HtmlTemplateEditorModel model(context_.settings, [this] { commands_->saveAllSettings(); });
    frmEditHTMLHeader dialog(model, &window_);
    return run(dialog);
}

void OptionsDialogs::updateAfterOptionsChanged() {
    if (updateAfterOptionsChanged_) {
        updateAfterOptionsChanged_();
    }
}

} // namespace corvane
