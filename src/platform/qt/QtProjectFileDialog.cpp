#include "platform/qt/QtProjectFileDialog.h"

#include <QFileDialog>
#include <QStringList>

namespace corvane {

std::string QtProjectFileDialog::askForProjectFile(const std::string& title, const std::string& startPath,
                                                   bool save, int& filter) {
    if (replacement_) {
        return replacement_(title, startPath, save, filter);
    }
    QStringList filters;
    if (save) {
        filters << "Corvane Project File (*.ptp)"
                << "Corvane V1.6 Project File (*.ptp)"
                << "Corvane V1.3-V1.5 Project File (*.ptp)";
    } else {
        filters << "Corvane Project Files (*.ptp)";
    }
    QFileDialog dialog(parent_, QString::fromStdString(title), QString::fromStdString(startPath));
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix("ptp");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    filter = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    if (filter < 0) {
        filter = 0;
    }
    return dialog.selectedFiles().first().toStdString();
}

} // namespace corvane
