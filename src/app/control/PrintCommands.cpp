#include "app/control/PrintCommands.h"

#include "app/control/MainWindowView.h"
#include "app/control/ProgramContext.h"
#include "display/ClMyPrinter.h"
#include "display/ProjectListing.h"
#include "persistence/ProgramSettingsData.h"
#include "persistence/ProjectIdentity.h"
#include "platform/ApplicationInfo.h"
#include "platform/NotepadCompanion.h"

#include <algorithm>

namespace corvane {

void PrintCommands::printProject(PrintDevice& device, const std::string& date, char decimalSeparator,
                                 const std::function<void(ClMyPrinter&)>& printNotes) {
    ClMyPrinter printer(device);
    if (!printer.setup()) {
        return;
    }
    view_.setWaitCursor(true);
    const ProjectIdentity& project = context_.current;
    const ProjectListingInput input{
        date,
        applicationTitle(),
        project.baseName.empty() ? std::string() : project.projectFilePath(),
        context_.communicationSettings,
        context_.lists.sendList(),
        context_.lists.receiveList(),
        static_cast<Representation>(std::clamp(context_.settings.dispSequListRepresentation, 0, 3)),
        decimalSeparator};
    printProjectListing(printer, projectListingLines(input),
                        context_.notepad.IsEmpty() ? nullptr : printNotes);
    view_.setWaitCursor(false);
}

void PrintCommands::printCommunication(PrintDevice& device, bool hasSelection,
                                       const std::function<void(bool)>& printWindow) {
    PrintDialogOptions options;
    options.selectionOffered = hasSelection;
    PrintDialogChoice choice;
    if (!device.showPrintDialog(options, choice)) {
        return;
    }
    printWindow(hasSelection && choice.selectionOnly);
}

} // namespace corvane
